#include "catalogue/EndWithoutWindow.h"

#include <filesystem>

#include <algorithm>

#include "catalogue/DatabaseFormat.h"
#include "catalogue/LongOperation.h"
#include "files/ReplaceFile.h"
#include "catalogue/SettingsFile.h"

namespace tonvault::catalogue {

std::string EndWithoutWindow(Application& app, const std::string& settingsPath) {
  std::string recovered;
  if (app.catalogueModified && !app.files.empty()) {
    const auto folder = std::filesystem::path(settingsPath).parent_path();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / kRecoveryFileName).string();
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
