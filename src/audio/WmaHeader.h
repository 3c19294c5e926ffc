#pragma once

#include <string>

#include "audio/ByteSource.h"
#include "audio/MediaHeader.h"

namespace tonvault::audio {

// Reads a Windows Media Audio file's values by searching its first 4096
// bytes for known UTF-16 texts (codec description, attribute names) and the
// content description object. Each key text is matched as its UTF-16LE byte
// pattern at any byte offset and its value read from that same offset, so
// text of either byte alignment reads correctly. When the bitrate or sample
// rate is not found there, the whole ASF header object (at most 1 MB) is
// searched, and then the audio stream's format record is used.
MediaHeader ReadWmaHeader(ByteSource* source);
MediaHeader ReadWmaHeader(const std::string& path);

}  // namespace tonvault::audio
