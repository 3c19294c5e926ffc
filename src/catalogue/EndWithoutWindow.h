#pragma once

#include <ctime>
#include <string>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Recovery catalogues are "Tonvault-recovered-YYYYMMDD-HHMMSS.tvd" (local
// time of writing) in the settings folder.
inline constexpr const char* kRecoveryFilePrefix = "Tonvault-recovered";

// The name for a recovery catalogue written at `now` in `folder`. A name
// that is taken (another copy of the program ended in the same second) gets
// "-2", "-3", ..., so no recovery catalogue ever replaces another.
std::string RecoveryFilePath(const std::string& folder, std::time_t now);

// Adds every recovery catalogue in `folder` that the recent list lacks,
// oldest first, so that each one (also those another running copy wrote)
// stays reachable from the File menu. Entries already listed keep their
// place.
void ListRecoveryCatalogues(Application& app, const std::string& folder);

// Ends the program when the system asks it to (log-out, shutdown, kill),
// with nobody there to answer questions: unsaved FILES go to a recovery
// catalogue of its own beside the settings file, which then heads the
// recent list, and the settings are written. Returns the recovery
// catalogue's path, or an empty text when nothing needed saving or it could
// not be written.
std::string EndWithoutWindow(Application& app, const std::string& settingsPath, std::time_t now = std::time(nullptr));

// The answer given in place of the user once the program is ending: a
// running long operation is stopped, and every other question gets its
// most careful answer (No, else Cancel), so nothing is overwritten or
// deleted on the way out.
Button AnswerWhileEnding(const std::string& text, const Buttons& buttons);

}  // namespace tonvault::catalogue
