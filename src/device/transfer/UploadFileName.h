#pragma once

#include <string>

#include "catalogue/Options.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// The file a track from the player is saved as, in `folder` (ending with
// the separator): the player's file name, or with `options.upload.renaming`
// a name built from the track's data by the renaming items. A name holding
// "<unknown>" (any case) is cut there and completed with the title and the
// codec's extension; a name without extension gets them appended. Whatever
// the player says, the result names a file directly inside `folder`.
std::string UploadFileName(const std::string& folder, const DeviceTrack& data, const catalogue::Options& options);

}  // namespace tonvault::device
