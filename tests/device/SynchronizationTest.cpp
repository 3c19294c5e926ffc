// The Synchronize page's logic over the simulated player: the compare, the
// list, deleting on either side with the list updated in place, and the
// pending removal of deleted files' rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "DeviceTestSupport.h"
#include "catalogue/PageChange.h"
#include "device/sync/Synchronization.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;

AudioInfo Track(const std::string& title) {
  AudioInfo info = test::Mp3Track(title);
  info.length = 200, info.trackNumber = 1;
  return info;
}

class SynchronizationTest : public test::PlayerFixture<> {
 protected:
  // A Jukebox holding `tracks`, and the page's logic over it.
  Synchronization& Attach(const std::vector<AudioInfo>& tracks) {
    AttachSimulated(kKindJukebox, tracks);
    sync_ = std::make_unique<Synchronization>(app_, *session_, *content_);
    return *sync_;
  }
  // A FILES row for a file that exists in the scratch folder.
  void AddFile(const std::string& title) {
    std::filesystem::create_directories(temp_.Path() + "/pc");
    std::ofstream(temp_.Path() + "/pc/" + title + ".mp3") << "x";
    catalogue::TrackRecord row;
    const catalogue::ColumnMap& map = app_.columnMap;
    map.Set(row, Column::Title, title), map.Set(row, Column::Artist, "Artist"), map.Set(row, Column::Album, "Album");
    map.Set(row, Column::Filename, title + ".mp3"), map.Set(row, Column::Path, temp_.Path() + "/pc/");
    map.Set(row, Column::Size, "3906"), map.Set(row, Column::Track, "1");
    app_.files.push_back(row);
  }
  void ShowAll() {
    auto& o = app_.options.sync;
    o.album = o.artist = o.title = true;
    o.onlyOnPc = o.onlyOnNjb = o.onBoth = o.multipleMatch = true;
  }
  // Each line as its symbol and the titles of its two sides.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (const SyncLine& line : sync_->Lines()) {
      shown.push_back(sync_->Text(line, 1 + kTitle) + sync_->Text(line, kSymbolColumn) +
                      sync_->Text(line, 13 + kTitle));
    }
    return shown;
  }
  void Select(const std::vector<std::string>& shown) {
    const auto all = Shown();
    for (std::size_t i = 0; i < all.size(); ++i) {
      sync_->Lines()[i].selected = std::find(shown.begin(), shown.end(), all[i]) != shown.end();
    }
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }
  std::vector<std::string> FilesTitles() const {
    std::vector<std::string> titles;
    for (const auto& row : app_.files) titles.emplace_back(app_.columnMap.Get(row, Column::Title));
    return titles;
  }

  std::unique_ptr<Synchronization> sync_;
};

TEST_F(SynchronizationTest, CompareFillsTheListByTheShowButtons) {
  Synchronization& sync = Attach({Track("Both"), Track("Player")});
  AddFile("Pc"), AddFile("Both");
  ShowAll();
  sync.StartCompare();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Pc<", "Both=Both", ">Player"}));
  EXPECT_EQ(frontend_.Panel(0), "Sync: 3");
  EXPECT_EQ(sync.Text(sync.Lines()[1], kIndexColumn), "1");
  EXPECT_EQ(sync.Text(sync.Lines()[1], 1 + kFilename), temp_.Path() + "/pc/Both.mp3");
  EXPECT_EQ(sync.Text(sync.Lines()[1], 13 + kFilesize), "3906");  // 4,000,000 bytes
  app_.options.sync.onlyOnPc = false;
  sync.ShowButtonClicked(SyncCategory::OnlyOnPc);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Both=Both", ">Player"}));
  EXPECT_TRUE(Messages().empty());
  // Entering the page again empties the list; the buttons refill it.
  catalogue::ChangePage(app_, catalogue::Page::Synchronize);
  EXPECT_TRUE(sync.Lines().empty());
  sync.Refill();
  EXPECT_EQ(sync.Lines().size(), 2u);
}

TEST_F(SynchronizationTest, WithoutCatalogueFilesNothingIsCompared) {
  Synchronization& sync = Attach({Track("A")});
  app_.files.push_back(catalogue::TrackRecord());
  app_.columnMap.Set(app_.files.back(), Column::Path, "--- NJB ---");
  sync.StartCompare();
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "message(information): No files to synchronize found in FILES.\n\r\rPlease import files (or "
                            "load a *.TVD file) first. [OK]"});
  EXPECT_TRUE(player_->Calls().empty());
}

TEST_F(SynchronizationTest, APlayerThatCannotBeReadLeavesTheLastOutcome) {
  Synchronization& sync = Attach({Track("Both")});
  AddFile("Both");
  ShowAll();
  sync.StartCompare();
  content_->Table().SetDeviceTableStale(true);
  // The session let the player go at the end of the compare; it is not
  // found again.
  session_->ReplaceBackends();
  sync.StartCompare();
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().back(), "message(error): Cannot initialize JBDirect 3 [OK]");
  EXPECT_EQ(Shown(), std::vector<std::string>{"Both=Both"}) << "not every file \"Only on PC\"";
}

TEST_F(SynchronizationTest, CriteriaChangedDuringTheCompareWaitForTheNextOne) {
  Synchronization& sync = Attach({Track("A"), Track("B")});
  AddFile("A"), AddFile("B");
  ShowAll();
  for (int n = 1; n <= 8; ++n) {
    // Once the first file is compared (its progress shown), the user unticks Album.
    frontend_.AtPump(frontend_.Pumps() + n, [this] {
      if (frontend_.ProgressHigh() > 0) app_.options.sync.titleMode = 4, app_.options.sync.album = false;
    });
  }
  sync.StartCompare();
  EXPECT_FALSE(app_.options.sync.album);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A=A", "B=B"}));
}

TEST_F(SynchronizationTest, StoppingTheCompareLeavesOutPlayerOnlyTracks) {
  Synchronization& sync = Attach({Track("Player")});
  AddFile("A"), AddFile("B");
  ShowAll();
  sync.StartCompare();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A<", "B<", ">Player"}));
  frontend_.Answer(Button::Yes);
  const int pumps = frontend_.Pumps();
  // The first pump of the compare's rows comes after the table is read.
  frontend_.AtPump(pumps + 1, [this] { app_.stopRequest = true; });
  sync.StartCompare();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A<"}));
  EXPECT_EQ(Messages().back(), "message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes");
}

TEST_F(SynchronizationTest, DeleteOnPcMakesTheLineOnlyOnNjbAndTheRowGoesAtThePageChange) {
  Synchronization& sync = Attach({Track("Both")});
  AddFile("Both"), AddFile("Pc"), AddFile("Last");
  ShowAll();
  sync.StartCompare();
  ASSERT_EQ(Shown(), (std::vector<std::string>{"Both=Both", "Pc<", "Last<"}));
  Select({"Both=Both", "Pc<"});
  frontend_.Answer(Button::Yes);
  sync.DeleteOnPc();
  EXPECT_EQ(Messages().back(),
            "message(confirmation): Do you really want to \n\rPHYSICALLY delete\n\r2  tracks on the PC ? [Yes/No] -> Yes");
  EXPECT_FALSE(std::filesystem::exists(temp_.Path() + "/pc/Both.mp3"));
  EXPECT_FALSE(std::filesystem::exists(temp_.Path() + "/pc/Pc.mp3"));
  EXPECT_EQ(Shown(), (std::vector<std::string>{">Both", "Last<"}));
  EXPECT_TRUE(sync.ChangedSinceCompare());
  // The rows stay in FILES until the page changes.
  EXPECT_EQ(FilesTitles(), (std::vector<std::string>{"Both", "Pc", "Last"}));
  catalogue::ChangePage(app_, catalogue::Page::Files);
  EXPECT_EQ(FilesTitles(), (std::vector<std::string>{"Last"}));
  EXPECT_TRUE(app_.catalogueModified);
  EXPECT_EQ(sync.Array()[2].filesRow, 0) << "the remaining line follows its row";
}

TEST_F(SynchronizationTest, DeleteOnPcAsksOnAMissingFileAndRefusesNothingSelected) {
  Synchronization& sync = Attach({Track("Both")});
  AddFile("Both"), AddFile("Gone"), AddFile("Pc");
  ShowAll();
  sync.StartCompare();
  sync.DeleteOnPc();
  EXPECT_EQ(Messages().back(), "message(information): No files to delete on PC selected. [OK]");
  std::filesystem::remove(temp_.Path() + "/pc/Gone.mp3");
  Select({"Gone<", "Pc<"});
  frontend_.Answer(Button::Yes);
  frontend_.Answer(Button::No);  // do not go on after the missing file
  sync.DeleteOnPc();
  EXPECT_EQ(Messages().back(), "message(confirmation): " + temp_.Path() +
                                   "/pc/Gone.mp3\n\r" "Not found !\n\r\rProcede with next file(s) ? [Yes/No] -> No");
  EXPECT_FALSE(std::filesystem::exists(temp_.Path() + "/pc/Pc.mp3")) << "walked from the last line";
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Both=Both", "Gone<"}));
}

TEST_F(SynchronizationTest, AFileOnTwoMultipleMatchLinesIsDeletedOnce) {
  AudioInfo twin = Track("Twin");
  twin.fileName = "twin-2.mp3";
  Synchronization& sync = Attach({Track("Twin"), twin});
  AddFile("Twin");
  ShowAll();
  sync.StartCompare();
  sync.SelectAll();
  frontend_.Answer(Button::Yes);
  sync.DeleteOnPc();
  EXPECT_EQ(Messages().size(), 1u) << "no \"Not found !\" for the second line";
  EXPECT_EQ(Shown(), (std::vector<std::string>{">Twin", ">Twin"}));
  EXPECT_EQ(sync.PendingDeletions(), 1u);
}

TEST_F(SynchronizationTest, TheMultipleMatchReminderComesOncePerPressAfterAChange) {
  Synchronization& sync = Attach({Track("Both")});
  AddFile("Both"), AddFile("Pc");
  ShowAll();
  sync.StartCompare();
  sync.ShowButtonClicked(SyncCategory::MultipleMatch);
  EXPECT_TRUE(Messages().empty()) << "nothing changed since the compare";
  Select({"Pc<"});
  frontend_.Answer(Button::Yes);
  sync.DeleteOnPc();
  frontend_.ClearLog();
  app_.options.sync.multipleMatch = false;
  sync.ShowButtonClicked(SyncCategory::MultipleMatch);  // released: no reminder
  app_.options.sync.multipleMatch = true;
  sync.ShowButtonClicked(SyncCategory::MultipleMatch);
  sync.ShowButtonClicked(SyncCategory::OnlyOnPc);
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(information): You have copied or deleted files.\n\r\rInfo "
                                                 "about \"Multiple match\" could be out of date. [OK]"});
  sync.StartCompare();
  EXPECT_FALSE(sync.ChangedSinceCompare());
}

TEST_F(SynchronizationTest, DeleteOnNjbTakesTheLinesOwnTrack) {
  // Two tracks with the same names: the second line's track is the one to go.
  AudioInfo twin = Track("Twin");
  twin.fileName = "twin-2.mp3";
  Synchronization& sync = Attach({Track("Twin"), twin, Track("Player")});
  AddFile("Twin");
  ShowAll();
  sync.StartCompare();
  ASSERT_EQ(Shown(), (std::vector<std::string>{"Twin*Twin", "Twin*Twin", ">Player"}));
  sync.Lines()[1].selected = sync.Lines()[2].selected = true;
  frontend_.Answer(Button::Yes);
  sync.DeleteOnNjb();
  EXPECT_EQ(Messages().back(),
            "message(confirmation): Do you really want to delete\n\r2  tracks on the NJB ? [Yes/No] -> Yes");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Twin*Twin", "Twin<"}));
  const DeviceTrackTable& table = content_->Table();
  EXPECT_EQ(table.Entries()[0].id, 1) << "the first twin stays";
  EXPECT_EQ(table.Entries()[1].id, -1);
  EXPECT_EQ(table.Entries()[2].id, -1);
  int id = 0;
  std::vector<int> left;
  for (Status s = player_->GetDevice().FindFirstTrack(id); s == kOk; s = player_->GetDevice().FindNextTrack(id)) {
    left.push_back(id);
  }
  EXPECT_EQ(left, std::vector<int>{1});
}

TEST_F(SynchronizationTest, DeleteOnNjbStopsAtAPlayerError) {
  Synchronization& sync = Attach({Track("A"), Track("B")});
  AddFile("Pc");
  ShowAll();
  sync.StartCompare();
  sync.SelectAll();
  EXPECT_EQ(frontend_.Panel(1), "Selected: 3");
  player_->FailNext("DeleteTrack", kFailed);
  frontend_.Answer(Button::Yes);
  sync.DeleteOnNjb();
  EXPECT_EQ(Messages().back(), "message(error): Cannot delete track on NJB. [OK]");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Pc<", ">A", ">B"}));
  EXPECT_FALSE(sync.ChangedSinceCompare());
}

TEST_F(SynchronizationTest, SortingAndTheFileNameCaseWarning) {
  Synchronization& sync = Attach({});
  AddFile("b"), AddFile("a"), AddFile("c");
  app_.columnMap.Set(app_.files[0], Column::Size, "10");
  app_.columnMap.Set(app_.files[1], Column::Size, "9");
  app_.columnMap.Set(app_.files[2], Column::Size, "100");
  ShowAll();
  sync.StartCompare();
  sync.SortByColumn(1 + kFilesize);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"a<", "b<", "c<"})) << "as numbers, not as text";
  sync.SortByColumn(1 + kFilesize);
  EXPECT_TRUE(sync.SortDescending());
  EXPECT_EQ(Shown(), (std::vector<std::string>{"c<", "b<", "a<"}));
  sync.SortByColumn(1 + kTitle);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"a<", "b<", "c<"}));

  app_.options.sync.showCaseWarning = true;
  sync.FileNameModeChosen(1);
  EXPECT_TRUE(Messages().empty());
  frontend_.Answer(Button::Yes);
  sync.FileNameModeChosen(0);
  frontend_.Answer(Button::No);
  sync.FileNameModeChosen(0);
  sync.FileNameModeChosen(0);
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_FALSE(app_.options.sync.showCaseWarning);
}

}  // namespace
}  // namespace tonvault::device
