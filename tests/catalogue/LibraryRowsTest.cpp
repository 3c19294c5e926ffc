#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "catalogue/Import.h"
#include "support/LibrarySynth.h"
#include "support/ScriptedFrontend.h"
#include "support/GoldenFile.h"
#include "support/TempFolder.h"

// The rows of a generated library, under several option sets, must stay
// exactly as they were recorded: how the readers fetch their bytes may
// change, what they find may not. TONVAULT_WRITE_GOLDEN=1 records anew.
namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedFrontend;

const std::string kGolden = std::string(TONVAULT_TEST_DATA) + "/library-rows.txt";

struct OptionSet {
  const char* name;
  void (*apply)(Options&);
};

const OptionSet kOptionSets[] = {
    {"defaults", [](Options&) {}},
    {"full scan, 3 errors tolerated", [](Options& o) { o.mp3.fullScan = true; o.mp3.errorsTolerated = 3; }},
    {"no VBR header, 5 s for CBR", [](Options& o) { o.mp3.readVbrHeader = false; o.mp3.cbrSeconds = 5; }},
    {"no VBR scan", [](Options& o) { o.mp3.scanForVbr = false; }},
    {"no tags", [](Options& o) { o.import.readId3v1 = o.import.readId3v2 = false; }},
};

std::string RowsOfLibrary() {
  testing::TempFolder folder;
  const std::vector<std::string> files = testing::MakeLibrary(folder.Path());
  std::ostringstream out;
  for (const OptionSet& set : kOptionSets) {
    ScriptedFrontend frontend;
    Application app(frontend);
    app.options.import.wma = app.options.import.wav = true;
    set.apply(app.options);
    std::vector<std::string> candidates = files;
    BuildRows(app, candidates);
    out << "== " << set.name << "\n";
    for (const TrackRecord& row : app.files) {
      const std::string path = FileOfRow(row, app.columnMap);
      out << path.substr(folder.Path().size()) << " | " << row.icon;
      for (int c = 0; c < kLogicalColumnCount; ++c) {
        const auto column = static_cast<Column>(c);
        if (column == Column::Path || column == Column::Filename || column == Column::Label) continue;
        out << " | " << app.columnMap.Get(row, column);
      }
      out << "\n";
    }
  }
  return out.str();
}

TEST(LibraryRows, EveryColumnOfAGeneratedLibraryStaysAsRecorded) {
  const std::string rows = RowsOfLibrary();
  testing::ExpectAsRecorded(rows, kGolden);
}

}  // namespace
}  // namespace tonvault::catalogue
