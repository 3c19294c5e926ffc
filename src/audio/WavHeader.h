#pragma once

#include <string>

#include "audio/ByteSource.h"
#include "audio/MediaHeader.h"

namespace tonvault::audio {

// Finds "WAVEfmt " in the first 4096 bytes and reads channels, sample rate
// and byte rate from the format chunk after it.
MediaHeader ReadWavHeader(ByteSource* source);
MediaHeader ReadWavHeader(const std::string& path);

// "Mono", "Stereo" or n + " Channels".
std::string ChannelsText(int channels);

}  // namespace tonvault::audio
