#pragma once

#include <string>

#include "audio/ByteSource.h"

namespace tonvault::audio {

// True when the bytes look like an MPEG audio file, so a tag writer may
// change them: no signature of another container (RIFF/WAV, ASF/WMA, FLAC,
// Ogg, AIFF, MP4) at the start or right after an ID3v2 tag, and two valid
// frame headers in a row (or one that ends the file) within the first
// bytes after the tag. A WAV or WMA file holds byte pairs that look like a
// frame sync; cutting the file there would destroy it.
bool LooksLikeMpegAudio(ByteSource& source);

// The message for a file a tag writer refuses for that reason.
std::string NotMpegAudioText(const std::string& fileName);

}  // namespace tonvault::audio
