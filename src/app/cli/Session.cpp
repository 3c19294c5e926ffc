#include "cli/Session.h"

#include "catalogue/DatabaseCommands.h"

namespace tonvault::cli {

bool Session::Load(const std::string& path) {
  const bool ok = catalogue::ReadDatabase(app, path, false);
  frontend.FinishProgressLine();
  return ok;
}

}  // namespace tonvault::cli
