#include "catalogue/PendingCommands.h"

namespace tonvault::catalogue {

std::string NotAvailableText(const std::string& what) { return what + " is not available in this version"; }

bool WriteDatabase(Application& app, const std::string&, const std::vector<TrackRecord>&) {
  app.frontend.SetStatusPanel(0, NotAvailableText("Saving catalogue files"));
  return false;
}

bool ReadDatabase(Application& app, const std::string&, bool) {
  app.frontend.SetStatusPanel(0, NotAvailableText("Opening catalogue files"));
  return false;
}

}  // namespace tonvault::catalogue
