#pragma once

#include <string>

#include "device/DeviceTypes.h"

namespace tonvault::device {

// What a track's own file says about it: the tags (ID3v2 before ID3v1 for
// MPEG files, the header of a WMA or WAV file), the codec by the extension
// and the size. A title-less file is named by its file name.
AudioInfo ReadFileAudioInfo(const std::string& path);

// True for the extensions a player plays (.mp3 .mp2 .wma .wav, any case).
bool IsAudioFileName(const std::string& name);

// A name a player's file system can hold: separators, control characters
// and the characters Windows file systems refuse become '_', leading dots
// and blanks are dropped (no hidden files, no ".."), and an empty result
// becomes `fallback`.
std::string SafeFileName(const std::string& name, const std::string& fallback);

}  // namespace tonvault::device
