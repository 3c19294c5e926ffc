#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/CloseSequence.h"
#include "catalogue/CommandLine.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/Help.h"
#include "catalogue/PageChange.h"
#include "catalogue/RecentDatabases.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

using testing::ScriptedFrontend;

TEST(RecentDatabases, EleventhDistinctPathDropsTheOldest) {
  RecentDatabases recent;
  for (int i = 1; i <= 11; ++i) recent.Add("/m/" + std::to_string(i) + ".tvd");
  ASSERT_EQ(recent.Entries().size(), 10u);
  EXPECT_EQ(recent.Entries().front(), "/m/11.tvd");
  EXPECT_EQ(recent.Entries().back(), "/m/2.tvd");
}

TEST(RecentDatabases, ReAddingMovesToTopAndComparesCaseSensitively) {
  RecentDatabases recent;
  recent.Add("/m/a.tvd");
  recent.Add("/m/b.tvd");
  recent.Add("/m/a.tvd");
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/m/a.tvd", "/m/b.tvd"}));
  recent.Add("/m/A.tvd");
  EXPECT_EQ(recent.Entries().size(), 3u);
  EXPECT_EQ(recent.RemoveMissing([](const std::string& p) { return p != "/m/b.tvd"; }), 1u);
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/m/A.tvd", "/m/a.tvd"}));
}

class ApplicationTest : public ::testing::Test {
 protected:
  void AddRow() {
    app.files.emplace_back();
    FilesChanged(app);
  }
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(ApplicationTest, ModifiedMarkNeedsADatabaseName) {
  AddRow();
  EXPECT_EQ(frontend.Title(), "Tonvault");
  app.databaseFileName = "pop.tvd";
  SetCatalogueModified(app, true);
  EXPECT_EQ(frontend.Title(), "Tonvault    -    pop.tvd*");
  SetCatalogueModified(app, false);
  EXPECT_EQ(frontend.Title(), "Tonvault    -    pop.tvd");
}

TEST_F(ApplicationTest, CloseQueryIsNotAskedWithFilesEmpty) {
  SetCatalogueModified(app, true);
  EXPECT_TRUE(CloseQuery(app));
  EXPECT_TRUE(frontend.Log("message").empty());
}

TEST_F(ApplicationTest, CloseQueryIsNotAskedWhenTheOptionSaysSo) {
  AddRow();
  app.options.dontAskForSaveOnExit = true;
  EXPECT_TRUE(CloseQuery(app));
  EXPECT_TRUE(frontend.Log("message").empty());
}

TEST_F(ApplicationTest, CloseQueryNoClosesWithoutSaving) {
  AddRow();
  frontend.Answer(Button::No);
  EXPECT_TRUE(CloseQuery(app));
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: asterisk"}));
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{
                "message(warning): Content of list not saved !\n\r\rSave list ? [Yes/No/Cancel] -> No"}));
}

TEST_F(ApplicationTest, CloseQueryYesThenCancelledSaveDialogKeepsTheProgramOpen) {
  AddRow();
  frontend.Answer(Button::Yes);
  frontend.ChooseFile(std::nullopt);
  EXPECT_FALSE(CloseQuery(app));
  EXPECT_EQ(frontend.Log("save dialog"),
            (std::vector<std::string>{"save dialog:  Save Tonvault Database -> (cancel)"}));
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_TRUE(app.recentDatabases.Entries().empty());
}

TEST_F(ApplicationTest, CloseQueryCancelEndsTransferWaitsAndShowsFiles) {
  AddRow();
  ChangePage(app, Page::Statistics);
  app.transferToPlayerInProgress = app.transferFromPlayerInProgress = true;
  frontend.Answer(Button::Cancel);
  EXPECT_FALSE(CloseQuery(app));
  EXPECT_FALSE(app.transferToPlayerInProgress);
  EXPECT_FALSE(app.transferFromPlayerInProgress);
  EXPECT_EQ(app.currentPage, Page::Files);
}

TEST_F(ApplicationTest, SaveWithFilesEmptyOnlyBeeps) {
  SaveDatabase(app);
  SaveDatabaseAs(app);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{"beep: default", "beep: default"}));
}

TEST_F(ApplicationTest, PlaylistsWithANomadIIFallBackToFiles) {
  app.deviceKind = kDeviceNomadII;
  ChangePage(app, Page::Search);
  ChangePage(app, Page::Playlists);
  EXPECT_EQ(app.currentPage, Page::Files);
  EXPECT_EQ(app.commandStateCode, 1);
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(information): Nomad II cannot handle PlayLists. [OK]"}));
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: hand"}));
}

TEST_F(ApplicationTest, PageChangeSetsCodeAndStatusTexts) {
  app.files.resize(4);
  app.files[1].selected = app.files[3].selected = true;
  ChangePage(app, Page::Files);
  EXPECT_EQ(frontend.Panel(0), "Files: 4");
  EXPECT_EQ(frontend.Panel(1), "Selected: 2");
  ChangePage(app, Page::Synchronize);
  EXPECT_EQ(app.commandStateCode, 11);
  EXPECT_EQ(frontend.Panel(0), "Sync: 0");
  EXPECT_EQ(frontend.Panel(1), "Selected: 0");
  ChangePage(app, Page::Mp3);
  EXPECT_EQ(app.commandStateCode, 12);
  EXPECT_EQ(frontend.Panel(0), "");
  EXPECT_EQ(app.lastPage, Page::Mp3);
}

TEST_F(ApplicationTest, SelectionChangeUpdatesPanelOneOnlyWhenIdle) {
  app.files.resize(2);
  ChangePage(app, Page::Files);
  app.files[0].selected = true;
  SelectionChanged(app);
  EXPECT_EQ(frontend.Panel(1), "Selected: 1");
  SetCommandState(app, 0);
  app.files[1].selected = true;
  SelectionChanged(app);
  EXPECT_EQ(frontend.Panel(1), "Selected: 1");
}

TEST_F(ApplicationTest, CommandLineWithOneCatalogueNameLooksInTheProgramFolder) {
  testing::TempFolder folder;
  app.programFolder = folder.Path() + "/";
  HandleCommandLine(app, {"missing.TVD"});
  EXPECT_TRUE(frontend.Log().empty()) << "a missing catalogue does nothing";

  std::ofstream(folder.Path() + "/pop.TVD") << "Fileversion: 1\r\n";
  HandleCommandLine(app, {"pop.TVD"});
  EXPECT_EQ(app.databaseFileName, "pop.TVD") << "the catalogue was opened";
  EXPECT_TRUE(frontend.Log("message").empty());
}

// `tonvault music.tvd` typed in a shell opens the catalogue of the current
// folder, as it does for every other program; the folder of an installed
// program (/usr/bin) holds none.
TEST_F(ApplicationTest, CommandLineCatalogueNameIsFirstLookedUpInTheCurrentFolder) {
  testing::TempFolder here;
  testing::TempFolder program;
  app.programFolder = program.Path() + "/";
  std::ofstream(here.Path() + "/music.tvd") << "Fileversion: 1\r\n";
  std::ofstream(program.Path() + "/music.tvd") << "Fileversion: 2\r\n";
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(here.Path());
  HandleCommandLine(app, {"music.tvd"});
  std::filesystem::current_path(before);
  EXPECT_EQ(app.databaseFileName, "music.tvd");
  EXPECT_EQ(app.databaseFolder, here.Path() + "/") << "the current folder's file, not the program folder's";
  EXPECT_TRUE(frontend.Log("message").empty()) << "version 2 would have been refused";
}

TEST_F(ApplicationTest, CommandLineWithTwoCataloguesImportsThem) {
  HandleCommandLine(app, {"a.tvd", "b.tvd"});
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"})) << "no audio file: only a beep";
  EXPECT_TRUE(frontend.Log("message").empty());
  EXPECT_TRUE(app.files.empty());
  frontend.ClearLog();
  HandleCommandLine(app, {});
  EXPECT_TRUE(frontend.Log().empty());
}

TEST_F(ApplicationTest, FailedRecentLoadRemovesTheEntry) {
  app.recentDatabases.Add("/m/gone.tvd");
  OpenRecentDatabase(app, "/m/gone.tvd");
  EXPECT_TRUE(app.recentDatabases.Entries().empty());
}

TEST_F(ApplicationTest, CheckingTheRecentListRemovesMissingFilesAndReports) {
  testing::TempFolder folder;
  const std::string kept = folder.Path() + "/kept.tvd";
  std::ofstream(kept) << "Fileversion: 1\r\n";
  app.recentDatabases.Add(folder.Path() + "/gone1.tvd");
  app.recentDatabases.Add(kept);
  app.recentDatabases.Add(folder.Path() + "/gone2.tvd");
  CheckRecentList(app);
  EXPECT_EQ(app.recentDatabases.Entries(), (std::vector<std::string>{kept}));
  CheckRecentList(app);
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(information): 2 not more valid lines removed [OK]",
                                      "message(information): All entries are OK [OK]"}));
  ClearRecentList(app);
  EXPECT_TRUE(app.recentDatabases.Entries().empty());
}

TEST(CommandLine, CatalogueExtensionIsCaseInsensitive) {
  EXPECT_TRUE(IsCatalogueFileName("/x/Pop.TvD"));
  EXPECT_FALSE(IsCatalogueFileName("/x/pop.tvd.mp3"));
  EXPECT_FALSE(IsCatalogueFileName("tvd"));
}

// Help opens the manual at its context; a missing manual or a desktop
// without a browser is said, with the file, instead of nothing happening.
TEST_F(ApplicationTest, HelpOpensTheManualOrSaysWhyItCannot) {
  testing::TempFolder folder;
  app.programFolder = folder.Path() + "/bin/";
  std::filesystem::create_directories(app.programFolder);
  ShowHelp(app, 100);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: exclamation",
                                "message(error): The manual was not found next to the program:\n\r" +
                                    app.programFolder + "manual.html [OK]"}));

  std::filesystem::create_directories(folder.Path() + "/share/tonvault");
  std::ofstream(folder.Path() + "/share/tonvault/manual.html") << "<html></html>";
  const std::string installed = folder.Path() + "/share/tonvault/manual.html";
  EXPECT_EQ(ManualPath(app.programFolder), installed);
  frontend.ClearLog();
  ShowHelp(app, 500);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{"open manual: " + installed + " #500"}));

  std::ofstream(app.programFolder + "manual.html") << "<html></html>";
  frontend.NoProgramToOpenWith();
  frontend.ClearLog();
  ShowHelp(app, 100);
  EXPECT_EQ(frontend.Log(),
            (std::vector<std::string>{
                "open manual: " + app.programFolder + "manual.html #100 -> failed", "beep: exclamation",
                "message(error): No web browser was found to show the manual:\n\r" + app.programFolder +
                    "manual.html\n\r\rOpen it with a browser of your choice, or choose a default browser in the "
                    "settings of your desktop. [OK]"}))
      << "the manual beside the program comes first";
}

}  // namespace
}  // namespace tonvault::catalogue
