#pragma once

#include <optional>
#include <string>

#include "catalogue/Application.h"
#include "catalogue/SafeWrite.h"
#include "catalogue/Settings.h"

namespace tonvault::catalogue {

inline constexpr const char* kSettingsMissing = "\"Tonvault.ini\" not found !\n\r\rUsing defaults.";

// Where the settings live: a writable "Tonvault.ini" beside the program
// (portable use) wins; otherwise "tonvault/Tonvault.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string SettingsFilePath(const std::string& programFolder);

// Reads the settings file at `path` into `app`; returns false when there is
// none, and every option keeps its start value.
bool LoadSettings(Application& app, const std::string& path, ScreenSize screen);

// Tells the user that no settings file was found, with the asterisk sound.
void WarnSettingsMissing(Application& app);

// Writes the settings at close; a failure is shown with the file's name and
// the system's reason. Returns true when the file was written.
bool WriteSettingsFile(Application& app, const std::string& path);

// Writes the settings of `app` to `path`, creating its folder, so that the
// old file stays whole until the new one is complete. Returns the error.
std::optional<std::string> SaveSettings(const Application& app, const std::string& path,
                                        const WriteFault* fault = nullptr);

}  // namespace tonvault::catalogue
