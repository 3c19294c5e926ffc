#pragma once

#include "catalogue/Application.h"
#include "catalogue/Settings.h"

namespace tonvault::catalogue {

// The window size of a first start and of the Defaults button.
inline constexpr int kDefaultWindowWidth = 872;
inline constexpr int kDefaultWindowHeight = 758;

inline constexpr const char* kDefaultsQuestion =
    "After setting defaults\n\rTonvault will close\n\rwithout saving the list.\n\r\r\rContinue ?";

// The "&Defaults" button: after the user agrees, every option except the
// search and duplicate options returns to its default, the FILES and
// RESULTS columns to their first layout, the window to 872 x 758 in the
// middle of the screen; the list is marked saved so that the program can
// close without asking. Returns true when the program is to close now.
bool RestoreDefaults(Application& app, ScreenSize screen);

}  // namespace tonvault::catalogue
