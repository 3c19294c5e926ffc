#include <iostream>
#include <sstream>

#include "catalogue/DatabaseCommands.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/JsonLines.h"
#include "cli/RowJson.h"
#include "views/TextSearch.h"
#include "views/Views.h"

namespace tonvault::cli {

namespace {

bool SetColumns(catalogue::SearchOptions& search, const std::string& list) {
  search.album = search.artist = search.title = search.genre = search.year = search.comment = search.filename =
      search.path = search.label = search.track = false;
  std::stringstream stream(list);
  for (std::string name; std::getline(stream, name, ',');) {
    if (name == "album") search.album = true;
    else if (name == "artist") search.artist = true;
    else if (name == "title") search.title = true;
    else if (name == "genre") search.genre = true;
    else if (name == "year") search.year = true;
    else if (name == "comment") search.comment = true;
    else if (name == "filename") search.filename = true;
    else if (name == "path") search.path = true;
    else if (name == "label") search.label = true;
    else if (name == "track") search.track = true;
    else return false;
  }
  return true;
}

constexpr const char* kSearchUsage =
    "Usage: tonvault-cli search CATALOGUE.tvd --text T [--columns album,artist,title,...]\n"
    "                           [--match-case] [--beginning]\n"
    "Columns: album artist title genre year comment filename path label track\n"
    "(default: album,artist,title)\n";

}  // namespace

// tonvault-cli search: the Search page's "Search in files" over a catalogue.
int SearchCommand(const Arguments& arguments) {
  Session session;
  catalogue::Application& app = session.app;
  catalogue::SearchOptions& search = app.options.search;
  std::string catalogueFile;
  bool hasText = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--text" && i + 1 < arguments.size()) {
      search.text = arguments[++i];
      hasText = true;
    } else if (a == "--columns" && i + 1 < arguments.size()) {
      if (!SetColumns(search, arguments[++i])) {
        std::cerr << "tonvault-cli search: unknown column in " << arguments[i] << "\n" << kSearchUsage;
        return 2;
      }
    } else if (a == "--match-case") {
      search.matchCase = true;
    } else if (a == "--beginning") {
      search.onlyAtBeginning = true;
    } else if (catalogueFile.empty() && a.rfind("--", 0) != 0) {
      catalogueFile = a;
    } else {
      std::cerr << "tonvault-cli search: unexpected " << a << "\n" << kSearchUsage;
      return 2;
    }
  }
  if (catalogueFile.empty() || !hasText) {
    std::cerr << kSearchUsage;
    return 2;
  }
  if (!session.Load(catalogueFile)) return 1;
  views::SearchInFiles(app);
  for (const auto& row : app.results) std::cout << RowJson(row, app.columnMap) << '\n';
  return 0;
}

// tonvault-cli view albums|artists|genres CATALOGUE.tvd: the view's lines.
int ViewCommand(const Arguments& arguments) {
  const std::string usage = "Usage: tonvault-cli view albums|artists|genres CATALOGUE.tvd\n";
  if (arguments.size() != 2) {
    std::cerr << usage;
    return 2;
  }
  catalogue::ViewKind kind;
  if (arguments[0] == "albums") kind = catalogue::ViewKind::Albums;
  else if (arguments[0] == "artists") kind = catalogue::ViewKind::Artists;
  else if (arguments[0] == "genres") kind = catalogue::ViewKind::Genres;
  else {
    std::cerr << usage;
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  if (!session.Load(arguments[1])) return 1;
  views::BuildView(app, kind, false);
  const auto& captions = views::ViewCaptions(kind);
  for (const catalogue::ViewLine& line : app.views[static_cast<std::size_t>(kind)].lines) {
    const std::string* texts[] = {&line.key, &line.second, &line.third, &line.tracks, &line.size, &line.length};
    JsonObject json;
    for (std::size_t c = 0; c < captions.size(); ++c) json.Add(captions[c], *texts[c]);
    std::cout << json.Line() << '\n';
  }
  return 0;
}

}  // namespace tonvault::cli
