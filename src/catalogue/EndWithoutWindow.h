#pragma once

#include <string>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

inline constexpr const char* kRecoveryFileName = "Tonvault-recovered.tvd";

// Ends the program when the system asks it to (log-out, shutdown, kill),
// with nobody there to answer questions: unsaved FILES go to a recovery
// catalogue beside the settings file, which then heads the recent list, and
// the settings are written. Returns the recovery catalogue's path, or an
// empty text when nothing needed saving or it could not be written.
std::string EndWithoutWindow(Application& app, const std::string& settingsPath);

// The answer given in place of the user once the program is ending: a
// running long operation is stopped, and every other question gets its
// most careful answer (No, else Cancel), so nothing is overwritten or
// deleted on the way out.
Button AnswerWhileEnding(const std::string& text, const Buttons& buttons);

}  // namespace tonvault::catalogue
