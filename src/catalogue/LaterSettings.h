#pragma once

#include "catalogue/IniFile.h"

namespace tonvault::catalogue {

// Adds, where missing, the keys of the player, playlist, renaming and repair
// settings with their start values, so that the settings file is complete
// from the first run on. Keys already present are left as they are.
void AddMissingLaterSettings(IniFile& ini);

// Sets those keys to the values the "&Defaults" button gives them, which
// differ from the start values in a few places.
void ResetLaterSettings(IniFile& ini);

}  // namespace tonvault::catalogue
