#include "catalogue/SettingsFile.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "files/ReadWholeFile.h"
#include "files/ReplaceFile.h"

namespace tonvault::catalogue {

namespace fs = std::filesystem;

std::string SettingsFilePath(const std::string& programFolder) {
  const std::string beside = programFolder + "Tonvault.ini";
  if (access(beside.c_str(), W_OK) == 0) return beside;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string config = xdg != nullptr && *xdg == '/' ? std::string(xdg) + "/" : HomeFolder() + ".config/";
  return config + "tonvault/Tonvault.ini";
}

SettingsRead LoadSettings(Application& app, const std::string& path, ScreenSize screen) {
  app.settingsUnreadable = false;
  std::string text;
  if (const files::FileStatus error = files::ReadWholeFile(path, text)) {
    if (error->failure == files::Failure::NotFound) return SettingsRead::Missing;
    // The user's settings are there but out of reach (permissions, a folder
    // of that name, a read error): run on the start values and leave the
    // file alone, so nothing the user set is overwritten at exit.
    app.settingsUnreadable = true;
    app.settingsReadError = error->Text();
    return SettingsRead::Unreadable;
  }
  ReadSettings(IniFile::Parse(text), app, screen);
  return SettingsRead::Read;
}

void WarnSettingsMissing(Application& app) {
  Ask(app.frontend, Sound::Asterisk, MessageKind::Warning, kSettingsMissing, {Button::Ok});
}

void WarnSettingsUnreadable(Application& app, const std::string& path) {
  Ask(app.frontend, Sound::Exclamation, MessageKind::Warning, SettingsUnreadableText(path, app.settingsReadError),
      {Button::Ok});
}

std::string SettingsUnreadableText(const std::string& path, const std::string& reason) {
  return "Cannot read the settings file\n\r\"" + path + "\"\n\r" + reason +
         "\n\r\rUsing defaults. The file is left as it is.";
}

std::optional<std::string> SaveSettings(const Application& app, const std::string& path, const files::WriteFault* fault) {
  if (app.settingsUnreadable) return "The file could not be read at start-up and is left as it is";
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  if (error) return error.message();
  if (const auto failed = files::WriteWholeFile(path, WriteSettings(app).Text(), fault)) return failed->Text();
  return std::nullopt;
}

bool WriteSettingsFile(Application& app, const std::string& path) {
  if (app.settingsUnreadable) return false;  // said once at start-up
  const auto error = SaveSettings(app, path);
  if (error) {
    Ask(app.frontend, Sound::Hand, MessageKind::Error,
        "Cannot write the settings file\n\r\"" + path + "\"\n\r" + *error, {Button::Ok});
  }
  return !error;
}

}  // namespace tonvault::catalogue
