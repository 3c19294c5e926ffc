#pragma once

#include "catalogue/Application.h"
#include "catalogue/IniFile.h"

namespace tonvault::catalogue {

struct ScreenSize {
  int width = 1920, height = 1080;
};

// Applies the settings file to the options, folders, recent list and
// column layout, in the order of the key table. A print-order column number
// that is not a number, a spin value outside the 16-bit range or a player
// column width below -2 ends the read at that point; what was read before
// stays. A missing key, or another malformed number, gives the key's
// missing value. Keeps `ini` in `app.settingsAsRead` so that writing loses
// no unknown key.
void ReadSettings(const IniFile& ini, Application& app, ScreenSize screen);

// The settings file for the current state: the file as read, with every
// key of the table set from `app`, the recent list rewritten from the top
// and the obsolete section "WAV" removed.
IniFile WriteSettings(const Application& app);

}  // namespace tonvault::catalogue
