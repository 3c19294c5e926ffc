// The player's own information and settings, the radio presets and the
// power clean-up, over the simulated players.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "catalogue/ColumnMap.h"
#include "device/DeviceTestSupport.h"
#include "device/content/DeviceRow.h"
#include "device/folder/FolderPlayer.h"
#include "device/info/FmPresetList.h"
#include "device/info/PlayerInformation.h"
#include "device/info/PowerCleanUp.h"

namespace tonvault::device {
namespace {

using catalogue::Button;

AudioInfo Track(const std::string& title, std::int64_t size = 3 * 1048576) {
  AudioInfo info;
  info.title = title, info.artist = "Artist", info.album = "Album", info.codec = "MP3";
  info.fileName = title + ".mp3", info.fileSize = size, info.length = 180;
  return info;
}

class PlayerInformationTest : public test::PlayerFixture<> {
 protected:
  void Attach(int kind, const std::vector<AudioInfo>& tracks = {}) { AttachSimulated(kind, tracks); }
  void Use(std::unique_ptr<DeviceLibrary> library) override {
    info_.reset();
    PlayerFixture::Use(std::move(library));
    info_ = std::make_unique<PlayerInformation>(app_, *session_, *content_);
    info_->pcClock = [] { return PlayerDateTime{2026, 12, 9, 23, 59, 58}; };
  }
  // The texts of the messages shown, without kind and buttons.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const std::string& line : frontend_.Log("message")) {
      const auto start = line.find("): ") + 3;
      texts.push_back(line.substr(start, line.rfind(" [") - start));
    }
    return texts;
  }

  std::unique_ptr<PlayerInformation> info_;
};

TEST(PlayerInformationTexts, StorageLinesPowerTextsAndThousands) {
  StorageInfo storage;
  EXPECT_EQ(DataLine(storage), "0");  // an empty data area: no "  =  " part
  storage.dataFiles = 2, storage.dataKb = 1536;  // 1.5 MB: halves go to even
  EXPECT_EQ(DataLine(storage), "2  =  2  MBytes");
  storage.dataKb = 2560;
  EXPECT_EQ(DataLine(storage), "2  =  2  MBytes");
  storage.tracks = 1234, storage.audioKb = 5'000'000LL * 1024;
  EXPECT_EQ(AudioLine(storage), "1.234  =  5.000.000  MBytes");
  EXPECT_EQ(PlaylistLine(0, 0), "0");
  EXPECT_EQ(PlaylistLine(3, 1200), "3 with 1.200 tracks");
  EXPECT_EQ(PowerSourceText(kPowerBattery), "Battery");
  EXPECT_EQ(PowerSourceText(kPowerExternal), "External");
  EXPECT_EQ(PowerSourceText(kPowerCharging), "Battery charging");
  EXPECT_EQ(PowerSourceText(2), "unknown");
  EXPECT_EQ(PowerSourceText(-1), "unknown");
}

TEST_F(PlayerInformationTest, RefreshShowsWhatAJukeboxReports) {
  Attach(kKindJukebox, {Track("A"), Track("B", 1048576)});
  int soundReads = 0;
  info_->readSoundSettings = [&soundReads] { return ++soundReads, kOk; };
  info_->countPlaylists = [](Device&, int& playlists, int& tracks) { return playlists = 2, tracks = 17, kOk; };
  ASSERT_TRUE(session_->StartDevice(true));
  ASSERT_EQ(session_->CurrentDevice().SetOwnerName("  Nina  "), kOk);
  info_->Refresh();
  const PlayerInformationTexts& texts = info_->Texts();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(texts.owner, "Nina");
  EXPECT_TRUE(texts.clockKnown);
  EXPECT_EQ(texts.powerSource, "External");
  EXPECT_EQ(texts.firmware, "2.56.0");
  EXPECT_EQ(texts.serialNumber, "NJB-0000-0001");
  EXPECT_EQ(texts.formats, "  MP3  -  48.000  -  2\n\r  WMA  -  48.000  -  2\n\r  WAV  -  44.100  -  2");
  EXPECT_EQ(texts.audioLine, "2  =  4  MBytes");
  EXPECT_EQ(texts.dataLine, "0");
  EXPECT_EQ(texts.playlistLine, "2 with 17 tracks");
  EXPECT_EQ(soundReads, 1);
  EXPECT_FALSE(texts.fmShown);
  EXPECT_NE(texts.totalBytes.find("  Bytes"), std::string::npos);
  EXPECT_NE(texts.freeMBytes.find("  MBytes"), std::string::npos);
  EXPECT_GE(texts.usedPercent, 0);
  EXPECT_LE(texts.usedPercent, 100);
}

TEST_F(PlayerInformationTest, AFailingStepShowsItsTextAndEndsTheRefresh) {
  Attach(kKindJukebox);
  player_->FailNext("GetDateTime", kBusy);
  info_->Refresh();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot get DateTime from NJB"});
  EXPECT_EQ(frontend_.Log("beep"), std::vector<std::string>{"beep: exclamation"});
  EXPECT_TRUE(info_->Texts().firmware.empty());  // the later steps did not run
  EXPECT_TRUE(info_->Texts().formats.empty());

  frontend_.ClearLog();
  info_->readSoundSettings = [] { return kBusy; };  // the sound read ends it silently
  info_->Refresh();
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(info_->Texts().firmware.empty());
  EXPECT_TRUE(info_->Texts().formats.empty());
}

TEST_F(PlayerInformationTest, AFolderPlayerShowsWhatItCannotTellAndTheRest) {
  std::filesystem::create_directories(temp_.Path() + "/card");
  Use(std::make_unique<FolderPlayer>(temp_.Path() + "/card"));
  info_->Refresh();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(info_->Texts().owner, kNotSupportedText);
  EXPECT_FALSE(info_->Texts().clockKnown);
  EXPECT_EQ(info_->Texts().formats, kNotSupportedText);
  EXPECT_EQ(info_->Texts().audioLine, "0  =  0  MBytes");
  // A folder player keeps playlists; a fresh one has none.
  EXPECT_EQ(info_->Texts().playlistLine, "0");
  info_->countPlaylists = [](Device&, int& playlists, int& tracks) { return playlists = tracks = 0, kNotSupported; };
  info_->Refresh();
  EXPECT_EQ(info_->Texts().playlistLine, kNotSupportedText);
}

TEST_F(PlayerInformationTest, SaveAndSyncWriteOwnerAndClockInTheirOrder) {
  Attach(kKindJukebox);
  info_->Save("Owner", PlayerDateTime{2001, 2, 3, 4, 5, 6});
  info_->Refresh();
  EXPECT_EQ(info_->Texts().owner, "Owner");
  EXPECT_EQ(info_->Texts().clock, (PlayerDateTime{2001, 2, 3, 4, 5, 6}));

  player_->ClearCalls();
  info_->SyncWithPc("Other");
  const auto& calls = player_->Calls();
  const auto clock = std::find(calls.begin(), calls.end(), "SetDateTime");
  ASSERT_NE(clock, calls.end());
  EXPECT_NE(std::find(clock, calls.end(), "SetOwnerName"), calls.end());  // after the clock
  EXPECT_EQ(info_->Texts().clock, (PlayerDateTime{2026, 12, 9, 23, 59, 58}));

  player_->FailNext("SetOwnerName", kFailed);
  player_->ClearCalls();
  info_->Save("X", PlayerDateTime{});
  EXPECT_EQ(Messages().back(), "Cannot set OwnerName on NJB");
  EXPECT_EQ(std::count(player_->Calls().begin(), player_->Calls().end(), "SetDateTime"), 0);
}

TEST_F(PlayerInformationTest, NomadIIPresetsAreReadSavedAndItsMemoryFormattedAfterTheQuestion) {
  Attach(kKindNomadII, {Track("A")});
  info_->Refresh();
  ASSERT_TRUE(info_->Texts().fmShown);
  EXPECT_EQ(info_->Texts().playlistLine, kNotSupportedText);
  FmPresetList list;
  list.Fill(info_->Texts().presets);
  ASSERT_TRUE(list.SpinnerStep(0, 100, 50));
  info_->SaveFm(list.Presets());
  info_->Refresh();
  EXPECT_EQ(info_->Texts().presets[0], 10050);

  frontend_.Answer(Button::No);
  info_->FormatNomadII();
  EXPECT_EQ(info_->Texts().audioLine, "1  =  3  MBytes");
  frontend_.Answer(Button::Yes);
  info_->FormatNomadII();
  EXPECT_EQ(Messages().back(),
            "Do you really want to format the\n\rInternal Memory of the Nomad II ?");
  EXPECT_EQ(info_->Texts().audioLine, "0  =  0  MBytes");
  EXPECT_TRUE(content_->Table().DeviceTableStale());
}

TEST(FmPresetList, SpinnersStayInsideTheBandAndTheListSorts) {
  FmPresetList list;
  FmPresets presets;
  presets.fill(10800);
  presets[1] = 8750;
  presets[2] = 9910;
  list.Fill(presets);
  EXPECT_EQ(list.Entries()[2].text, "99,10");
  EXPECT_EQ(list.SpinnersOf(2), std::make_pair(99, 10));
  // 108.00 upward and 87.50 downward are refused and change nothing.
  EXPECT_FALSE(list.SpinnerStep(0, 108, 1));
  EXPECT_FALSE(list.SpinnerStep(0, 109, 0));
  EXPECT_FALSE(list.SpinnerStep(1, 87, 49));
  EXPECT_FALSE(list.SpinnerStep(1, 86, 50));
  EXPECT_EQ(list.Entries()[0].value, 10800);
  EXPECT_EQ(list.Entries()[1].value, 8750);
  EXPECT_TRUE(list.SpinnerStep(0, 107, 99));
  EXPECT_EQ(list.Entries()[0].text, "107,99");

  list.SortBy(1);
  EXPECT_EQ(list.Entries().front().number, 2);  // 87.50 first
  list.SortBy(1);
  EXPECT_TRUE(list.SortDescending());
  EXPECT_EQ(list.Entries().back().number, 2);
  EXPECT_EQ(list.Presets()[0], 10799);  // sorting keeps each value with its number
  ASSERT_TRUE(list.SpinnerStep(0, 100, 0));
  EXPECT_EQ(list.SortColumn(), -1);  // an edit clears the arrow
}

// --- power clean-up ---

class PowerCleanUpTest : public PlayerInformationTest {
 protected:
  void Run() { PowerCleanUp(app_, *session_, *content_); }
  void PlayerRowInFiles() {
    app_.files.push_back(MakeDeviceRow(Track("On player"), 1, 1, 0, app_.columnMap));
  }
};

TEST_F(PowerCleanUpTest, NoRemovesNothingAndBatteryPowerStops) {
  Attach(kKindJukebox, {Track("A")});
  player_->AddLostTrack(0);
  frontend_.Answer(Button::No);
  Run();
  EXPECT_EQ(player_->LostTracks().size(), 1u);

  player_->SetPowerSource(kPowerBattery);
  frontend_.Answer(Button::Yes);
  Run();
  EXPECT_EQ(Messages().back(), "External power must be connected");
  EXPECT_EQ(player_->LostTracks().size(), 1u);
}

TEST_F(PowerCleanUpTest, AnEmptyPlayerDeletesNothingAndStillEmptiesTheRowsOfFiles) {
  Attach(kKindJukebox);
  player_->SetPowerSource(kPowerCharging);
  player_->AddLostTrack(1);
  PlayerRowInFiles();
  frontend_.Answer(Button::Yes);
  Run();
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1], "NJB is empty.");
  EXPECT_EQ(messages[2], "0  \"lost\" files deleted.");
  EXPECT_EQ(player_->LostTracks().size(), 1u);
  EXPECT_TRUE(app_.files.empty());
}

TEST_F(PowerCleanUpTest, DeletesExactlyTheUnlistedIdsUpToHalfAgainTheHighest) {
  Attach(kKindJukebox, {Track("A"), Track("B"), Track("C"), Track("D")});  // IDs 1 to 4: limit 6
  for (int id : {0, 5, 6, 7}) player_->AddLostTrack(id);
  PlayerRowInFiles();
  catalogue::TrackRecord diskRow;
  diskRow.texts = catalogue::RowTexts(16);
  app_.columnMap.Set(diskRow, catalogue::Column::Path, "/music/");
  app_.files.push_back(diskRow);
  frontend_.Answer(Button::Yes);
  Run();
  EXPECT_EQ(player_->LostTracks(), std::set<int>{7});
  ASSERT_TRUE(session_->StartDevice(true));
  for (int id = 1; id <= 4; ++id) {
    AudioInfo info;
    EXPECT_EQ(session_->CurrentDevice().GetTrackInfo(id, info), kOk) << id;
  }
  EXPECT_EQ(Messages().back().rfind("3  \"lost\" files deleted.", 0), 0u);
  EXPECT_EQ(frontend_.Log("beep: default").size(), 9u);  // three for each
  ASSERT_EQ(app_.files.size(), 1u);  // the catalogue's own row stays
}

TEST_F(PowerCleanUpTest, StopInTheMiddleReportsWhatWasDeleted) {
  std::vector<AudioInfo> tracks;
  for (int i = 0; i < 200; ++i) tracks.push_back(Track(std::string(1, 'T').append(std::to_string(i))));
  Attach(kKindJukebox, tracks);  // IDs 1 to 200: limit 300
  for (int id : {0, 250, 299}) player_->AddLostTrack(id);
  frontend_.Answer(Button::Yes);
  // Esc when the walk has passed number 100; "Do you really want to STOP ?" Yes.
  for (int pump = 1; pump < 300; ++pump) {
    frontend_.AtPump(pump, [this] {
      if (frontend_.Panel(0) == "1 / 100") app_.stopRequest = true;
    });
  }
  frontend_.Answer(Button::Yes);
  Run();
  EXPECT_EQ(player_->LostTracks(), (std::set<int>{250, 299}));
  EXPECT_EQ(Messages().back().rfind("1  \"lost\" files deleted.", 0), 0u);
}

TEST(PowerCleanUpReport, TextsWithAndWithoutRecoveredSpace) {
  EXPECT_EQ(CleanUpReport(0, 100), "0  \"lost\" files deleted.");
  EXPECT_EQ(CleanUpReport(2, 0), "2  \"lost\" files deleted.\n\r\rYou should now perform\n\ra normal NJB-CleanUp.");
  EXPECT_EQ(CleanUpReport(1, 4096),
            "1  \"lost\" files deleted.\n\r4.096  kBytes recovered.\n\r\rYou should now perform\n\ra normal NJB-CleanUp.");
}

}  // namespace
}  // namespace tonvault::device
