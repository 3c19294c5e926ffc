#include <gtest/gtest.h>

#include "catalogue/PageChange.h"
#include "support/ScriptedFrontend.h"
#include "views/Durations.h"
#include "views/Views.h"

namespace tonvault::views {
namespace {

using catalogue::Column;
using testing::ScriptedFrontend;

class ViewsTest : public ::testing::Test {
 protected:
  void SetUp() override { app.viewBuilder = &builder; }
  void AddRow(const std::string& album, const std::string& artist, const std::string& genre,
              const std::string& length, const std::string& size = "100") {
    catalogue::TrackRecord row;
    app.columnMap.Set(row, Column::Album, album);
    app.columnMap.Set(row, Column::Artist, artist);
    app.columnMap.Set(row, Column::Genre, genre);
    app.columnMap.Set(row, Column::Length, length);
    app.columnMap.Set(row, Column::Size, size);
    app.files.push_back(row);
  }
  const std::vector<ViewLine>& Lines(ViewKind kind) const { return app.views[static_cast<std::size_t>(kind)].lines; }

  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
  ViewsBuilder builder;
};

TEST(Durations, SumsCarryDaysAndBadTextsCountAsZero) {
  EXPECT_EQ(AddDuration("23:00:00", "02:00:00"), "1 d.01:00:00");
  EXPECT_EQ(AddDuration("1 d.01:00:00", "23:30:00"), "2 d.00:30:00");
  EXPECT_EQ(AddDuration("00:03:00", ""), "00:03:00");
  EXPECT_EQ(AddDuration("00:03:00", "(12)"), "00:03:00");
  EXPECT_EQ(AddDuration("", "00:00:05"), "00:00:05");
  EXPECT_EQ(AddDuration("00:00:01", "garbage"), "00:00:01");
  EXPECT_LT(DurationSeconds("23:59:59"), DurationSeconds("1 d.00:00:01"));
  EXPECT_EQ(DurationSeconds("2 d.00:00:00"), 2 * 86400.0);
  EXPECT_EQ(DurationSeconds("x"), 0.0);
}

TEST_F(ViewsTest, AlbumLinesGroupByKeyByteForByte) {
  AddRow("Gold", "ABBA", "Pop", "23:00:00", "100");
  AddRow("Gold", "Agnetha", "Pop", "02:00:00", "50");
  AddRow("gold", "x", "y", "00:01:00");
  AddRow("", "a", "b", "00:00:10");
  AddRow("", "a", "c", "00:00:20", "n/a");
  AddRow("Gold", "ABBA", "Pop", "23:30:00", "abc");
  ASSERT_TRUE(BuildView(app, ViewKind::Albums, true));
  const auto& lines = Lines(ViewKind::Albums);
  ASSERT_EQ(lines.size(), 3u) << "Gold, gold and the empty album";
  EXPECT_EQ(lines[0].key, "Gold");
  EXPECT_EQ(lines[0].second, kVarious);
  EXPECT_EQ(lines[0].third, "Pop");
  EXPECT_EQ(lines[0].tracks, "3");
  EXPECT_EQ(lines[0].size, "150") << "a size that is no number is left out";
  EXPECT_EQ(lines[0].length, "2 d.00:30:00");
  EXPECT_EQ(lines[1].key, "gold");
  EXPECT_EQ(lines[2].key, "");
  EXPECT_EQ(lines[2].third, kVarious);
  EXPECT_FALSE(app.viewRebuildNeeded.albums);
  EXPECT_EQ(frontend.Panel(0), "Albums: 3");
}

TEST_F(ViewsTest, SingleRowGroupKeepsItsTextsExactly) {
  AddRow("Solo", "A", "B", "", "");
  BuildView(app, ViewKind::Albums, false);
  const ViewLine& line = Lines(ViewKind::Albums).at(0);
  EXPECT_EQ(line.length, "");
  EXPECT_EQ(line.size, "");
  EXPECT_EQ(line.tracks, "1");
}

TEST_F(ViewsTest, ArtistAndGenreViewsUseTheirColumns) {
  AddRow("A1", "Artist", "Rock", "00:01:00");
  AddRow("A2", "Artist", "Rock", "00:01:00");
  BuildView(app, ViewKind::Artists, false);
  EXPECT_EQ(Lines(ViewKind::Artists).at(0).second, kVarious) << "albums differ";
  EXPECT_EQ(Lines(ViewKind::Artists).at(0).third, "Rock");
  BuildView(app, ViewKind::Genres, false);
  EXPECT_EQ(Lines(ViewKind::Genres).at(0).key, "Rock");
  EXPECT_EQ(Lines(ViewKind::Genres).at(0).second, "Artist");
  EXPECT_EQ(Lines(ViewKind::Genres).at(0).third, kVarious);
}

TEST_F(ViewsTest, SortingByEachKindOfColumn) {
  AddRow("b", "Zed", "g", "23:59:59", "5");
  AddRow("a", "alpha", "g", "23:00:00", "40");
  AddRow("a", "alpha", "g", "01:00:01", "1");  // the album lasts 1 d.00:00:01
  AddRow("C", "beta", "g", "00:00:01", "300");
  BuildView(app, ViewKind::Albums, false);
  ViewData& view = app.views[0];
  auto keys = [&] {
    std::vector<std::string> out;
    for (const auto& l : view.lines) out.push_back(l.key);
    return out;
  };
  SortView(view, 0);
  EXPECT_EQ(keys(), (std::vector<std::string>{"C", "a", "b"})) << "key byte-wise";
  SortView(view, 0);
  EXPECT_EQ(keys(), (std::vector<std::string>{"b", "a", "C"}));
  SortView(view, 1);
  EXPECT_EQ(keys(), (std::vector<std::string>{"a", "C", "b"})) << "alpha, beta, Zed: case ignored";
  SortView(view, 4);
  EXPECT_EQ(keys(), (std::vector<std::string>{"b", "a", "C"})) << "5, 41, 300 as numbers";
  SortView(view, 5);
  EXPECT_EQ(view.lines.back().length, "1 d.00:00:01");
  EXPECT_EQ(keys(), (std::vector<std::string>{"C", "b", "a"})) << "23:59:59 before 1 d.00:00:01";
}

TEST_F(ViewsTest, PageVisitRebuildsOnlyWhenFilesChangedAndAStopKeepsItOutOfDate) {
  for (int i = 0; i < 30; ++i) AddRow("Album " + std::to_string(i % 3), "A", "G", "00:01:00");
  frontend.AtPump(2, [&] { catalogue::StopCommand(app); });
  frontend.Answer(catalogue::Button::Yes);
  catalogue::ChangePage(app, catalogue::Page::Albums);
  EXPECT_TRUE(app.viewRebuildNeeded.albums) << "a stopped build is not complete";
  EXPECT_LT(Lines(ViewKind::Albums).size() + 0u, 4u);
  catalogue::ChangePage(app, catalogue::Page::Files);
  catalogue::ChangePage(app, catalogue::Page::Albums);
  EXPECT_FALSE(app.viewRebuildNeeded.albums);
  EXPECT_EQ(Lines(ViewKind::Albums).size(), 3u);
  EXPECT_EQ(frontend.Panel(0), "Albums: 3");
  EXPECT_EQ(frontend.Panel(1), "Selected: 0");
  EXPECT_EQ(app.commandStateCode, 2);
  app.views[0].lines[0].selected = true;
  catalogue::ChangePage(app, catalogue::Page::Files);
  catalogue::ChangePage(app, catalogue::Page::Albums);
  EXPECT_TRUE(app.views[0].lines[0].selected) << "not rebuilt while FILES is unchanged";
}

TEST_F(ViewsTest, ExpandCopiesTheRowsOfSelectedLinesInFilesOrder) {
  AddRow("B", "1", "g", "00:01:00");
  AddRow("A", "2", "g", "00:01:00");
  AddRow("B", "3", "g", "00:01:00");
  AddRow("C", "4", "g", "00:01:00");
  BuildView(app, ViewKind::Albums, false);
  auto& lines = app.views[0].lines;
  ExpandSelectedLines(app, ViewKind::Albums);
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"})) << "nothing selected";
  lines[0].selected = lines[2].selected = true;  // B and C
  ExpandSelectedLines(app, ViewKind::Albums);
  std::vector<std::string> artists;
  for (const auto& row : app.results) artists.push_back(app.columnMap.Get(row, Column::Artist));
  EXPECT_EQ(artists, (std::vector<std::string>{"1", "3", "4"}));
  EXPECT_EQ(app.currentPage, catalogue::Page::Results);
}

TEST_F(ViewsTest, StopDuringAnExpandKeepsTheRowsCopiedSoFar) {
  for (const char* album : {"A", "B", "C"}) {
    for (int i = 0; i < 5; ++i) AddRow(album, std::to_string(i), "g", "00:01:00");
  }
  BuildView(app, ViewKind::Albums, false);
  for (auto& line : app.views[0].lines) line.selected = true;
  frontend.AtPump(frontend.Pumps() + 3, [&] { catalogue::StopCommand(app); });  // the start, then every row of line 0
  frontend.Answer(catalogue::Button::Yes);
  ExpandSelectedLines(app, ViewKind::Albums);
  ASSERT_EQ(app.results.size(), 2u);
  EXPECT_EQ(app.columnMap.Get(app.results[1], Column::Artist), "1");
  EXPECT_EQ(frontend.Log("message"),
            std::vector<std::string>{"message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes"});
  EXPECT_EQ(app.currentPage, catalogue::Page::Results);
}

}  // namespace
}  // namespace tonvault::views
