#include <iostream>
#include <optional>
#include <sstream>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/PageChange.h"
#include "cli/Commands.h"
#include "cli/CompareModes.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/JsonLines.h"
#include "cli/RowJson.h"
#include "views/DuplicateSearch.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli dupes|diff CATALOGUE.tvd [--criteria album,artist,title,...] [--mode title=80%]\n"
    "          [--empty-lines|--no-empty-lines] [--remove-duplicates] [--drive] [--force] [-o RESULTS.tvd]\n"
    "Criteria: album artist title genre year comment filename path drive label track filesize length\n"
    "Modes (album, artist, title): \"Case sen.\", \"Case insen.\", \"In (c sens)\", \"In (c insens)\",\n"
    "  \"90 %\" ... \"50 %\" (also written 80%), or their index 0..8\n"
    "dupes stops before writing more than a million lines unless --force is given.\n";

bool SetCriteria(catalogue::DuplicateOptions& o, const std::string& list) {
  o.album = o.artist = o.title = o.genre = o.year = o.comment = o.filename = o.path = o.drive = o.label = o.track =
      o.fileSize = o.length = false;
  std::stringstream stream(list);
  for (std::string name; std::getline(stream, name, ',');) {
    const std::pair<const char*, bool catalogue::DuplicateOptions::*> names[] = {
        {"album", &catalogue::DuplicateOptions::album},       {"artist", &catalogue::DuplicateOptions::artist},
        {"title", &catalogue::DuplicateOptions::title},       {"genre", &catalogue::DuplicateOptions::genre},
        {"year", &catalogue::DuplicateOptions::year},         {"comment", &catalogue::DuplicateOptions::comment},
        {"filename", &catalogue::DuplicateOptions::filename}, {"path", &catalogue::DuplicateOptions::path},
        {"drive", &catalogue::DuplicateOptions::drive},       {"label", &catalogue::DuplicateOptions::label},
        {"track", &catalogue::DuplicateOptions::track},       {"filesize", &catalogue::DuplicateOptions::fileSize},
        {"length", &catalogue::DuplicateOptions::length}};
    bool known = false;
    for (const auto& [text, flag] : names) {
      if (name == text) o.*flag = known = true;
    }
    if (!known) return false;
  }
  return true;
}

bool SetMode(catalogue::DuplicateOptions& o, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) return false;
  const auto mode = CompareModeOf(assignment.substr(equals + 1));
  const std::string column = assignment.substr(0, equals);
  if (!mode) return false;
  if (column == "album") o.albumMode = *mode;
  else if (column == "artist") o.artistMode = *mode;
  else if (column == "title") o.titleMode = *mode;
  else return false;
  return true;
}

int Run(const Arguments& arguments, bool differences) {
  Session session;
  catalogue::Application& app = session.app;
  ConsoleFrontend& frontend = session.frontend;
  catalogue::DuplicateOptions& o = app.options.duplicate;
  std::string catalogueFile, output;
  bool force = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    bool ok = true;
    if (a == "--criteria" && hasValue) ok = SetCriteria(o, arguments[++i]);
    else if (a == "--mode" && hasValue) ok = SetMode(o, arguments[++i]);
    else if (a == "--empty-lines") o.emptyLines = true;
    else if (a == "--no-empty-lines") o.emptyLines = false;
    else if (a == "--remove-duplicates") o.removeDuplicates = true;
    else if (a == "--drive") o.drive = true;
    else if (a == "--force" && !differences) force = true;
    else if (a == "-o" && hasValue) output = arguments[++i];
    else if (catalogueFile.empty() && a.rfind("-", 0) != 0) catalogueFile = a;
    else ok = false;
    if (!ok) {
      std::cerr << "tonvault-cli " << (differences ? "diff" : "dupes") << ": cannot use " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (catalogueFile.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  if (!session.Load(catalogueFile)) return 1;
  if (!differences && !force) {
    if (const auto rows = views::DuplicateRowsAbove(app, views::kLargeResultRows)) {
      std::cerr << "tonvault-cli dupes: the search finds " << *rows
                << " lines for RESULTS, which needs much memory and time; add --force to build them anyway\n";
      return 1;
    }
  }
  if (differences) views::SearchDifferences(app);
  else views::SearchDuplicates(app);
  frontend.FinishProgressLine();
  if (!output.empty()) return catalogue::WriteDatabase(app, output, app.results) ? 0 : 1;
  for (const catalogue::TrackRecord& row : app.results) {
    if (app.columnMap.Get(row, catalogue::Column::Path).empty()) {
      std::cout << JsonObject().Add("separator", true).Line() << '\n';
      continue;
    }
    std::string line = RowJson(row, app.columnMap);
    line.pop_back();
    std::cout << line << ", \"selected\": " << (row.selected ? "true" : "false") << "}\n";
  }
  return 0;
}

}  // namespace

int DupesCommand(const Arguments& arguments) { return Run(arguments, false); }
int DiffCommand(const Arguments& arguments) { return Run(arguments, true); }

}  // namespace tonvault::cli
