#pragma once

#include <cstddef>
#include <string>

#include "device/content/DeviceTrackTable.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// Copies track (or data file) `id` from the player to `target`, showing its
// state in row `row`. An existing target is handled by the " Existing
// Files " policy of the transfer from the player. The file arrives under a
// hidden, unguessable name in the target's folder (created there by the
// player, never through a link) and takes its name only when it is
// complete (an audio file with its tags updated), so a failed or stopped
// receive leaves no partial file and an old file whole. An old file is
// replaced by writing the new content over it as every writer of the
// program does (a link stays a link, hard links and permissions stay).
// Leftovers of receives that were killed are removed first (see
// RemoveStaleReceivingFiles). True on success, with `stateText` "Done" or
// "Replaced".
bool ReceiveFile(TransferContext& context, int id, const std::string& target, bool isAudio, std::size_t row,
                 const DeviceTrack& data, std::string& stateText);

// Removes from `folder` the receiving files of receives whose process no
// longer runs (their names carry its ID), and the temporary files their tag
// update left beside them. Only regular files of the effective user with a
// single name are taken, and no link is followed: in a shared folder a name
// of that form may be anyone's. Returns how many receiving files went.
int RemoveStaleReceivingFiles(const std::string& folder);

}  // namespace tonvault::device
