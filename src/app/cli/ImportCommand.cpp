#include <unistd.h>

#include <algorithm>
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
    "Usage: tonvault-cli import [OPTIONS] DIR|FILE... [--subfolders] [-o CATALOGUE.tvd] [--verbose]\n"
    "  --subfolders       also collect the files of every subfolder\n"
    "  -o FILE            write the rows as a catalogue file instead of JSON lines\n"
    "  --verbose          say how many files were read (always on a terminal)\n"
    "Exit code: 0 every file read, 1 a file could not be read or is corrupt (or\n"
    "no audio file was found), 2 a named file or folder does not exist, or wrong usage.\n";

bool IsCorrupt(const catalogue::Application& app, const catalogue::TrackRecord& row) {
  return app.columnMap.Get(row, catalogue::Column::Codec) == catalogue::kCorruptText;
}

}  // namespace

// tonvault-cli import DIR...: the window's import without a window. Prints
// the rows as JSON lines; Ctrl+C stops after the current file and keeps
// what was read.
int ImportCommand(const Arguments& arguments) {
  ParsedArguments parsed = ParseReadOptions(arguments, {"--subfolders", "-o", "--verbose"});
  bool subfolders = false;
  bool verbose = ::isatty(STDERR_FILENO) != 0;
  std::string output;
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < parsed.rest.size(); ++i) {
    if (parsed.rest[i] == "--subfolders") {
      subfolders = true;
    } else if (parsed.rest[i] == "--verbose") {
      verbose = true;
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
  bool missing = false;
  for (const std::string& input : inputs) {
    std::error_code error;
    const std::string path = std::filesystem::absolute(input, error).lexically_normal().string();
    if (std::filesystem::is_directory(path, error)) {
      catalogue::CollectFiles(path, subfolders, app.options.import, candidates, app.notRead);
    } else if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
      catalogue::CollectFile(path, app.options.import, candidates, app.notRead);
    } else {
      std::cerr << "tonvault-cli import: " << input << ": no such file or folder\n";
      missing = true;
    }
  }
  const std::size_t skipped = app.notRead.size();  // found, but no regular file
  catalogue::SortCandidates(candidates);
  if (!candidates.empty()) catalogue::BuildRows(app, candidates);
  frontend.FinishProgressLine();
  for (const catalogue::NotReadFile& file : app.notRead) {
    std::cerr << "tonvault-cli import: " << file.path << ": not read (" << file.reason << ")\n";
  }
  const auto corrupt = std::count_if(app.files.begin(), app.files.end(),
                                     [&](const catalogue::TrackRecord& row) { return IsCorrupt(app, row); });
  if (verbose) {
    std::cerr << app.files.size() << " of " << candidates.size() + skipped << " files read";
    if (corrupt > 0) std::cerr << ", " << corrupt << " corrupt";
    std::cerr << '\n';
  }
  if (candidates.empty() && app.notRead.empty() && !missing) std::cerr << "tonvault-cli import: no audio files found\n";
  if (!output.empty()) {
    const std::string path = std::filesystem::absolute(output).lexically_normal().string();
    if (!catalogue::WriteDatabase(app, path, app.files)) return 1;
    if (verbose) std::cerr << "written to " << path << '\n';
  } else {
    for (const catalogue::TrackRecord& row : app.files) std::cout << RowJson(row, app.columnMap) << '\n';
  }
  if (missing) return 2;
  const bool everyFileRead = app.notRead.empty() && app.files.size() == candidates.size();
  return everyFileRead && corrupt == 0 && !candidates.empty() ? 0 : 1;
}

}  // namespace tonvault::cli
