#pragma once

#include <optional>
#include <string>

#include "audio/MediaHeader.h"

namespace tonvault::audio {

// Reads a WMA or WAV file's header, chosen by the file's extension in lower
// case (".wma", ".wav"); nothing for other files.
std::optional<MediaHeader> ReadMediaHeader(const std::string& path);

}  // namespace tonvault::audio
