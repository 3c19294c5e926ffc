#include <gtest/gtest.h>

#include "catalogue/ListOperations.h"
#include "catalogue/PageChange.h"
#include "support/ScriptedFrontend.h"

namespace tonvault::catalogue {
namespace {

using testing::ScriptedFrontend;

class ListOperationsTest : public ::testing::Test {
 protected:
  TrackRecord Row(const std::string& title, const std::string& bitrate = "", const std::string& track = "") {
    TrackRecord row;
    app.columnMap.Set(row, Column::Title, title);
    app.columnMap.Set(row, Column::Bitrate, bitrate);
    app.columnMap.Set(row, Column::Track, track);
    return row;
  }
  std::vector<std::string> Column_(const std::vector<TrackRecord>& rows, Column column) const {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(app.columnMap.Get(r, column));
    return out;
  }
  int Display(Column column) const { return app.columnMap.SlotOf(column) + 1; }

  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(ListOperationsTest, BitrateSortsByTheNumberBeforeTheBlank) {
  app.files = {Row("a", "128 V"), Row("b", "<Corrupt>"), Row("c", "96 C"), Row("d", "192")};
  SortByColumn(app, ListId::Files, Display(Column::Bitrate));
  EXPECT_EQ(Column_(app.files, Column::Bitrate), (std::vector<std::string>{"<Corrupt>", "96 C", "128 V", "192"}));
}

TEST_F(ListOperationsTest, SizeSortsAsANumberNotAsText) {
  app.files = {Row("a"), Row("b"), Row("c"), Row("d")};
  const char* sizes[] = {"10", "9", "100", "2048"};
  for (std::size_t i = 0; i < app.files.size(); ++i) app.columnMap.Set(app.files[i], Column::Size, sizes[i]);
  SortByColumn(app, ListId::Files, Display(Column::Size));
  EXPECT_EQ(Column_(app.files, Column::Size), (std::vector<std::string>{"9", "10", "100", "2048"}));
  SortByColumn(app, ListId::Files, Display(Column::Size));
  EXPECT_EQ(Column_(app.files, Column::Size), (std::vector<std::string>{"2048", "100", "10", "9"}));
}

TEST_F(ListOperationsTest, ClicksCycleAscendingDescendingAscending) {
  app.files = {Row("b"), Row("C"), Row("a")};
  const int title = Display(Column::Title);
  SortByColumn(app, ListId::Files, title);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"C", "a", "b"})) << "byte order, case counts";
  EXPECT_FALSE(app.filesSort.descending);
  SortByColumn(app, ListId::Files, title);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"b", "a", "C"}));
  EXPECT_TRUE(app.filesSort.descending);
  SortByColumn(app, ListId::Files, title);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"C", "a", "b"}));
  SortByColumn(app, ListId::Files, Display(Column::Artist));
  EXPECT_EQ(app.filesSort.column, Display(Column::Artist)) << "another column starts ascending";
  EXPECT_FALSE(app.filesSort.descending);
}

TEST_F(ListOperationsTest, NumericColumnsCountNonNumbersAsZero) {
  app.files = {Row("x", "", "10"), Row("y", "", "2"), Row("z", "", ""), Row("w", "", "3/12")};
  SortByColumn(app, ListId::Files, Display(Column::Track));
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"z", "w", "y", "x"}))
      << "empty and 3/12 count as 0, before 2 and 10; equal rows keep their order";
  app.files[0].icon = 12;
  app.files[3].icon = -1;
  SortByColumn(app, ListId::Files, 0);
  EXPECT_EQ(app.files.front().icon, -1);
  EXPECT_EQ(app.files.back().icon, 12);
}

TEST_F(ListOperationsTest, SortFollowsTheColumnMap) {
  app.columnMap.RebuildFromHeadings({"Bitrate", "Artist", "Title", "Genre", "Track", "Year", "Comment", "Size [kB]",
                                     "Album", "Freq.", "Mode", "Length", "Codec", "Filename", "Path", "Label"});
  app.files = {Row("a", "128 V"), Row("b", "96 C")};
  SortByColumn(app, ListId::Files, 1);  // slot 0 now holds Bitrate
  EXPECT_EQ(Column_(app.files, Column::Bitrate), (std::vector<std::string>{"96 C", "128 V"}));
}

TEST_F(ListOperationsTest, SelectionCommands) {
  app.files = {Row("a"), Row("b"), Row("c")};
  app.files[1].selected = true;
  InvertSelection(app, ListId::Files);
  EXPECT_EQ(CountSelected(app.files), 2u);
  EXPECT_FALSE(app.files[1].selected);
  EXPECT_EQ(app.commandStateCode, 1);
  SelectAll(app, ListId::Files);
  EXPECT_EQ(CountSelected(app.files), 3u);
  SelectNone(app, ListId::Files);
  EXPECT_EQ(CountSelected(app.files), 0u);
}

TEST_F(ListOperationsTest, DeletingLinesAsksAndMarksOnlyFilesAsChanged) {
  app.files = {Row("a"), Row("b"), Row("c")};
  app.files[0].selected = app.files[2].selected = true;
  ChangePage(app, Page::Files);
  frontend.Answer(Button::Yes);
  DeleteSelectedLines(app);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"b"}));
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{
                                         "message(confirmation): Do you really want to delete\n\rthe 2 selected lines ? "
                                         "[Yes/No] -> Yes"}));
  EXPECT_TRUE(app.catalogueModified);

  SetCatalogueModified(app, false);
  app.results = {Row("r1"), Row("r2")};
  app.results[1].selected = true;
  ChangePage(app, Page::Results);
  frontend.Answer(Button::Yes);
  DeleteSelectedLines(app);
  EXPECT_EQ(app.results.size(), 1u);
  EXPECT_FALSE(app.catalogueModified) << "RESULTS is not the catalogue";

  frontend.ClearLog();
  DeleteSelectedLines(app);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{"beep: default"})) << "no selection";
}

TEST_F(ListOperationsTest, CopyingTwiceWithAppendGivesEachRowTwice) {
  app.files = {Row("a"), Row("b"), Row("c")};
  app.files[0].selected = app.files[2].selected = true;
  app.files[2].checked = true;
  CopySelectedLinesToResults(app);
  EXPECT_EQ(Column_(app.results, Column::Title), (std::vector<std::string>{"a", "c"}));
  EXPECT_FALSE(app.results[1].checked);
  EXPECT_EQ(app.currentPage, Page::Results);
  frontend.Answer(Button::Yes);
  CopySelectedLinesToResults(app);
  EXPECT_EQ(Column_(app.results, Column::Title), (std::vector<std::string>{"a", "c", "a", "c"}));
  frontend.Answer(Button::No);
  CopySelectedLinesToResults(app);
  EXPECT_EQ(app.results.size(), 2u) << "No empties RESULTS first";
  EXPECT_EQ(frontend.Log("message").front(),
            "message(confirmation): RESULTS list is not empty.\n\r\rAppend to RESULTS list ? [Yes/No] -> Yes");
}

TEST_F(ListOperationsTest, DeleteInBothListsRemovesDuplicatesToo) {
  app.files = {Row("dup"), Row("keep"), Row("dup"), Row("other")};
  app.results = {Row("dup"), Row("other")};
  app.results[0].selected = true;
  app.results[0].texts.Set(kTrackIdSlot, "key differs");  // slot 16 is not compared here
  ChangePage(app, Page::Results);
  frontend.Answer(Button::Yes);
  DeleteSelectedLinesAlsoInFiles(app);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"keep", "other"}));
  EXPECT_EQ(Column_(app.results, Column::Title), (std::vector<std::string>{"other"}));
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_EQ(frontend.Log("message").front(),
            "message(confirmation): Do you really want to delete\n\rthe 1 selected lines\n\rin RESULTS and in FILES ? "
            "[Yes/No] -> Yes");
}

TEST_F(ListOperationsTest, AllExceptResultsKeepsOnlyEqualRows) {
  app.files = {Row("a"), Row("b"), Row("c"), Row("player")};
  app.files[3].texts.Set(kTrackIdSlot, "track 1");
  app.results = {Row("c"), Row("a"), Row("player")};
  app.results[2].texts.Set(kTrackIdSlot, "track 2");
  frontend.Answer(Button::Yes);
  DeleteAllExceptResults(app);
  EXPECT_EQ(Column_(app.files, Column::Title), (std::vector<std::string>{"a", "c"}))
      << "the player row's track key differs, so it goes";
  EXPECT_EQ(frontend.Log("message").front(),
            "message(confirmation): This deletes all lines in FILES\n\rwitch not match to RESULTS.\n\r\rContinue ? "
            "[Yes/No] -> Yes");
}

TEST_F(ListOperationsTest, NomadIIRowsCannotBePlayed) {
  app.files = {Row("n2"), Row("n2b")};
  app.files[0].icon = StatusIcon::NomadInternal;
  app.files[1].icon = StatusIcon::NomadExternal;
  app.files[0].selected = app.files[1].selected = true;
  ChangePage(app, Page::Files);
  PlaySelectedFiles(app);
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: hand", "beep: default"}));
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{"message(information): Nomad II cannot play songs. [OK]"}));
  EXPECT_TRUE(frontend.Log("open").empty());
}

TEST_F(ListOperationsTest, PlayOpensExistingFilesOnly) {
  app.files = {Row("exists"), Row("missing")};
  app.columnMap.Set(app.files[0], Column::Path, std::string(TONVAULT_TEST_DATA) + "/");
  app.columnMap.Set(app.files[0], Column::Filename, "cbr-32k-32000-mono.mp3");
  app.columnMap.Set(app.files[1], Column::Path, "/nonexistent/");
  app.columnMap.Set(app.files[1], Column::Filename, "x.mp3");
  app.files[0].selected = app.files[1].selected = true;
  ChangePage(app, Page::Files);
  PlaySelectedFiles(app);
  EXPECT_EQ(frontend.Log("open"),
            (std::vector<std::string>{"open: " + std::string(TONVAULT_TEST_DATA) + "/cbr-32k-32000-mono.mp3"}));
  EXPECT_TRUE(frontend.Log("beep").empty());
}

// A desktop without a player: the beep that nothing was started, then a
// message that names the file, so the user knows what to set up.
TEST_F(ListOperationsTest, PlayWithoutAPlayerSaysSoAfterTheBeep) {
  const std::string data = std::string(TONVAULT_TEST_DATA) + "/";
  app.files = {Row("one"), Row("two")};
  for (auto [row, name] : {std::pair{&app.files[0], "cbr-32k-32000-mono.mp3"}, std::pair{&app.files[1], "id3lib-v23.mp3"}}) {
    app.columnMap.Set(*row, Column::Path, data);
    app.columnMap.Set(*row, Column::Filename, name);
    row->selected = true;
  }
  ChangePage(app, Page::Files);
  frontend.NoProgramToOpenWith();
  frontend.ClearLog();
  PlaySelectedFiles(app);
  std::vector<std::string> said;
  for (const std::string& line : frontend.Log()) {
    if (line.rfind("beep", 0) == 0 || line.rfind("message", 0) == 0) said.push_back(line);
  }
  EXPECT_EQ(said, (std::vector<std::string>{
                      "beep: default",
                      "message(error): No program to play this file was found:\n\r" + data +
                          "cbr-32k-32000-mono.mp3\n\r(and 1 more)\n\r\rChoose a default program for audio files in "
                          "the settings of your desktop. [OK]"}));
  EXPECT_EQ(NoPlayerText("/m/a.mp3", 1),
            "No program to play this file was found:\n\r/m/a.mp3\n\r\rChoose a default program for audio files in "
            "the settings of your desktop.");
}

}  // namespace
}  // namespace tonvault::catalogue
