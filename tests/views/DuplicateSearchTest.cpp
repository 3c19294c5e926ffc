#include <gtest/gtest.h>

#include <random>

#include "support/ScriptedFrontend.h"
#include "views/DuplicateSearch.h"

namespace tonvault::views {
namespace {

using catalogue::Column;
using testing::ScriptedFrontend;

TEST(TextsMatch, ModesOnTheExamples) {
  EXPECT_FALSE(TextsMatch("abba gold", "abba - gold", 4));
  for (int mode = 5; mode <= 8; ++mode) EXPECT_TRUE(TextsMatch("abba gold", "abba - gold", mode)) << mode;
  EXPECT_EQ(ChunkSimilarity("abba gold", "abba - gold"), 80);
  EXPECT_FALSE(TextsMatch("ABBA", "abba", 0));
  EXPECT_TRUE(TextsMatch("ABBA", "abba", 1));
  EXPECT_TRUE(TextsMatch("Gold", "Abba Gold", 2));
  EXPECT_FALSE(TextsMatch("gold", "Abba Gold", 2));
  EXPECT_TRUE(TextsMatch("gold", "Abba Gold", 3));
  for (int mode = -2; mode <= 9; ++mode) {
    if (mode != -1) {  // -1: neither has a folder, so both reduce to ""
      EXPECT_FALSE(TextsMatch("", "x", mode)) << mode;
    }
    EXPECT_TRUE(TextsMatch("", "", mode)) << mode;
  }
  EXPECT_TRUE(TextsMatch("same", "same", 42)) << "byte-equal texts match in any mode";
  EXPECT_FALSE(TextsMatch("ÄRGER", "ärger", 1)) << "only ASCII letters are lowered";
}

TEST(TextsMatch, LastDirectoryAndDrive) {
  EXPECT_TRUE(TextsMatch("D:\\MyMP3s\\ABBA\\", "E:\\Backup\\abba\\", -1));
  EXPECT_EQ(LastDirectory("D:\\MyMP3s\\ABBA"), "MyMP3s\\ABBA");
  EXPECT_EQ(LastDirectory("C:\\"), "C:\\");
  EXPECT_EQ(LastDirectory("/music/Pop/"), "Pop/");
  EXPECT_TRUE(TextsMatch("--- NJB ---", "--- N II ---", -1));
  EXPECT_FALSE(TextsMatch("--- NJB ---", "C:\\a\\", -1));
  EXPECT_TRUE(TextsMatch("C:\\a\\", "c:\\b\\", -2));
  EXPECT_FALSE(TextsMatch("--- NJB ---", "C:\\a\\", -2));
  EXPECT_TRUE(TextsMatch("--- NJB ---", "--- NJB ---", -2));
  const catalogue::VolumeLabels mounts({{"/", "a"}, {"/media/usb", "b"}}, {});
  EXPECT_TRUE(TextsMatch("/home/x/", "/srv/y/", -2, &mounts)) << "the same mount point";
  EXPECT_FALSE(TextsMatch("/home/x/", "/media/usb/y/", -2, &mounts));
  EXPECT_TRUE(TextsMatch("/music/Live: 1999/", "/music/A/", -2, &mounts)) << "a colon in a native folder name";
  EXPECT_FALSE(TextsMatch("/media/usb/Live: 1999/", "/music/A/", -2, &mounts));
  EXPECT_EQ(DrivePart("/music/Live: 1999/", &mounts), "/");
  EXPECT_EQ(DrivePart("/music/Live: 1999/", nullptr), "/music/Live: 1999/");
  EXPECT_EQ(DrivePart("D:\\Live: 1999\\", &mounts), "D:");
}

TEST(TextsMatch, SimilarityCountsCharactersNotBytes) {
  EXPECT_EQ(Chunks("björk - jóga"), (std::vector<std::string_view>{"björk", " - jó", "ga"}));
  EXPECT_EQ(ChunkSimilarity("björk - jóga", "björk jóga"), 80);
  EXPECT_TRUE(TextsMatch("Björk - Jóga", "Björk Jóga", 5));
  EXPECT_TRUE(TextsMatch("Björk - Jóga", "Björk Jóga", 6));
  EXPECT_EQ(ChunkSimilarity("ärger", "Ärger"), 0) << "upper-case Ä is not lowered";
  for (int mode = 4; mode <= 8; ++mode) EXPECT_FALSE(TextsMatch("ärger", "ÄRGER", mode)) << mode;
  EXPECT_EQ(Chunks("\xC3x\xE2\x82\xAC" "abcd"), (std::vector<std::string_view>{"\xC3x\xE2\x82\xAC" "ab", "cd"}))
      << "a stray byte is one character; a cut sequence never joins the next";
}


class DuplicateSearchTest : public ::testing::Test {
 protected:
  catalogue::TrackRecord Row(const std::string& title, const std::string& path = "C:\\m\\") {
    catalogue::TrackRecord row;
    row.icon = 8;
    app.columnMap.Set(row, Column::Title, title);
    app.columnMap.Set(row, Column::Path, path);
    return row;
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> out;
    for (const auto& row : app.results) {
      const std::string_view path = app.columnMap.Get(row, Column::Path);
      out.push_back(path.empty() ? "--" : std::string(app.columnMap.Get(row, Column::Title)) + (row.selected ? "*" : ""));
    }
    return out;
  }
  void OnlyTitle(int mode) {
    auto& o = app.options.duplicate;
    o.album = o.artist = false;
    o.title = true;
    o.titleMode = mode;
  }
  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
};

TEST_F(DuplicateSearchTest, DriveCriterionPutsNativePathsWithAColonOnTheirMountPoint) {
  const catalogue::VolumeLabels mounts({{"/", "root"}, {"/media/usb", "usb"}}, {});
  app.files = {Row("x", "/music/Live: 1999/"), Row("x", "/music/A/"), Row("x", "/media/usb/B/")};
  auto& o = app.options.duplicate;
  o.album = o.artist = o.title = false;
  o.drive = true;
  const MatchFinder finder(app.files, app.columnMap, CriteriaOf(o, true), &mounts, std::vector<bool>(3, true));
  EXPECT_EQ(finder.LaterMatches(0), std::vector<std::size_t>{1}) << "the two rows on / are one group";
  EXPECT_TRUE(finder.LaterMatches(1).empty());
}

TEST_F(DuplicateSearchTest, NonTransitiveGroupsRepeatTheMiddleRow) {
  // A ~ B and B ~ C at 50 %, but not A ~ C.
  app.files = {Row("abcdefghij"), Row("abcdeklmno"), Row("klmnopqrst")};
  OnlyTitle(8);
  app.options.duplicate.emptyLines = false;
  SearchDuplicates(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"abcdefghij", "abcdeklmno", "abcdeklmno", "klmnopqrst"}));
  app.options.duplicate.removeDuplicates = true;
  SearchDuplicates(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"abcdefghij", "abcdeklmno", "klmnopqrst"}));
}

TEST_F(DuplicateSearchTest, EmptyLinesSeparateGroupsAndSelectTheDuplicates) {
  app.files = {Row("a"), Row("b"), Row("a"), Row("b"), Row("a"), Row("c")};
  OnlyTitle(0);
  SearchDuplicates(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "a*", "a*", "--", "b", "b*", "--", "a", "a*"}));
  EXPECT_EQ(app.currentPage, catalogue::Page::Results);
}

TEST_F(DuplicateSearchTest, NoCriterionSaysSo) {
  auto& o = app.options.duplicate;
  o.album = o.artist = o.title = false;
  app.results = {Row("kept")};
  app.options.duplicate.appendResults = true;
  SearchDuplicates(app);
  SearchDifferences(app);
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{
                "message(information): You have to check at least one box in \"Duplicate search options\" [OK]",
                "message(information): You have to check at least one box in \"Duplicate search options\" [OK]"}));
  EXPECT_EQ(app.results.size(), 1u);
}

TEST_F(DuplicateSearchTest, DifferencesWithoutDrive) {
  app.files = {Row("A"), Row("B"), Row("A")};
  OnlyTitle(0);
  SearchDifferences(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"B"}));
  app.files = {Row("only")};
  SearchDifferences(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"only"})) << "one row is copied and stays";
  app.options.duplicate.onlySelected = true;
  SearchDifferences(app);
  EXPECT_EQ(frontend.Log("message").back(), "message(information): Nothing selected in FILES. [OK]");
}

TEST_F(DuplicateSearchTest, DifferencesWithDriveKeepRowsMatchedOnlyOnTheSameDrive) {
  app.files = {Row("x", "C:\\a\\"), Row("x", "D:\\b\\"), Row("y", "C:\\a\\"), Row("y", "C:\\b\\"), Row("z", "C:\\")};
  OnlyTitle(0);
  app.options.duplicate.drive = true;
  SearchDifferences(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"y", "y", "z"}));
}

// The searches exactly as defined: every pair compared, rows deleted as the
// loops go. The fast searches must give the same RESULTS for any options.
std::vector<catalogue::TrackRecord> ReferenceDuplicates(const std::vector<catalogue::TrackRecord>& files,
                                                        const catalogue::ColumnMap& map,
                                                        const catalogue::DuplicateOptions& o) {
  std::vector<catalogue::TrackRecord> results;
  const auto criteria = CriteriaOf(o, true);
  std::vector<bool> grouped(files.size(), false);
  auto chosen = [&](std::size_t i) { return !o.onlySelected || files[i].selected; };
  auto equal16 = [](const catalogue::TrackRecord& a, const catalogue::TrackRecord& b) {
    for (int s = 0; s < 16; ++s) {
      if (a.texts[static_cast<std::size_t>(s)] != b.texts[static_cast<std::size_t>(s)]) return false;
    }
    return true;
  };
  for (std::size_t q = 0; q + 1 < files.size(); ++q) {
    if (chosen(q)) {
      for (std::size_t j = q + 1; j < files.size(); ++j) {
        if (chosen(j) && RowsMatch(files[q], files[j], map, criteria, nullptr)) grouped[q] = grouped[j] = true;
      }
    }
    bool any = false;
    for (std::size_t i = q; i < files.size(); ++i) {
      if (!grouped[i]) continue;
      any = true;
      grouped[i] = false;
      if (o.removeDuplicates &&
          std::any_of(results.begin(), results.end(), [&](const auto& r) { return equal16(r, files[i]); })) {
        continue;
      }
      results.push_back(files[i]);
    }
    if (any && o.emptyLines) results.emplace_back();
  }
  return results;
}

std::vector<catalogue::TrackRecord> ReferenceDifferences(const std::vector<catalogue::TrackRecord>& files,
                                                         const catalogue::ColumnMap& map,
                                                         const catalogue::DuplicateOptions& o) {
  std::vector<catalogue::TrackRecord> results;
  for (const auto& row : files) {
    if (!o.onlySelected || row.selected) results.push_back(row);
  }
  const auto criteria = CriteriaOf(o, false);
  std::size_t p = 0;
  while (results.size() > 1 && p < results.size() - 1) {
    std::size_t last = results.size() - 1;
    std::vector<std::size_t> matched;
    bool found = false;
    for (std::size_t j = last; j > p; --j) {
      const bool otherDrive =
          o.drive && !TextsMatch(map.Get(results[j], Column::Path), map.Get(results[p], Column::Path), -2, nullptr);
      if (!RowsMatch(results[j], results[p], map, criteria, nullptr)) continue;
      if (o.drive) {
        matched.push_back(j);
        found = found || otherDrive;
      } else {
        found = true;
        results.erase(results.begin() + static_cast<std::ptrdiff_t>(j));
      }
    }
    if (found) {
      for (std::size_t j : matched) results.erase(results.begin() + static_cast<std::ptrdiff_t>(j));
      results.erase(results.begin() + static_cast<std::ptrdiff_t>(p));
    } else {
      ++p;
    }
  }
  return results;
}

TEST_F(DuplicateSearchTest, StopKeepsTheGroupsWrittenSoFar) {
  for (const char* title : {"t0", "t0", "t1", "t1", "t2", "t2", "t3", "t3"}) app.files.push_back(Row(title));
  OnlyTitle(0);
  const int pumps = frontend.Pumps();
  frontend.AtPump(pumps + 4, [&] { catalogue::StopCommand(app); });  // while row 2 is done: its group is written
  frontend.Answer(catalogue::Button::Yes);
  SearchDuplicates(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"t0", "t0*", "--", "t1", "t1*"})) << "tidied up after the stop too";
  EXPECT_EQ(frontend.Log("message"),
            std::vector<std::string>{"message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes"});
  EXPECT_EQ(app.currentPage, catalogue::Page::Results);
}

TEST_F(DuplicateSearchTest, StopDuringTheDifferenceSearchKeepsWhatIsLeft) {
  for (const char* title : {"t0", "t1", "t0", "t1", "t2", "t3", "t2", "t3"}) app.files.push_back(Row(title));
  OnlyTitle(0);
  const int pumps = frontend.Pumps();
  // Pumps: the start, the first copied row, then one per compared row.
  frontend.AtPump(pumps + 3, [&] { catalogue::StopCommand(app); });
  frontend.Answer(catalogue::Button::Yes);
  SearchDifferences(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"t2", "t3", "t2", "t3"})) << "t0 and t1 were compared, t2 and t3 not";
  EXPECT_FALSE(frontend.AnswersLeft());

  frontend.AtPump(frontend.Pumps() + 2, [&] { catalogue::StopCommand(app); });  // during the copy
  frontend.Answer(catalogue::Button::Yes);
  SearchDifferences(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"t0", "t1"})) << "the copy stops after the next row; no comparing";
}

TEST_F(DuplicateSearchTest, UntaggedCatalogueAsksBeforeBuildingMillionsOfRows) {
  for (int i = 0; i < 1500; ++i) app.files.push_back(Row("", "/m/"));  // Album, Artist, Title all empty
  app.results = {Row("kept")};
  frontend.Answer(catalogue::Button::No);
  SearchDuplicates(app);
  EXPECT_EQ(frontend.Log("beep"), std::vector<std::string>{"beep: question"});
  EXPECT_EQ(frontend.Log("message"),
            std::vector<std::string>{"message(confirmation): The duplicate search finds 1.127.248 lines for RESULTS.\n\r"
                                     "That needs much memory and time.\n\r\rContinue ? [Yes/No] -> No"});
  EXPECT_EQ(Titles(), std::vector<std::string>{"kept"}) << "No leaves RESULTS as it was";
  EXPECT_TRUE(frontend.Log("page").empty()) << "nothing started, so no page change";

  app.options.duplicate.emptyLines = false;
  EXPECT_EQ(DuplicateRowsAbove(app, kLargeResultRows), std::optional<std::uint64_t>(1125749));
  app.options.duplicate.title = false;  // Album and Artist alike still
  EXPECT_EQ(DuplicateRowsAbove(app, 0), std::optional<std::uint64_t>(1125749));
  app.options.duplicate.onlySelected = true;
  EXPECT_EQ(DuplicateRowsAbove(app, 0), std::nullopt) << "nothing selected takes part";
}

TEST_F(DuplicateSearchTest, CountedRowsAreTheRowsTheSearchWrites) {
  std::mt19937 random(99);
  const std::vector<std::string> titles = {"", "abba gold", "abba - gold", "Gold", "gold", "waterloo", "x"};
  for (int round = 0; round < 300; ++round) {
    app.files.clear();
    const int rows = static_cast<int>(random() % 12);
    for (int i = 0; i < rows; ++i) app.files.push_back(Row(titles[random() % titles.size()]));
    OnlyTitle(static_cast<int>(random() % 9));
    app.options.duplicate.emptyLines = random() % 2 == 0;
    const auto counted = DuplicateRowsAbove(app, 0);
    SearchDuplicates(app);
    std::size_t written = app.results.size();
    if (app.options.duplicate.emptyLines && written > 0) ++written;  // the tidy-up drops the last separator
    EXPECT_EQ(counted.value_or(0), written) << "round " << round;
  }
}

TEST_F(DuplicateSearchTest, FastSearchesAgreeWithThePairwiseDefinition) {
  std::mt19937 random(1234);
  const std::vector<std::string> words = {"abba", "ABBA", "gold", "Gold", "abba gold", "abba - gold", "", "waterloo",
                                          "Waterloo live", "love", "lovely", "x", "abcdefghij", "abcdeklmno"};
  const std::vector<std::string> paths = {"C:\\m\\a\\", "c:\\n\\A\\", "D:\\m\\a\\", "/music/a/", "--- NJB ---",
                                          "C:\\m\\b\\"};
  auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  for (int round = 0; round < 3000; ++round) {
    app.files.clear();
    const int rows = static_cast<int>(random() % 9);
    for (int i = 0; i < rows; ++i) {
      catalogue::TrackRecord row;
      for (Column c : {Column::Album, Column::Artist, Column::Title, Column::Genre, Column::Year, Column::Comment,
                       Column::Filename, Column::Label, Column::Track, Column::Size, Column::Length}) {
        app.columnMap.Set(row, c, random() % 3 == 0 ? std::string() : pick(words));
      }
      app.columnMap.Set(row, Column::Path, pick(paths));
      row.selected = random() % 3 != 0;
      app.files.push_back(row);
    }
    catalogue::DuplicateOptions& o = app.options.duplicate;
    bool* flags[] = {&o.album, &o.artist, &o.title, &o.genre, &o.year, &o.comment, &o.filename,
                     &o.path, &o.drive, &o.label, &o.track, &o.fileSize, &o.length};
    for (bool* flag : flags) *flag = random() % 4 == 0;
    o.title = o.title || !o.AnyCriterion();
    o.albumMode = static_cast<int>(random() % 9);
    o.artistMode = static_cast<int>(random() % 9);
    o.titleMode = static_cast<int>(random() % 9);
    o.onlySelected = random() % 3 == 0;
    o.emptyLines = random() % 2 == 0;
    o.removeDuplicates = random() % 2 == 0;
    o.appendResults = false;

    SearchDuplicates(app);
    auto expected = ReferenceDuplicates(app.files, app.columnMap, o);
    if (o.emptyLines) {
      // The reference stops before the tidy-up; compare texts after it.
      std::vector<catalogue::TrackRecord> tidy;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        const bool separator = app.columnMap.Get(expected[i], Column::Path).empty();
        const bool nextSeparator = i + 1 == expected.size() || app.columnMap.Get(expected[i + 1], Column::Path).empty();
        if (!(separator && nextSeparator)) tidy.push_back(expected[i]);
      }
      expected = tidy;
    }
    ASSERT_EQ(app.results.size(), expected.size()) << "round " << round;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(app.results[i].texts, expected[i].texts) << "round " << round << " row " << i;
    }

    SearchDifferences(app);
    if (o.onlySelected && catalogue::CountSelected(app.files) == 0) continue;
    const auto differences = ReferenceDifferences(app.files, app.columnMap, o);
    ASSERT_EQ(app.results.size(), differences.size()) << "round " << round;
    for (std::size_t i = 0; i < differences.size(); ++i) {
      ASSERT_EQ(app.results[i].texts, differences[i].texts) << "round " << round << " row " << i;
    }
  }
}

}  // namespace
}  // namespace tonvault::views
