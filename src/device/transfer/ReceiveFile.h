#pragma once

#include <cstddef>
#include <string>

#include "device/content/DeviceTrackTable.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// Copies track (or data file) `id` from the player to `target`, showing its
// state in row `row`. An existing target is handled by the " Existing
// Files " policy of the transfer from the player. The file arrives under a
// temporary name in the target's folder and takes its name only when it is
// complete (an audio file with its tags updated), so a failed or stopped
// receive leaves no partial file and an old file whole. True on success,
// with `stateText` "Done" or "Replaced".
bool ReceiveFile(TransferContext& context, int id, const std::string& target, bool isAudio, std::size_t row,
                 const DeviceTrack& data, std::string& stateText);

}  // namespace tonvault::device
