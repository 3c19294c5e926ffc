#include <gtest/gtest.h>

#include "support/ScriptedFrontend.h"
#include "views/TextSearch.h"

namespace tonvault::views {
namespace {

using catalogue::Column;
using testing::ScriptedFrontend;

class SearchTest : public ::testing::Test {
 protected:
  catalogue::TrackRecord Row(const std::string& artist, const std::string& title, const std::string& path = "/m/") {
    catalogue::TrackRecord row;
    app.columnMap.Set(row, Column::Artist, artist);
    app.columnMap.Set(row, Column::Title, title);
    app.columnMap.Set(row, Column::Path, path);
    return row;
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> out;
    for (const auto& row : app.results) out.push_back(app.columnMap.Get(row, Column::Title));
    return out;
  }
  catalogue::SearchOptions& search = app.options.search;
  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
};

TEST_F(SearchTest, MatchCaseDecidesWhetherAbbaFindsABBA) {
  app.files = {Row("ABBA", "Waterloo"), Row("Queen", "Bohemian")};
  search.text = "abba";
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Waterloo"}));
  EXPECT_EQ(app.currentPage, catalogue::Page::Results);
  search.matchCase = true;
  SearchInFiles(app);
  EXPECT_TRUE(app.results.empty());
}

TEST_F(SearchTest, OnlyAtBeginningAndAsciiLowering) {
  app.files = {Row("x", "Gold"), Row("x", "Abba Gold"), Row("x", "Ärger"), Row("x", "ärger")};
  search.text = "gold";
  search.onlyAtBeginning = true;
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Gold"}));
  search.text = "ärger";
  search.onlyAtBeginning = false;
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"ärger"})) << "an accented capital is not lowered";
  search.text = "";
  SearchInFiles(app);
  EXPECT_TRUE(app.results.empty()) << "an empty text finds nothing";
}

TEST_F(SearchTest, AppendingTwiceKeepsEachRowOnce) {
  app.files = {Row("a", "love me"), Row("b", "love you"), Row("c", "hate")};
  search.text = "love";
  search.appendResults = true;
  SearchInFiles(app);
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"love me", "love you"}));
  search.text = "hate";
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"love me", "love you", "hate"}));
}

TEST_F(SearchTest, SearchInResultsWithOnlySelectedAndNoSelectionChangesNothing) {
  app.results = {Row("a", "one"), Row("b", "two")};
  search.text = "zzz";
  search.onlySelected = true;
  SearchInResults(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"one", "two"}));
  app.results[1].selected = true;
  SearchInResults(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"one"})) << "only the examined row that fails goes";
  search.onlySelected = false;
  search.text = "on";
  SearchInResults(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"one"}));
}

TEST_F(SearchTest, PathSearchFindsPlayerRows) {
  app.files = {Row("a", "player", "--- NJB ---"), Row("b", "disk", "/music/NJ/")};
  search.album = search.artist = search.title = false;
  search.path = true;
  search.text = "NJB";
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"player"}));
}

TEST_F(SearchTest, OnlySelectedFilesAreExaminedAndStopKeepsWhatWasFound) {
  for (int i = 0; i < 60; ++i) app.files.push_back(Row("a", "hit " + std::to_string(i)));
  app.files[1].selected = app.files[3].selected = true;
  search.text = "hit";
  search.onlySelected = true;
  SearchInFiles(app);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"hit 1", "hit 3"}));
  search.onlySelected = false;
  frontend.AtPump(frontend.Pumps() + 2, [&] { catalogue::StopCommand(app); });  // after 25 rows
  frontend.Answer(catalogue::Button::Yes);
  SearchInFiles(app);
  EXPECT_EQ(app.results.size(), 25u) << "the rows found before the stop stay";
}

TEST_F(SearchTest, StopDuringASearchInResultsKeepsTheRowsNotYetExamined) {
  for (int i = 0; i < 60; ++i) app.results.push_back(Row("a", (i % 2 == 0 ? "hit " : "miss ") + std::to_string(i)));
  search.text = "hit";
  frontend.AtPump(frontend.Pumps() + 2, [&] { catalogue::StopCommand(app); });  // after 25 rows from the bottom
  frontend.Answer(catalogue::Button::Yes);
  SearchInResults(app);
  EXPECT_EQ(frontend.Log("message"),
            std::vector<std::string>{"message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes"});
  ASSERT_EQ(app.results.size(), 35u + 12u) << "rows 0..34 unexamined, the 12 hits of rows 35..59 kept";
  const std::vector<std::string> titles = Titles();
  EXPECT_EQ(titles[34], "hit 34");
  EXPECT_EQ(titles[35], "hit 36");
  EXPECT_EQ(titles.back(), "hit 58");
}

}  // namespace
}  // namespace tonvault::views
