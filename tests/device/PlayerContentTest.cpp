// The player's content in FILES and in the track table, deleting on the
// player, its cache and the Nomad II memories, over the simulated player.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "DeviceTestSupport.h"

#include "catalogue/DatabaseCommands.h"
#include "catalogue/TextFormats.h"
#include "device/content/DeviceRow.h"
#include "device/content/PlayerContent.h"
#include "device/folder/TrackIndex.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/ReplaceFile.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;

AudioInfo Track(const std::string& title, const std::string& artist = "Artist", const std::string& album = "Album") {
  AudioInfo info = test::Mp3Track(title, artist, album);
  info.length = 200, info.trackNumber = 1, info.year = 2001;
  return info;
}

// --- rows ---

TEST(DeviceRow, FillsEveryColumnAndThePlayerSlots) {
  catalogue::ColumnMap map;
  AudioInfo info = Track("Song");
  info.genre = "Pop", info.comment = "c", info.trackNumber = 0, info.year = 0;
  info.fileSize = 1024 * 3 + 512;  // 3.5 kB: to even
  const catalogue::TrackRecord row = MakeDeviceRow(info, 42, 1, 0, map);
  EXPECT_EQ(row.texts.size(), 19u);
  EXPECT_EQ(row.icon, 20);
  EXPECT_EQ(map.Get(row, Column::Title), "Song");
  EXPECT_EQ(map.Get(row, Column::Track), "");
  EXPECT_EQ(map.Get(row, Column::Year), "");
  EXPECT_EQ(map.Get(row, Column::Size), "4");
  EXPECT_EQ(map.Get(row, Column::Bitrate), "0");  // 3584 bytes / 200 s / 125 truncated
  EXPECT_EQ(map.Get(row, Column::Freq), "");
  EXPECT_EQ(map.Get(row, Column::Length), catalogue::FormatLength(200));
  EXPECT_EQ(map.Get(row, Column::Path), "--- NJB ---");
  EXPECT_EQ(row.texts[16], "42");
  EXPECT_EQ(row.texts[17], "200");
  EXPECT_EQ(row.texts[18], "3584");
  EXPECT_TRUE(IsLoadedDeviceRow(row, map));
  EXPECT_EQ(DeviceRowId(row), 42);
}

TEST(DeviceRow, SizeRoundsHalfToEvenAndBitrateFollowsItsRule) {
  EXPECT_EQ(KilobytesHalfEven(2 * 1024 + 512), 2);
  EXPECT_EQ(KilobytesHalfEven(3 * 1024 + 512), 4);
  EXPECT_EQ(KilobytesHalfEven(3 * 1024 + 511), 3);
  EXPECT_EQ(KilobytesHalfEven(3 * 1024 + 513), 4);
  AudioInfo info = Track("x");
  EXPECT_EQ(PlayerBitrateText(info), "160");  // 4,000,000 / 200 / 125
  info.bitrate = "128";
  EXPECT_EQ(PlayerBitrateText(info), "128");
  info.length = 0, info.bitrate.clear();
  EXPECT_EQ(PlayerBitrateText(info), "0");
}

TEST(DeviceRow, IconsOfTheTwoPlayersAndTheirMemories) {
  AudioInfo info = Track("x");
  EXPECT_EQ(PlayerTrackIcon(info, 2, 0), 37);
  EXPECT_EQ(PlayerTrackIcon(info, 2, 1), 38);
  info.isProtected = true;
  EXPECT_EQ(PlayerTrackIcon(info, 1, 0), 30);
  EXPECT_EQ(PlayerTrackIcon(info, 2, 1), 30);
  const catalogue::TrackRecord row = MakeDeviceRow(info, 1, 2, 0, catalogue::ColumnMap());
  EXPECT_EQ(catalogue::ColumnMap().Get(row, Column::Path), "--- N II ---");
}

// --- the table ---

TEST(DeviceTrackTable, LooksUpByCaseFoldedKeyFirstEntryWinsAndById) {
  DeviceTrackTable table;
  EXPECT_TRUE(table.AddDeviceTrack(false, Track("Song", "ABBA", "Gold"), 7));
  EXPECT_TRUE(table.AddDeviceTrack(false, Track("song", "abba", "gold"), 9));
  EXPECT_FALSE(table.AddDeviceTrack(true, Track("SONG", "Abba", "GOLD"), 11));
  EXPECT_EQ(table.Size(), 2u);
  EXPECT_EQ(table.FindDeviceTrackId("abba", "SONG", "gold"), 7);
  EXPECT_EQ(table.FindDeviceTrackId("abba", "Song", "Gold "), -1);  // otherwise exact
  ASSERT_TRUE(table.GetDeviceTrack(9));
  EXPECT_EQ(table.GetDeviceTrack(9)->title, "song");
  EXPECT_FALSE(table.HasDeviceTrack(11));

  // The first goes; the second now answers; the removed one keeps its place.
  EXPECT_TRUE(table.RemoveDeviceTrack("Abba", "song", "GOLD"));
  EXPECT_EQ(table.FindDeviceTrackId("abba", "song", "gold"), 9);
  EXPECT_FALSE(table.HasDeviceTrack(7));
  EXPECT_EQ(table.Entries()[0].id, -1);
  EXPECT_EQ(table.Entries()[0].title, "");
  EXPECT_TRUE(table.RemoveDeviceTrack("abba", "song", "gold"));
  EXPECT_FALSE(table.RemoveDeviceTrack("abba", "song", "gold"));
  EXPECT_EQ(table.Size(), 2u);
}

TEST(DeviceTrackTable, KeyPartsDoNotRunTogether) {
  DeviceTrackTable table;
  table.AddDeviceTrack(false, Track("c", "ab", ""), 1);
  EXPECT_EQ(table.FindDeviceTrackId("a", "bc", ""), -1);
  EXPECT_EQ(table.FindDeviceTrackId("ab", "c", ""), 1);
}

// --- commands ---

class PlayerContentTest : public test::PlayerFixture<> {
 protected:
  // A simulated player of `kind` whose memory `memory` holds `tracks`.
  PlayerContent& Attach(int kind, std::vector<AudioInfo> tracks, int memory = 0) {
    AttachSimulated(kind, tracks, memory);
    return *content_;
  }
  // Writes the library index of one memory directly: the tracks need no files.
  void Seed(int kind, int memory, const std::vector<AudioInfo>& tracks) {
    test::WritePlayerIndex(MemoryRoot(kind, memory), tracks);
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }
  std::vector<std::string> Titles(const std::vector<catalogue::TrackRecord>& rows) const {
    std::vector<std::string> titles;
    for (const auto& row : rows) titles.emplace_back(app_.columnMap.Get(row, Column::Title));
    return titles;
  }
  void SelectTitles(std::vector<catalogue::TrackRecord>& rows, const std::vector<std::string>& titles) {
    for (auto& row : rows) {
      row.selected = std::find(titles.begin(), titles.end(), app_.columnMap.Get(row, Column::Title)) != titles.end();
    }
  }
  static std::vector<AudioInfo> Numbered(int count) {
    std::vector<AudioInfo> tracks;
    for (int n = 0; n < count; ++n) tracks.push_back(Track(std::string(1, 'T').append(std::to_string(n))));
    return tracks;
  }
};

TEST_F(PlayerContentTest, ReadingFillsFilesAndTheTableAndSkipsAnUnreadableTrack) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A"), Track("B"), Track("C")});
  player_->FailNext("GetTrackInfo", kFailed);  // the first track cannot be read
  content.ReadFilesOnNjb();
  EXPECT_EQ(Titles(app_.files), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(app_.files[0].texts[16], "2");
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "C", "Album"), 3);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "A", "Album"), -1);
  EXPECT_FALSE(content.Table().DeviceTableStale());
  EXPECT_TRUE(app_.catalogueModified);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(frontend_.ProgressHigh(), 0);  // reset at the end
}

TEST_F(PlayerContentTest, AppendingKeepsRowsAndTheStopCheckCountsAllOfFiles) {
  PlayerContent& content = Attach(kKindJukebox, Numbered(30));
  app_.files.resize(20);  // rows of an earlier catalogue
  frontend_.Answer(Button::Yes);  // append
  frontend_.Answer(Button::Yes);  // really stop
  frontend_.AtPump(2, [this] { app_.stopRequest = true; });
  content.ReadFilesOnNjb();
  // The first check fires at 25 rows of FILES, i.e. after the fifth track.
  EXPECT_EQ(app_.files.size(), 25u);
  EXPECT_EQ(frontend_.Log("panel0: Files:  ").front(), "panel0: Files:  25");
  EXPECT_TRUE(content.Table().DeviceTableStale());  // stopped: the table is not whole
  EXPECT_EQ(content.Table().Size(), 4u);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(confirmation): Files list is not empty.\n\r\rAppend to list ? [Yes/No/Cancel] -> Yes",
                            "message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes"}));
}

TEST_F(PlayerContentTest, NoEmptiesFilesAndCancelLeavesEverything) {
  PlayerContent& content = Attach(kKindJukebox, Numbered(2));
  app_.files.resize(3);
  frontend_.Answer(Button::Cancel);
  content.ReadFilesOnNjb();
  EXPECT_EQ(app_.files.size(), 3u);
  EXPECT_TRUE(player_->Calls().empty());
  frontend_.Answer(Button::No);
  content.ReadFilesOnNjb();
  EXPECT_EQ(Titles(app_.files), (std::vector<std::string>{"T0", "T1"}));
}

TEST_F(PlayerContentTest, WithoutStorageInfoNothingIsRead) {
  PlayerContent& content = Attach(kKindJukebox, Numbered(2));
  player_->FailNext("GetStorageInfo", kFailed);
  content.ReadFilesOnNjb();
  EXPECT_TRUE(app_.files.empty());
  EXPECT_TRUE(content.Table().DeviceTableStale());
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): Cannot get StorageInfo from NJB [OK]"});
}

TEST_F(PlayerContentTest, DeletingWalksBottomUpAndRemovesTheTwinInFiles) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A"), Track("B"), Track("C")});
  content.ReadFilesOnNjb();
  app_.results = app_.files;
  app_.currentPage = catalogue::Page::Results;
  SelectTitles(app_.results, {"A", "C"});
  frontend_.Answer(Button::Yes);
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Messages().back(),
            "message(confirmation): Are you sure that you want to delete the\n\r2 selected files on the NJB ? [Yes/No] -> Yes");
  EXPECT_EQ(Titles(app_.results), std::vector<std::string>{"B"});
  EXPECT_EQ(Titles(app_.files), std::vector<std::string>{"B"});
  EXPECT_EQ(std::count(player_->Calls().begin(), player_->Calls().end(), "DeleteTrack"), 2);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "A", "Album"), -1);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "B", "Album"), 2);
}

TEST_F(PlayerContentTest, AFailedDeletionKeepsEarlierDeletionsAndStops) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A"), Track("B"), Track("C")});
  content.ReadFilesOnNjb();
  SelectTitles(app_.files, {"A", "B", "C"});
  player_->FailNext("DeleteTrack", kOk);      // the last row, C, goes
  player_->FailNext("DeleteTrack", kFailed);  // B fails: A is never tried
  frontend_.Answer(Button::Yes);
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Titles(app_.files), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Messages().back(), "message(error): Problem deleting files on NJB [OK]");
  EXPECT_EQ(std::count(player_->Calls().begin(), player_->Calls().end(), "DeleteTrack"), 2);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "C", "Album"), -1);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "B", "Album"), 2);
}

TEST_F(PlayerContentTest, WithThePlayerGoneNothingIsDeletedAndEveryRowStays) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A"), Track("B")});
  content.ReadFilesOnNjb();
  SelectTitles(app_.files, {"A", "B"});
  player_->FailNext("OpenDevice", kRemoved, 100);
  session_->StopDevice(true, false);  // the next command opens the player again, and fails
  frontend_.Answer(Button::Yes);
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Titles(app_.files), (std::vector<std::string>{"A", "B"}));
  for (const std::string& message : Messages()) EXPECT_EQ(message.find("Problem deleting"), std::string::npos);
  EXPECT_FALSE(session_->DeviceStarted());
}

TEST_F(PlayerContentTest, RefusalsComeFromTheFirstFailingRow) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A")});
  content.ReadFilesOnNjb();
  catalogue::TrackRecord disk;
  app_.columnMap.Set(disk, Column::Path, "/music/");
  app_.files.push_back(disk);
  app_.files.back().selected = true;
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Messages().back(), "message(information): Only actual loaded files on NJB can be deleted. [OK]");
  EXPECT_EQ(frontend_.Log("beep").back(), "beep: hand");

  // A player row that went through a catalogue file has no player slots.
  const std::string file = temp_.Path() + "/with-player.tdb";
  app_.files.pop_back();
  ASSERT_TRUE(catalogue::WriteDatabase(app_, file, app_.files));
  app_.files.clear();
  ASSERT_TRUE(catalogue::ReadDatabase(app_, file, false));
  ASSERT_EQ(app_.files.size(), 1u);
  EXPECT_EQ(app_.files[0].texts.size(), 17u);
  EXPECT_EQ(app_.files[0].texts[16], "");
  EXPECT_FALSE(IsLoadedDeviceRow(app_.files[0], app_.columnMap));
  app_.files[0].selected = true;
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Messages().back(), "message(information): Only actual loaded files on NJB can be deleted. [OK]");

  app_.currentPage = catalogue::Page::Albums;  // not a list page: only a beep
  frontend_.ClearLog();
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(frontend_.Log(), std::vector<std::string>{"beep: default"});
}

TEST_F(PlayerContentTest, AProtectedNomadTrackCannotBeDeletedWithEitherMemory) {
  AudioInfo locked = Track("Locked");
  locked.isProtected = true;
  PlayerContent& content = Attach(kKindNomadII, {Track("Free"), locked});
  content.ReadFilesOnNjb();
  ASSERT_EQ(app_.files.size(), 2u);
  EXPECT_EQ(app_.files[0].icon, 37);
  EXPECT_EQ(app_.files[1].icon, 30);
  EXPECT_EQ(app_.columnMap.Get(app_.files[1], Column::Path), "--- N II ---");
  SelectTitles(app_.files, {"Locked"});
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Messages().back(),
            "message(information): Only files on Nomad II Internal Memory can be deleted.\n\r\rPlease switch Memory "
            "first. [OK]");
  content.SetStartingUp(true);  // only the choice changes
  content.ChooseNomadMemory(PlayerContent::kExternalMemory);
  content.DeleteSelectedFilesOnNjb();
  EXPECT_EQ(Messages().back(),
            "message(information): Only files on Nomad II External Memory can be deleted.\n\r\rPlease switch Memory "
            "first. [OK]");
  EXPECT_EQ(app_.files.size(), 2u);
}

TEST_F(PlayerContentTest, SwitchingTheNomadMemoryReadsTheOtherMemorysTracks) {
  Seed(kKindNomadII, 1, {Track("Outside")});
  PlayerContent& content = Attach(kKindNomadII, {Track("Inside")});
  int refills = 0;
  content.refillQuickCopy = [&] { ++refills; };
  content.ChooseNomadMemory(PlayerContent::kExternalMemory);
  EXPECT_EQ(refills, 1);
  EXPECT_FALSE(content.Table().DeviceTableStale());
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "Outside", "Album"), 1);
  EXPECT_EQ(content.Table().FindDeviceTrackId("Artist", "Inside", "Album"), -1);
  content.ReadFilesOnNjb();
  ASSERT_EQ(app_.files.size(), 1u);
  EXPECT_EQ(app_.files[0].icon, 38);
}

TEST_F(PlayerContentTest, ATrackThatArrivedGetsItsRowWithItsOwnId) {
  PlayerContent& content = Attach(kKindNomadII, {});
  ASSERT_TRUE(session_->StartDevice(true));
  AudioInfo sent = Track("New");
  sent.id = 77;
  content.AddDeviceRow(sent);
  ASSERT_EQ(app_.files.size(), 1u);
  EXPECT_EQ(DeviceRowId(app_.files[0]), 77);
  EXPECT_EQ(app_.files[0].icon, 37);
  EXPECT_TRUE(app_.catalogueModified);
  EXPECT_TRUE(app_.viewRebuildNeeded.albums);
}

TEST_F(PlayerContentTest, AStaleTableIsReadBeforeItsFirstUse) {
  PlayerContent& content = Attach(kKindJukebox, {Track("A"), Track("A")});
  EXPECT_TRUE(content.Table().DeviceTableStale());  // nothing read since the start
  EXPECT_TRUE(content.EnsureDeviceTable());
  EXPECT_EQ(content.Table().FindDeviceTrackId("artist", "a", "album"), 1);  // the first of two
  EXPECT_EQ(frontend_.Log("panel1: Preparing").size(), 1u);
  player_->ClearCalls();
  EXPECT_TRUE(content.EnsureDeviceTable());  // fresh: the player is not asked
  EXPECT_TRUE(player_->Calls().empty());
  EXPECT_TRUE(app_.files.empty());  // the table alone, no rows
}

TEST_F(PlayerContentTest, RebuildingTheCacheAsksThePlayer) {
  PlayerContent& content = Attach(kKindJukebox, {});
  content.RebuildAudioCache();
  const auto& calls = player_->Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "RebuildCache"), calls.end());
}

}  // namespace
}  // namespace tonvault::device
