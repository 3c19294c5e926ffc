#pragma once

#include <cstdint>
#include <string>

#include "catalogue/Frontend.h"

namespace tonvault::device {

// Makes a file the player rejected look different to it: 8 bytes (0 to 7)
// go after the audio, before an ID3v1 tag, which stays the last 128 bytes.
// The changed file is written beside the original and renamed over it, so
// an interruption leaves the old file or the new one, never a damaged one.
// Returns the new size, or 0 after telling the user it could not be written.
std::int64_t ModifyCopyResistant(const std::string& path, catalogue::Frontend& frontend);

// The message when the file cannot be changed.
std::string CannotWriteFileMessage(const std::string& path);

}  // namespace tonvault::device
