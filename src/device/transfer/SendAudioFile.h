#pragma once

#include <cstddef>
#include <string>

#include "device/DeviceTypes.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// Sends one audio file with its metadata to the player, showing its state
// in row `row` of the window: builds a stale track table first, applies the
// " Existing Files " policy to a track with the same artist, title and
// album, and tries up to three times when "Modify \"copy resistant\"
// tracks" is on (the file grows by 8 bytes before each retry). True when
// the file is on the player; then the table knows the new track.
bool SendAudioFile(TransferContext& context, const std::string& path, AudioInfo info, std::size_t row);

}  // namespace tonvault::device
