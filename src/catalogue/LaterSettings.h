#pragma once

#include <string_view>

#include "catalogue/IniFile.h"

namespace tonvault::catalogue {

// The settings of the player, playlist, renaming and repair features, which
// this version stores but does not use yet. Each key has three values: the
// start value of a fresh program, the value a key missing from an existing
// file reads as, and the value of the "&Defaults" button. They are kept as
// text in the file as read, normalised by the same rules as the other keys.

// Sets every such key to its start value; the read then overwrites what the
// file holds, so keys after a value that ends the read keep the start value.
void SetLaterSettingsToStartValues(IniFile& stored);

// Reads the keys of `section` from `file` into `stored` by the reader's
// rules. Returns false when a value ends the whole read (a spin value
// outside the 16-bit range, a player column width below -2).
bool ReadLaterSection(const IniFile& file, IniFile& stored, std::string_view section);

// Adds, where missing, every such key with its start value, so that the
// settings file is complete from the first run on.
void AddMissingLaterSettings(IniFile& ini);

// Sets every such key to its "&Defaults" button value.
void ResetLaterSettings(IniFile& ini);

}  // namespace tonvault::catalogue
