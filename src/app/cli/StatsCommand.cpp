#include <algorithm>
#include <fstream>
#include <iostream>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/PageChange.h"
#include "files/ReplaceFile.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/ConsoleFrontend.h"
#include "cli/JsonLines.h"
#include "views/Export.h"
#include "views/Statistics.h"
#include "views/Views.h"

namespace tonvault::cli {

using S = catalogue::StatisticsData;

namespace {

}  // namespace

// tonvault-cli stats CATALOGUE.tvd [--json]: the Statistics page's figures.
int StatsCommand(const Arguments& arguments) {
  bool json = false;
  std::string file;
  for (const std::string& a : arguments) {
    if (a == "--json") {
      json = true;
    } else if (file.empty() && a.rfind("--", 0) != 0) {
      file = a;
    } else {
      std::cerr << "Usage: tonvault-cli stats CATALOGUE.tvd [--json]\n";
      return 2;
    }
  }
  if (file.empty()) {
    std::cerr << "Usage: tonvault-cli stats CATALOGUE.tvd [--json]\n";
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  if (!session.Load(file)) return 1;
  views::ComputeStatistics(app);
  const std::pair<const char*, std::string S::*> figures[] = {
      {"Tracks", &S::tracks},          {"Albums", &S::albums},          {"Artists", &S::artists},
      {"Genres", &S::genres},          {"Length", &S::length},          {"av. Length", &S::averageLength},
      {"Filesize", &S::fileSize},      {"av. Filesize", &S::averageFileSize}, {"av. Bitrate", &S::averageBitrate},
      {"CBR", &S::cbr},                {"VBR", &S::vbr},                {"unknown", &S::unknownRate},
      {"corrupt", &S::corrupt},        {"ID3 none", &S::noTag},         {"ID3 Vers. 1", &S::id3v1},
      {"ID3 Vers. 2", &S::id3v2},      {"ID3 Vers. 1 + 2", &S::id3v1And2}, {"NJB", &S::player},
      {"MPEG 1 Layer 1", &S::mpeg1Layer1}, {"MPEG 1 Layer 2", &S::mpeg1Layer2}, {"MPEG 1 Layer 3", &S::mpeg1Layer3},
      {"MPEG 2 and 2.5 Layer 1", &S::mpeg2Layer1}, {"MPEG 2 and 2.5 Layer 2", &S::mpeg2Layer2},
      {"MPEG 2 and 2.5 Layer 3", &S::mpeg2Layer3}, {"unknown MP3", &S::unknownMp3}, {"WMA", &S::wma},
      {"WAV + NVF", &S::wavNvf}};
  if (json) {
    JsonObject object;
    for (const auto& [caption, value] : figures) object.Add(caption, app.statistics.*value);
    std::cout << object.Line() << '\n';
  } else {
    for (const auto& [caption, value] : figures) std::cout << caption << ":\t" << app.statistics.*value << '\n';
  }
  return 0;
}

// tonvault-cli export CATALOGUE.tvd --format txt|html [--view files|albums|artists|genres] -o FILE
int ExportCommand(const Arguments& arguments) {
  const std::string usage =
      "Usage: tonvault-cli export CATALOGUE.tvd --format txt|html [--view files|albums|artists|genres] -o FILE\n";
  std::string file, format, view = "files", output;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "--format" && hasValue) format = arguments[++i];
    else if (a == "--view" && hasValue) view = arguments[++i];
    else if (a == "-o" && hasValue) output = arguments[++i];
    else if (file.empty() && a.rfind("-", 0) != 0) file = a;
    else {
      std::cerr << usage;
      return 2;
    }
  }
  const std::pair<const char*, catalogue::Page> pages[] = {{"files", catalogue::Page::Files},
                                                           {"albums", catalogue::Page::Albums},
                                                           {"artists", catalogue::Page::Artists},
                                                           {"genres", catalogue::Page::Genres}};
  const auto page = std::find_if(std::begin(pages), std::end(pages), [&](const auto& p) { return view == p.first; });
  if (file.empty() || output.empty() || (format != "txt" && format != "html") || page == std::end(pages)) {
    std::cerr << usage;
    return 2;
  }
  Session session;
  catalogue::Application& app = session.app;
  if (!session.Load(file)) return 1;
  catalogue::ChangePage(app, page->second);
  const auto table = views::TableOfPage(app, page->second);
  const std::string content = format == "html" ? views::HtmlExport(*table, app.options.print) : views::TextExport(*table);
  if (const auto error = files::WriteWholeFile(output, content)) {
    std::cerr << "tonvault-cli export: cannot write " << output << ": " << error->Text() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace tonvault::cli
