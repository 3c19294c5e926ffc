#include "catalogue/EndWithoutWindow.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "catalogue/DatabaseFormat.h"
#include "catalogue/LongOperation.h"
#include "files/ReplaceFile.h"
#include "catalogue/SettingsFile.h"

namespace tonvault::catalogue {

std::string RecoveryFilePath(const std::string& folder, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::filesystem::path base = std::filesystem::path(folder) / (std::string(kRecoveryFilePrefix) + "-" + stamp);
  std::string path = base.string() + ".tvd";
  std::error_code error;
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(path, error)); ++n) {
    path = base.string() + "-" + std::to_string(n) + ".tvd";
  }
  return path;
}

void ListRecoveryCatalogues(Application& app, const std::string& folder) {
  struct Found {
    std::filesystem::file_time_type written;
    std::string path;
  };
  std::vector<Found> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kRecoveryFilePrefix, 0) != 0 || !name.ends_with(".tvd")) continue;
    std::error_code ignored;
    if (!entry.is_regular_file(ignored)) continue;
    found.push_back({entry.last_write_time(ignored), entry.path().string()});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.written != b.written ? a.written < b.written : a.path < b.path;
  });
  const auto& listed = app.recentDatabases.Entries();
  for (const Found& file : found) {
    if (std::find(listed.begin(), listed.end(), file.path) == listed.end()) app.recentDatabases.Add(file.path);
  }
}

std::string EndWithoutWindow(Application& app, const std::string& settingsPath, std::time_t now) {
  std::string recovered;
  const auto folder = std::filesystem::path(settingsPath).parent_path();
  ListRecoveryCatalogues(app, folder.string());
  if (app.catalogueModified && !app.files.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = RecoveryFilePath(folder.string(), now);
    if (!files::WriteWholeFile(path, EncodeDatabase(app.files, app.columnMap))) {
      app.recentDatabases.Add(path);
      recovered = path;
    }
  }
  SaveSettings(app, settingsPath);
  return recovered;
}

Button AnswerWhileEnding(const std::string& text, const Buttons& buttons) {
  const auto offers = [&](Button b) { return std::find(buttons.begin(), buttons.end(), b) != buttons.end(); };
  if (text == kStopQuestion && offers(Button::Yes)) return Button::Yes;
  for (Button careful : {Button::No, Button::Cancel}) {
    if (offers(careful)) return careful;
  }
  return buttons.empty() ? Button::Ok : buttons.front();
}

}  // namespace tonvault::catalogue
