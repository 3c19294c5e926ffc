#include <iostream>

#include "catalogue/DatabaseCommands.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/RowJson.h"

namespace tonvault::cli {

// tonvault-cli cat CATALOGUE.tvd...: the rows of catalogue files as JSON
// lines, read by the same reader as the window's "Open database".
int CatCommand(const Arguments& arguments) {
  if (arguments.empty()) {
    std::cerr << "Usage: tonvault-cli cat CATALOGUE.tvd...\n";
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  ConsoleFrontend& frontend = session.frontend;
  int status = 0;
  for (const std::string& path : arguments) {
    app.files.clear();
    if (!catalogue::ReadDatabase(app, path, false)) status = 1;
    frontend.FinishProgressLine();
    for (const catalogue::TrackRecord& row : app.files) std::cout << RowJson(row, app.columnMap) << '\n';
  }
  return status;
}

}  // namespace tonvault::cli
