#pragma once

#include <QWidget>

#include "catalogue/Options.h"
#include "catalogue/Settings.h"

namespace tonvault::ui {

// The size of the screen the window opens on, for keeping it visible.
catalogue::ScreenSize PrimaryScreenSize();

// The first place of the window, before any settings apply: the default
// size 872 x 758 (no larger than the screen's free area) centred on it.
void PlaceAtDefault(QWidget& window);

// Places the window where the settings say, when they know a place.
void ApplyWindowOptions(QWidget& window, const catalogue::WindowOptions& options);

// Records the window's place for the settings. A maximized window records
// its normal-state bounds, so that it restores to a usable size next time.
void StoreWindowOptions(const QWidget& window, catalogue::WindowOptions& options);

}  // namespace tonvault::ui
