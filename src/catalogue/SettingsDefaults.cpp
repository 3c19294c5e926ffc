#include "catalogue/SettingsDefaults.h"

#include <algorithm>

#include "catalogue/SettingKeys.h"

namespace tonvault::catalogue {

bool RestoreDefaults(Application& app, ScreenSize screen) {
  if (Ask(app.frontend, Sound::Question, MessageKind::Confirmation, kDefaultsQuestion, {Button::Yes, Button::No}) !=
      Button::Yes) {
    return false;
  }
  Options reset = app.options;
  ApplyDefaultsButtonValues(reset);
  reset.window.width = kDefaultWindowWidth;
  reset.window.height = kDefaultWindowHeight;
  reset.window.left = std::max(0, (screen.width - kDefaultWindowWidth) / 2);
  reset.window.top = std::max(0, (screen.height - kDefaultWindowHeight) / 2);
  reset.columns = ColumnLayout();
  const PrintOptions firstRows;
  reset.print.filesOrder = firstRows.filesOrder;
  reset.print.viewsOrder = firstRows.viewsOrder;
  app.options = std::move(reset);
  UseLegacyCodePage(app.options.id3);
  app.columnMap = ColumnMap();
  app.deviceKind = 0;
  app.catalogueModified = false;
  return true;
}

}  // namespace tonvault::catalogue
