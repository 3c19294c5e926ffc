#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/PageChange.h"
#include "support/FileContents.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"
#include "views/Export.h"
#include "views/Views.h"

namespace tonvault::views {
namespace {

using catalogue::Column;
using catalogue::Page;
using testing::ScriptedFrontend;

using testing::Contents;

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { app.viewBuilder = &builder; }
  void AddRow(const std::string& album, const std::string& title) {
    catalogue::TrackRecord row;
    app.columnMap.Set(row, Column::Album, album);
    app.columnMap.Set(row, Column::Title, title);
    app.files.push_back(row);
  }
  testing::TempFolder folder;
  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
  ViewsBuilder builder;
};

TEST_F(ExportTest, DefaultHeaderHasTheSixteenCaptions) {
  AddRow("Gold", "Waterloo");
  const auto table = TableOfPage(app, Page::Files);
  ASSERT_TRUE(table.has_value());
  const std::string text = TextExport(*table);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "Album\tArtist\tTitle\tGenre\tTrack\tYear\tComment\tSize [kB]\tBitrate\tFreq.\tMode\tLength\tCodec\t"
            "Filename\tPath\tLabel");
  EXPECT_EQ(text.substr(text.find("\r\n") + 2), "Gold\t\tWaterloo\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
}

TEST_F(ExportTest, TabsAndLineBreaksInCellsBecomeBlanksInTheTextFile) {
  AddRow("Live\tin Rome", "two\r\nlines");
  AddRow("Gold", "one\nmore\r");
  const std::string text = TextExport(*TableOfPage(app, Page::Files));
  EXPECT_EQ(text.substr(text.find("\r\n") + 2),
            "Live in Rome\t\ttwo  lines\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
            "Gold\t\tone more \t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "one line per row";
  EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 3 * 15) << "sixteen fields on every line";
}

TEST_F(ExportTest, ColumnsBelowTheSeparatorAreLeftOut) {
  AddRow("Gold", "Waterloo");
  auto& order = app.options.print.filesOrder;
  const auto comment = order[6];
  order.erase(order.begin() + 6);
  order.push_back(comment);  // below the separator now
  std::swap(order[0], order[2]);  // Title first
  const auto table = TableOfPage(app, Page::Files);
  EXPECT_EQ(table->header.size(), 15u);
  EXPECT_EQ(table->header[0], "Title");
  EXPECT_EQ(std::count(table->header.begin(), table->header.end(), "Comment"), 0);
  EXPECT_EQ(table->rows[0][0], "Waterloo");
  const std::string html = HtmlExport(*table, app.options.print);
  EXPECT_EQ(html.find("Comment"), std::string::npos);
}

TEST_F(ExportTest, SeparatorNeverStandsInTheFirstTwoRows) {
  std::vector<catalogue::PrintItem> items = {{catalogue::kPrintSeparator, -1}, {" Album", 0}, {" Artist", 1}, {" Title", 2}};
  EXPECT_TRUE(catalogue::KeepTwoItemsAboveSeparator(items));
  EXPECT_EQ(items[2].column, -1);
  EXPECT_EQ(items[0].caption, " Album");
  EXPECT_FALSE(catalogue::KeepTwoItemsAboveSeparator(items));
}

TEST_F(ExportTest, HtmlCellsAreSafeAndKeepTheVisibleRule) {
  EXPECT_EQ(HtmlCell("A<B>C<D>"), "A[B]C&lt;D&gt;");
  EXPECT_EQ(HtmlCell(""), "-");
  EXPECT_EQ(HtmlCell("Tom & Jerry"), "Tom &amp; Jerry");
  EXPECT_EQ(HtmlCell("<script>alert(1)</script>"), "[script]alert(1)&lt;/script&gt;");
  // Exhaustively: no cell of any three characters from the dangerous ones
  // leaves a raw markup character behind.
  const std::string alphabet = "<>&a\"";
  for (char a : alphabet) {
    for (char b : alphabet) {
      for (char c : alphabet) {
        const std::string cell = HtmlCell(std::string{a, b, c});
        EXPECT_EQ(cell.find_first_of("<>"), std::string::npos) << cell;
        for (std::size_t at = cell.find('&'); at != std::string::npos; at = cell.find('&', at + 1)) {
          const std::string rest = cell.substr(at);
          EXPECT_TRUE(rest.rfind("&lt;", 0) == 0 || rest.rfind("&gt;", 0) == 0 || rest.rfind("&amp;", 0) == 0) << cell;
        }
      }
    }
  }
}

TEST_F(ExportTest, HtmlFileUsesTheConfiguredTagsLiterally) {
  AddRow("", "A<B>C<D>");
  app.options.print.tableTag = "<table>";
  app.options.print.headerCellTag = "<th>";
  app.options.print.rowTag = "<tr>";
  app.options.print.cellTag = "<td>";
  auto& order = app.options.print.filesOrder;
  order.insert(order.begin() + 3, {catalogue::kPrintSeparator, -1});  // Album, Artist, Title only
  const std::string html = HtmlExport(*TableOfPage(app, Page::Files), app.options.print);
  EXPECT_EQ(html,
            "<html><head><meta charset=\"utf-8\"><TITLE>Tonvault   -   All files</TITLE></head>\r\n"
            "<body>\r\n<table>\r\n<tr><th>Album</th><th>Artist</th><th>Title</th></tr>\r\n"
            "<tr><td>-</td><td>-</td><td>A[B]C&lt;D&gt;</td></tr>\r\n</table>\r\n</body></html>\r\n");
}

TEST_F(ExportTest, ViewsExportTheirColumnsByWord) {
  AddRow("Gold", "a");
  AddRow("Gold", "b");
  catalogue::ChangePage(app, Page::Albums);
  const auto table = TableOfPage(app, Page::Albums);
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->header, (std::vector<std::string>{"Album", "Artist", "Genre", "Tracks", "Size [kB]", "Length"}));
  EXPECT_EQ(table->rows[0][0], "Gold");
  EXPECT_EQ(table->rows[0][3], "2");
  EXPECT_EQ(table->title, "Tonvault   -   Albums");
  catalogue::ChangePage(app, Page::Artists);
  const auto artists = TableOfPage(app, Page::Artists);
  EXPECT_EQ(artists->header, (std::vector<std::string>{"Album", "Artist", "Genre", "Tracks", "Size [kB]", "Length"}))
      << "items keep their order; each names its column by its word";
  EXPECT_EQ(artists->rows.size(), 1u);
}

TEST_F(ExportTest, CommandsWriteTheFileOrOnlyBeep) {
  AddRow("Gold", "Waterloo");
  catalogue::ChangePage(app, Page::Search);
  ExportText(app);
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"}));
  EXPECT_TRUE(frontend.Log("save dialog").empty());

  catalogue::ChangePage(app, Page::Files);
  const std::string path = folder.Path() + "/list.htm";
  frontend.ChooseFile(path);
  ExportHtml(app);
  EXPECT_NE(Contents(path).find("<TD>Waterloo</td>"), std::string::npos);
  EXPECT_EQ(app.htmlFolder, folder.Path() + "/");
  EXPECT_EQ(frontend.Log("save dialog").back(), "save dialog:  Save list as HTML-file -> " + path);

  frontend.ChooseFile(folder.Path() + "/no/such/folder/list.txt");
  ExportText(app);
  EXPECT_EQ(frontend.Log("message").back().rfind("message(error): Cannot write File\n\r\"" + folder.Path() +
                                                     "/no/such/folder/list.txt\" !\n\r\r",
                                                 0),
            0u);
  EXPECT_EQ(app.currentPage, Page::Files);
}

}  // namespace
}  // namespace tonvault::views
