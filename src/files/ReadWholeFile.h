#pragma once

#include <cstddef>
#include <string>

#include "files/FileError.h"

namespace tonvault::files {

// Reads a whole regular file (a catalogue, the settings, a playlist) into
// `content`. A FIFO or device is refused without blocking; a file larger
// than `limit` bytes is refused rather than exhausting memory.
FileStatus ReadWholeFile(const std::string& path, std::string& content,
                         std::size_t limit = static_cast<std::size_t>(1) << 34);

// The same for a regular file open at `descriptor`, read from its start.
FileStatus ReadWholeDescriptor(int descriptor, std::string& content,
                               std::size_t limit = static_cast<std::size_t>(1) << 34);

}  // namespace tonvault::files
