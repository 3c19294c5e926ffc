#pragma once

#include <string>

#include "catalogue/Options.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// The three states of the " Update ID3 - Tags " boxes, as the settings keep them.
enum class TagUpdate { Off = 0, IfExisting = 1, Create = 2 };

// The caption of an update box for tag `version` (1 or 2) in `state`.
std::string TagUpdateCaption(int version, int state);

// Fills the ID3 tags of a received MP3 file (`extensionOf` names the file
// as it will be called; only a name whose extension holds ".mp" is
// touched) with the player's data: per version not at all, only a tag that
// exists, or creating a missing one.
void UpdateReceivedTags(const std::string& path, const std::string& extensionOf, const DeviceTrack& data,
                        const catalogue::Options& options);

}  // namespace tonvault::device
