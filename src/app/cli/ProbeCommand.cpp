#include <filesystem>
#include <iostream>

#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/ReadOptions.h"
#include "cli/RowJson.h"

namespace tonvault::cli {

// tonvault-cli probe FILE...: the row each file would get, one JSON object
// a line, from the same FillRow the import uses.
int ProbeCommand(const Arguments& arguments) {
  ParsedArguments parsed = ParseReadOptions(arguments);
  if (!parsed.error.empty() || parsed.rest.empty()) {
    std::cerr << "tonvault-cli probe: " << (parsed.error.empty() ? "name at least one file" : parsed.error) << "\n"
              << "Usage: tonvault-cli probe [OPTIONS] FILE...\n" << kReadOptionsHelp;
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  app.options = parsed.options;
  catalogue::VolumeLabels labels;
  catalogue::FrontendScanHost host(app);
  catalogue::FillContext context{app.columnMap, app.options, labels, host};
  int status = 0;
  for (const std::string& name : parsed.rest) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    const std::string path = error ? name : absolute.lexically_normal().string();
    if (!std::filesystem::is_regular_file(path, error)) {
      std::cerr << "tonvault-cli probe: " << name << ": not a file\n";
      status = 1;
      continue;
    }
    catalogue::TrackRecord row;
    const catalogue::FillDetails details = catalogue::FillRow(row, path, context);
    std::cout << RowJson(row, app.columnMap, &details) << '\n';
    if (row.icon == catalogue::StatusIcon::Corrupt) status = 1;
  }
  return status;
}

}  // namespace tonvault::cli
