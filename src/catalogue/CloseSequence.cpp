#include "catalogue/CloseSequence.h"

#include "catalogue/DatabaseCommands.h"
#include "catalogue/PageChange.h"

namespace tonvault::catalogue {

namespace {
void EndTransferWaits(Application& app) {
  app.transferToPlayerInProgress = false;
  app.transferFromPlayerInProgress = false;
}
}  // namespace

bool CloseQuery(Application& app) {
  if (!app.catalogueModified || app.files.empty() || app.options.dontAskForSaveOnExit) return true;
  switch (Ask(app.frontend, Sound::Asterisk, MessageKind::Warning, kNotSavedQuestion,
              {Button::Yes, Button::No, Button::Cancel})) {
    case Button::Yes:
      SaveDatabase(app);
      return !app.catalogueModified;
    case Button::No:
      return true;
    default:
      EndTransferWaits(app);
      ChangePage(app, Page::Files);
      return false;
  }
}

void OnClose(Application& app) { EndTransferWaits(app); }

}  // namespace tonvault::catalogue
