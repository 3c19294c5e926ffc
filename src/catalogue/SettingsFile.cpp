#include "catalogue/SettingsFile.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tonvault::catalogue {

namespace fs = std::filesystem;

std::string SettingsFilePath(const std::string& programFolder) {
  const std::string beside = programFolder + "Tonvault.ini";
  if (access(beside.c_str(), W_OK) == 0) return beside;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string config = xdg != nullptr && *xdg == '/' ? std::string(xdg) + "/" : HomeFolder() + ".config/";
  return config + "tonvault/Tonvault.ini";
}

bool LoadSettings(Application& app, const std::string& path, ScreenSize screen) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  ReadSettings(IniFile::Parse(text.str()), app, screen);
  return true;
}

void WarnSettingsMissing(Application& app) {
  Ask(app.frontend, Sound::Asterisk, MessageKind::Warning, kSettingsMissing, {Button::Ok});
}

std::optional<std::string> SaveSettings(const Application& app, const std::string& path, const WriteFault* fault) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  if (error) return error.message();
  return WriteFileAtomically(path, WriteSettings(app).Text(), fault);
}

bool WriteSettingsFile(Application& app, const std::string& path) {
  const auto error = SaveSettings(app, path);
  if (error) {
    Ask(app.frontend, Sound::Hand, MessageKind::Error,
        "Cannot write the settings file\n\r\"" + path + "\"\n\r" + *error, {Button::Ok});
  }
  return !error;
}

}  // namespace tonvault::catalogue
