#include "catalogue/SettingsDefaults.h"

#include <algorithm>

#include "catalogue/LaterSettings.h"

namespace tonvault::catalogue {

namespace {
constexpr int kDefaultWidth = 872;
constexpr int kDefaultHeight = 758;
}  // namespace

bool RestoreDefaults(Application& app, ScreenSize screen) {
  if (Ask(app.frontend, Sound::Question, MessageKind::Confirmation, kDefaultsQuestion, {Button::Yes, Button::No}) !=
      Button::Yes) {
    return false;
  }
  Options defaults;
  defaults.search = app.options.search;
  defaults.duplicate = app.options.duplicate;
  defaults.window.width = kDefaultWidth;
  defaults.window.height = kDefaultHeight;
  defaults.window.left = std::max(0, (screen.width - kDefaultWidth) / 2);
  defaults.window.top = std::max(0, (screen.height - kDefaultHeight) / 2);
  app.options = std::move(defaults);
  app.columnMap = ColumnMap();
  ResetLaterSettings(app.settingsAsRead);
  app.deviceKind = 0;
  app.catalogueModified = false;
  return true;
}

}  // namespace tonvault::catalogue
