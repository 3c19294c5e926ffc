#pragma once

#include <optional>
#include <string>

#include "catalogue/Application.h"
#include "catalogue/Settings.h"
#include "files/ReplaceFile.h"

namespace tonvault::catalogue {

inline constexpr const char* kSettingsMissing = "\"Tonvault.ini\" not found !\n\r\rUsing defaults.";

// Where the settings live: a writable "Tonvault.ini" beside the program
// (portable use) wins; otherwise "tonvault/Tonvault.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string SettingsFilePath(const std::string& programFolder);

enum class SettingsRead { Read, Missing, Unreadable };

// Reads the settings file at `path` into `app`. When there is none, or it
// cannot be read, every option keeps its start value; a file that exists
// but cannot be read is marked in `app` so that it is never overwritten.
SettingsRead LoadSettings(Application& app, const std::string& path, ScreenSize screen);

// Tells the user that no settings file was found, with the asterisk sound.
void WarnSettingsMissing(Application& app);

// Tells the user that the settings file exists but cannot be read, why,
// and that it stays as it is.
void WarnSettingsUnreadable(Application& app, const std::string& path);
std::string SettingsUnreadableText(const std::string& path, const std::string& reason);

// Writes the settings at close; a failure is shown with the file's name and
// the system's reason. Returns true when the file was written. A file that
// could not be read at start-up is not written (the user was told then).
bool WriteSettingsFile(Application& app, const std::string& path);

// Writes the settings of `app` to `path`, creating its folder, so that the
// old file stays whole until the new one is complete. Returns the error.
std::optional<std::string> SaveSettings(const Application& app, const std::string& path,
                                        const files::WriteFault* fault = nullptr);

}  // namespace tonvault::catalogue
