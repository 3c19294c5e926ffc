#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/DatabaseFormat.h"
#include "support/CodePageScope.h"
#include "support/FileContents.h"
#include "support/Cat.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::Cat;
using testing::ScriptedFrontend;

using testing::Contents;

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A record of the file format: the icon line and the sixteen fields.
std::string Record(const std::string& icon, const std::vector<std::string>& fields) {
  std::string out = icon + "\r\n";
  for (int i = 0; i < kLogicalColumnCount; ++i) {
    out += (static_cast<std::size_t>(i) < fields.size() ? fields[static_cast<std::size_t>(i)] : "") + "\r\n";
  }
  return out;
}

class DatabaseTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  TrackRecord Row(const std::string& album, const std::string& title, int icon = 8) {
    TrackRecord row;
    row.icon = icon;
    app.columnMap.Set(row, Column::Album, album);
    app.columnMap.Set(row, Column::Title, title);
    return row;
  }
  std::string_view Cell(std::size_t row, Column column) const { return app.columnMap.Get(app.files.at(row), column); }

  testing::TempFolder folder;
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST(CleanField, LineBreaksNeverSplitARecord) {
  EXPECT_EQ(CleanField("a\r\nb"), "a - b");
  EXPECT_EQ(CleanField("a\nb"), "ab");
  EXPECT_EQ(CleanField("a\rb"), "a - b");
  EXPECT_EQ(CleanField("plain"), "plain");
}

TEST(DatabaseFormat, VersionLineAndIconRules) {
  EXPECT_TRUE(IsValidVersionLine("Fileversion: 1"));
  EXPECT_TRUE(IsValidVersionLine("XFileversion:1"));
  EXPECT_TRUE(IsValidVersionLine("Fileversion:   1  "));
  EXPECT_FALSE(IsValidVersionLine("Fileversion: 2"));
  EXPECT_FALSE(IsValidVersionLine("Fileversion: x"));
  EXPECT_FALSE(IsValidVersionLine("Version: 1"));
  EXPECT_EQ(ParseIcon("8"), 8);
  EXPECT_EQ(ParseIcon("-1"), -1);
  EXPECT_EQ(ParseIcon("99"), 99) << "codes no reader writes are kept";
  EXPECT_EQ(ParseIcon("abc"), -1);
  EXPECT_EQ(ParseIcon(""), -1);
}

TEST(DatabaseFormat, DraggedColumnsWriteTheSameFile) {
  ColumnMap identity, dragged;
  dragged.RebuildFromHeadings({"Title", "Album", "Artist", "Genre", "Track", "Year", "Comment", "Size [kB]", "Bitrate",
                               "Freq.", "Mode", "Length", "Codec", "Filename", "Path", "Label"});
  std::vector<TrackRecord> a(1), b(1);
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    identity.Set(a[0], static_cast<Column>(c), Cat({"v", std::to_string(c)}));
    dragged.Set(b[0], static_cast<Column>(c), Cat({"v", std::to_string(c)}));
  }
  EXPECT_NE(a[0].texts, b[0].texts) << "the slots differ";
  EXPECT_EQ(EncodeDatabase(a, identity), EncodeDatabase(b, dragged));
}

TEST_F(DatabaseTest, SaveAndLoadRoundTripThousandRows) {
  for (int i = 0; i < 1000; ++i) {
    TrackRecord row;
    row.icon = i % 40 - 1;
    for (int c = 0; c < kLogicalColumnCount; ++c) {
      app.columnMap.Set(row, static_cast<Column>(c), Cat({"Ärger ", std::to_string(i), "/", std::to_string(c), " 東京"}));
    }
    if (i == 500) app.columnMap.Set(row, Column::Comment, "two\r\nlines");
    app.files.push_back(row);
  }
  const auto saved = app.files;
  ASSERT_TRUE(WriteDatabase(app, Path("big.tvd"), app.files));
  app.files.clear();
  ASSERT_TRUE(ReadDatabase(app, Path("big.tvd"), false));
  ASSERT_EQ(app.files.size(), saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    EXPECT_EQ(app.files[i].icon, saved[i].icon) << i;
    for (int c = 0; c < kLogicalColumnCount; ++c) {
      const std::string expected = CleanField(app.columnMap.Get(saved[i], static_cast<Column>(c)));
      EXPECT_EQ(Cell(i, static_cast<Column>(c)), expected) << i << "/" << c;
    }
  }
  EXPECT_EQ(Cell(500, Column::Comment), "two - lines");
}

TEST_F(DatabaseTest, SavingFilesNamesTheCatalogueAndClearsTheMark) {
  app.files = {Row("Gold", "Waterloo")};
  SetCatalogueModified(app, true);
  frontend.ChooseFile(Path("abba.tvd"));
  SaveDatabase(app);
  EXPECT_EQ(frontend.Log("save dialog"), (std::vector<std::string>{"save dialog:  Save Tonvault Database -> " + Path("abba.tvd")}));
  EXPECT_FALSE(app.catalogueModified);
  EXPECT_EQ(frontend.Title(), "Tonvault    -    abba.tvd");
  EXPECT_EQ(app.databaseFolder, folder.Path() + "/");
  EXPECT_EQ(app.recentDatabases.Entries().front(), Path("abba.tvd"));
  EXPECT_EQ(Contents(Path("abba.tvd")), "\xEF\xBB\xBF" "Fileversion: 1\r\n" + Record("8", {"Gold", "", "Waterloo"}));

  // Save again under the known name: no dialog.
  app.files.push_back(Row("Arrival", "Money"));
  SetCatalogueModified(app, true);
  SaveDatabase(app);
  EXPECT_EQ(frontend.Log("save dialog").size(), 1u);
  EXPECT_FALSE(app.catalogueModified);
}

TEST_F(DatabaseTest, SaveWithFilesEmptyOnlyBeepsEvenWithAName) {
  app.databaseFileName = "known.tvd";
  SaveDatabase(app);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{"beep: default"}));
}

TEST_F(DatabaseTest, ResultsSavedThenLoadedIntoFiles) {
  app.results = {Row("R1", "t1"), Row("R2", "t2", 12)};
  app.databaseFileName = "main.tvd";
  frontend.ChooseFile(Path("results.tvd"));
  SaveResultsToDatabase(app);
  EXPECT_EQ(app.databaseFileName, "main.tvd") << "saving RESULTS keeps the catalogue's name";
  ASSERT_TRUE(ReadDatabase(app, Path("results.tvd"), false));
  ASSERT_EQ(app.files.size(), 2u);
  EXPECT_EQ(Cell(1, Column::Album), "R2");
  EXPECT_EQ(app.files[1].icon, 12);
  EXPECT_EQ(app.databaseFileName, "results.tvd");
}

TEST_F(DatabaseTest, SavingResultsElsewhereLeavesTheCatalogueFileWhereItIs) {
  fs::create_directory(Path("other"));
  app.files = {Row("Gold", "Waterloo")};
  frontend.ChooseFile(Path("main.tvd"));
  SaveDatabaseAs(app);
  app.results = {Row("R1", "t1")};
  frontend.ChooseFile(Path("other/results.tvd"));
  SaveResultsToDatabase(app);
  EXPECT_EQ(app.databaseFolder, folder.Path() + "/");

  app.files.push_back(Row("Arrival", "Money"));
  SetCatalogueModified(app, true);
  SaveDatabase(app);
  EXPECT_FALSE(fs::exists(Path("other/main.tvd"))) << "no file the user never chose";
  EXPECT_NE(Contents(Path("main.tvd")).find("Arrival"), std::string::npos) << "the catalogue's own file is saved";
  EXPECT_EQ(frontend.Log("save dialog").size(), 2u);

  // Before the catalogue has a name the folder only starts the dialogs, and
  // follows the RESULTS file.
  Application fresh{frontend};
  fresh.results = {Row("R1", "t1")};
  frontend.ChooseFile(Path("other/results.tvd"));
  SaveResultsToDatabase(fresh);
  EXPECT_EQ(fresh.databaseFolder, Path("other") + "/");
}

TEST_F(DatabaseTest, OpenDialogsNameWhatTheyOpenAndStartAtTheCatalogue) {
  Write(Path("abba.tvd"), "Fileversion: 1\r\n" + Record("8", {"Gold", "", "Waterloo"}));
  app.databaseFolder = folder.Path() + "/";
  app.databaseFileName = "abba.tvd";
  frontend.ChooseFile(std::nullopt);
  OpenDatabase(app, false);
  const FileDialogRequest& open = frontend.LastFileDialog();
  EXPECT_EQ(open.title, " Open Tonvault Database");
  EXPECT_EQ(open.folder, folder.Path() + "/");
  EXPECT_EQ(open.proposedName, "abba.tvd");
  EXPECT_EQ(open.defaultExtension, "TVD");
  EXPECT_EQ(open.filter, "Tonvault Database   (*.TVD)|*.TVD");
  EXPECT_TRUE(app.files.empty()) << "cancelled";

  app.options.search.text = "water";
  frontend.ChooseFile(Path("abba.tvd"));
  OpenDatabase(app, true);
  EXPECT_EQ(frontend.LastFileDialog().title, " Open Tonvault Database (only items from Search)");
  EXPECT_EQ(app.files.size(), 1u) << "Title is searched by default";

  frontend.ChooseFile(std::nullopt);
  SaveDatabaseAs(app);
  EXPECT_EQ(frontend.LastFileDialog().title, " Save Tonvault Database");
  EXPECT_EQ(frontend.LastFileDialog().filter, "Tonvault Database (*.TVD)|*.TVD");
  app.results = app.files;
  frontend.ChooseFile(std::nullopt);
  SaveResultsToDatabase(app);
  EXPECT_EQ(frontend.LastFileDialog().title, " Save RESULTS as Tonvault Database");
}

TEST_F(DatabaseTest, WrongVersionIsRefusedAndReadsNoRows) {
  Write(Path("v2.tvd"), "Fileversion: 2\r\n" + Record("8", {"A"}));
  app.databaseFileName = "before.tvd";
  EXPECT_FALSE(ReadDatabase(app, Path("v2.tvd"), false));
  EXPECT_TRUE(app.files.empty());
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{"message(error): Cannot read File\n\r\"" + Path("v2.tvd") +
                                                                "\".\n\r\rWrong Fileversion !" + " [OK]"}));
  EXPECT_EQ(app.databaseFileName, "before.tvd") << "a failed load keeps the previous name";

  Write(Path("x.tvd"), "XFileversion:1\r\n" + Record("abc", {"A"}));
  ASSERT_TRUE(ReadDatabase(app, Path("x.tvd"), false));
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(app.files[0].icon, -1);
}

TEST_F(DatabaseTest, ShortLastRecordStillAddsARow) {
  std::string file = "Fileversion: 1\r\n" + Record("8", {"First"});
  file += "9\r\nAlbum\r\nArtist\r\nTitle\r\nGenre\r\n5\r\n1999\r\nComment\r\n100\r\n128\r\n";  // 10 lines
  Write(Path("short.tvd"), file);
  ASSERT_TRUE(ReadDatabase(app, Path("short.tvd"), false));
  ASSERT_EQ(app.files.size(), 2u);
  EXPECT_EQ(Cell(1, Column::Bitrate), "128");
  EXPECT_EQ(Cell(1, Column::Freq), "");
  EXPECT_EQ(Cell(1, Column::Label), "");
}

TEST_F(DatabaseTest, AppendQuestionDecidesWhatHappensToFiles) {
  Write(Path("one.tvd"), "Fileversion: 1\r\n" + Record("8", {"Loaded"}));
  app.files = {Row("Existing", "x")};
  app.databaseFileName = "old.tvd";

  frontend.Answer(Button::Cancel);
  EXPECT_TRUE(ReadDatabase(app, Path("one.tvd"), false));
  EXPECT_EQ(app.files.size(), 1u);
  EXPECT_EQ(app.databaseFileName, "old.tvd") << "a cancelled load keeps the previous name";

  frontend.Answer(Button::Yes);
  ReadDatabase(app, Path("one.tvd"), false);
  EXPECT_EQ(app.files.size(), 2u);
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_EQ(frontend.Title(), "Tonvault    -    one.tvd*");

  frontend.Answer(Button::No);
  ReadDatabase(app, Path("one.tvd"), false);
  EXPECT_EQ(app.files.size(), 1u);
  EXPECT_EQ(Cell(0, Column::Album), "Loaded");
  EXPECT_EQ(frontend.Log("message").front(),
            "message(confirmation): Files list is not empty.\n\r\rAppend to list ? [Yes/No/Cancel] -> Cancel");
}

TEST_F(DatabaseTest, SelectiveLoadKeepsOnlyFoundRows) {
  Write(Path("sel.tvd"), "Fileversion: 1\r\n" + Record("8", {"", "", "Endless love"}) +
                             Record("8", {"", "", "Hello"}) + Record("8", {"Love songs", "", "x"}));
  app.options.search.text = "LOVE";
  app.options.search.album = app.options.search.artist = false;
  app.options.search.title = true;
  ASSERT_TRUE(ReadDatabase(app, Path("sel.tvd"), true));
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(Cell(0, Column::Title), "Endless love");

  app.files.clear();
  app.options.search.matchCase = true;
  ReadDatabase(app, Path("sel.tvd"), true);
  EXPECT_TRUE(app.files.empty()) << "LOVE with Match case finds nothing";
  app.options.search.text = "";
  app.options.search.matchCase = false;
  ReadDatabase(app, Path("sel.tvd"), true);
  EXPECT_TRUE(app.files.empty()) << "an empty text matches nothing";
}

TEST_F(DatabaseTest, Windows1252CatalogueLoadsWithItsAccents) {
  Write(Path("old.tvd"), "Fileversion: 1\r\n" + Record("8", {"Caf\xE9 del Mar", "Bj\xF6rk", "\x80 Euro"}));
  ASSERT_TRUE(ReadDatabase(app, Path("old.tvd"), false));
  EXPECT_EQ(Cell(0, Column::Album), "Café del Mar");
  EXPECT_EQ(Cell(0, Column::Artist), "Björk");
  EXPECT_EQ(Cell(0, Column::Title), "€ Euro");
  Write(Path("utf8.tvd"), "Fileversion: 1\r\n" + Record("8", {"Café"}));
  frontend.Answer(Button::Yes);
  ASSERT_TRUE(ReadDatabase(app, Path("utf8.tvd"), false));
  EXPECT_EQ(Cell(1, Column::Album), "Café") << "UTF-8 without a mark is taken as UTF-8";
}

TEST_F(DatabaseTest, OldCatalogueIsReadInTheChosenCodePage) {
  Write(Path("old.tvd"), "Fileversion: 1\r\n" + Record("8", {"\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8", "\xCA\xE8\xED\xEE"}));
  {
    testing::CodePageScope cyrillic(audio::CodePage::Windows1251);
    ASSERT_TRUE(ReadDatabase(app, Path("old.tvd"), false));
  }
  EXPECT_EQ(Cell(0, Column::Album), "Группа крови");
  EXPECT_EQ(Cell(0, Column::Artist), "Кино");
  Write(Path("utf8.tvd"), "Fileversion: 1\r\n" + Record("8", {"Кино"}));
  testing::CodePageScope cyrillic(audio::CodePage::Koi8R);
  frontend.Answer(Button::Yes);
  ASSERT_TRUE(ReadDatabase(app, Path("utf8.tvd"), false));
  EXPECT_EQ(Cell(1, Column::Album), "Кино") << "UTF-8 stays UTF-8 whatever the code page";
}

TEST_F(DatabaseTest, FailedSaveLeavesTheOldFileWhole) {
  app.files = {Row("New", "content")};
  const std::string path = Path("keep.tvd");
  Write(path, "Fileversion: 1\r\n" + Record("7", {"Old"}));
  const std::string before = Contents(path);
  SetCatalogueModified(app, true);
  for (std::size_t failAt : {0u, 1u, 20u, 100u}) {
    const files::WriteFault fault{failAt};
    EXPECT_FALSE(WriteDatabase(app, path, app.files, &fault));
    EXPECT_EQ(Contents(path), before) << "fault after " << failAt << " bytes";
  }
  EXPECT_TRUE(app.catalogueModified);
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(folder.Path())) entries += entry.is_regular_file();
  EXPECT_EQ(entries, 1u) << "no temporary file left behind";
  EXPECT_EQ(frontend.Log("message").back(), "message(error): Cannot write File\n\r\"" + path + "\" ! [OK]");
  EXPECT_EQ(frontend.Log("beep").back(), "beep: exclamation");
}

TEST_F(DatabaseTest, UnwritableAndUnreadablePathsSaySo) {
  app.files = {Row("A", "b")};
  EXPECT_FALSE(WriteDatabase(app, Path("no/such/folder/x.tvd"), app.files));
  EXPECT_EQ(frontend.Log("message").back(),
            "message(error): Cannot write File\n\r\"" + Path("no/such/folder/x.tvd") + "\" ! [OK]");
  app.files.clear();
  app.recentDatabases.Add(Path("gone.tvd"));
  OpenRecentDatabase(app, Path("gone.tvd"));
  EXPECT_EQ(frontend.Log("message").back(), "message(error): Cannot read File\n\r\"" + Path("gone.tvd") + "\" ! [OK]");
  EXPECT_TRUE(app.recentDatabases.Entries().empty()) << "a failed load leaves the recent list";
}

TEST_F(DatabaseTest, SavedFileKeepsItsPermissions) {
  const std::string path = Path("perm.tvd");
  Write(path, "Fileversion: 1\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  app.files = {Row("A", "b")};
  ASSERT_TRUE(WriteDatabase(app, path, app.files));
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A write-protected catalogue in a writable folder: renaming a new file
// over it would succeed, so the protection is checked first.
TEST_F(DatabaseTest, AWriteProtectedCatalogueIsRefusedAndAnEditedLinkStaysALink) {
  const std::string protectedPath = Path("protected.tvd");
  Write(protectedPath, "Fileversion: 1\r\n");
  fs::permissions(protectedPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  app.files = {Row("A", "b")};
  SetCatalogueModified(app, true);
  EXPECT_FALSE(WriteDatabase(app, protectedPath, app.files));
  EXPECT_EQ(Contents(protectedPath), "Fileversion: 1\r\n");
  EXPECT_EQ(frontend.Log("message").back(), "message(error): Cannot write File\n\r\"" + protectedPath + "\" ! [OK]");
  EXPECT_TRUE(app.catalogueModified);

  fs::create_directories(Path("real"));
  Write(Path("real/music.tvd"), "Fileversion: 1\r\n");
  fs::create_symlink("real/music.tvd", Path("link.tvd"));
  ASSERT_TRUE(WriteDatabase(app, Path("link.tvd"), app.files));
  EXPECT_TRUE(fs::is_symlink(Path("link.tvd")));
  EXPECT_NE(Contents(Path("real/music.tvd")).find("\r\nb\r\n"), std::string::npos) << "the link's target holds the rows";
}

TEST_F(DatabaseTest, EscDuringALoadKeepsTheRowsSoFar) {
  std::string file = "Fileversion: 1\r\n";
  for (int i = 0; i < 100; ++i) file += Record("8", {Cat({"Album ", std::to_string(i)})});
  Write(Path("long.tvd"), file);
  frontend.AtPump(2, [&] { StopCommand(app); });  // during the pump after 25 rows
  frontend.Answer(Button::Yes);
  EXPECT_TRUE(ReadDatabase(app, Path("long.tvd"), false));
  EXPECT_EQ(app.files.size(), 25u);
  EXPECT_EQ(frontend.Log("panel0: Files:  ").front(), "panel0: Files:  25");
}

}  // namespace
}  // namespace tonvault::catalogue
