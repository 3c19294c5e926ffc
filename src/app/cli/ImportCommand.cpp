#include <filesystem>
#include <iostream>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/Import.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/ReadOptions.h"
#include "cli/RowJson.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli import [OPTIONS] DIR|FILE... [--subfolders] [-o CATALOGUE.tvd]\n"
    "  --subfolders       also collect the files of every subfolder\n"
    "  -o FILE            write the rows as a catalogue file instead of JSON lines\n";

}  // namespace

// tonvault-cli import DIR...: the window's import without a window. Prints
// the rows as JSON lines; Ctrl+C stops after the current file and keeps
// what was read.
int ImportCommand(const Arguments& arguments) {
  ParsedArguments parsed = ParseReadOptions(arguments, {"--subfolders", "-o"});
  bool subfolders = false;
  std::string output;
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < parsed.rest.size(); ++i) {
    if (parsed.rest[i] == "--subfolders") {
      subfolders = true;
    } else if (parsed.rest[i] == "-o") {
      if (i + 1 < parsed.rest.size()) output = parsed.rest[++i];
      else parsed.error = "-o needs a file name";
    } else {
      inputs.push_back(parsed.rest[i]);
    }
  }
  if (!parsed.error.empty() || inputs.empty()) {
    std::cerr << "tonvault-cli import: " << (parsed.error.empty() ? "name a folder or file" : parsed.error) << "\n"
              << kUsage << kReadOptionsHelp;
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  ConsoleFrontend& frontend = session.frontend;
  app.options = parsed.options;
  std::vector<std::string> candidates;
  for (const std::string& input : inputs) {
    std::error_code error;
    const std::string path = std::filesystem::absolute(input, error).lexically_normal().string();
    if (std::filesystem::is_directory(path, error)) {
      catalogue::CollectFiles(path, subfolders, app.options.import, candidates);
    } else if (std::filesystem::exists(path, error) && catalogue::MatchesFileType(path, app.options.import)) {
      candidates.push_back(path);
    } else if (!std::filesystem::exists(path, error)) {
      std::cerr << "tonvault-cli import: " << input << ": no such file or folder\n";
    }
  }
  catalogue::SortCandidates(candidates);
  if (!candidates.empty()) catalogue::BuildRows(app, candidates);
  frontend.FinishProgressLine();
  std::cerr << app.files.size() << " of " << candidates.size() << " files read\n";
  if (!output.empty()) {
    const std::string path = std::filesystem::absolute(output).lexically_normal().string();
    if (!catalogue::WriteDatabase(app, path, app.files)) return 1;
    std::cerr << "written to " << path << '\n';
  } else {
    for (const catalogue::TrackRecord& row : app.files) std::cout << RowJson(row, app.columnMap) << '\n';
  }
  return app.files.size() == candidates.size() ? 0 : 1;
}

}  // namespace tonvault::cli
