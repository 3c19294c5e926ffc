// Changing the player's track data: the editor's save of one track and the
// update of many tracks from catalogue rows, over the simulated Jukebox.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "catalogue/TextFormats.h"
#include "device/DeviceTestSupport.h"
#include "device/content/DeviceRow.h"
#include "device/tags/PlayerTagFields.h"
#include "device/tags/PlayerTagSave.h"
#include "device/tags/PlayerTagUpdate.h"
#include "support/FileContents.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;
using catalogue::ListId;
using catalogue::TrackRecord;

AudioInfo Track(const std::string& title, const std::string& artist = "Artist", const std::string& album = "Album") {
  AudioInfo info = test::Mp3Track(title, artist, album);
  info.bitrate = "160", info.genre = "Rock", info.length = 200, info.trackNumber = 1, info.year = 2001;
  return info;
}

// --- matching and fields ---

TEST(PlayerTagFields, CodecReductionAndLengthTexts) {
  EXPECT_EQ(PlayerCodecOf("M1  L3"), "MP3");
  EXPECT_EQ(PlayerCodecOf("MP3"), "MP3");
  EXPECT_EQ(PlayerCodecOf("WMA 9"), "WMA");
  EXPECT_EQ(PlayerCodecOf("PCM WAV"), "WAV");
  EXPECT_EQ(PlayerCodecOf("M1  L2"), "M1  L2");
  EXPECT_EQ(LengthTextSeconds("00:03:20"), 200);
  EXPECT_EQ(LengthTextSeconds("25:00:01"), 3601);  // a time of day wraps
  EXPECT_EQ(LengthTextSeconds("3:20"), 200);
  EXPECT_EQ(LengthTextSeconds(""), -1);
  EXPECT_EQ(LengthTextSeconds("1:2:3:4"), -1);
  EXPECT_EQ(LengthTextSeconds("aa:bb"), -1);
  EXPECT_EQ(LengthTextSeconds("2147483647:2147483647:2147483647"), (2147483647LL * 3661) % 86400);
  EXPECT_EQ(WholeNumberOr0("12"), 12);
  EXPECT_EQ(WholeNumberOr0("12a"), 0);
  EXPECT_EQ(TrackNumberOf("3/12"), 3);  // not 0: the player's number would be lost
  EXPECT_EQ(TrackNumberOf("/12"), 0);
  EXPECT_EQ(WholeNumberOr0(""), 0);
}

TEST(PlayerTagFields, SizeLengthAndCodecTolerances) {
  catalogue::ColumnMap map;
  AudioInfo info = Track("x");
  TrackRecord row;
  map.Set(row, Column::Size, "3906");  // 3,999,744 bytes: 256 below
  map.Set(row, Column::Length, catalogue::FormatLength(200));
  map.Set(row, Column::Codec, "M1  L3");
  EXPECT_TRUE(SameFileOnPlayer(row, map, info));
  info.fileSize = 3906 * 1024 + 1535;
  EXPECT_TRUE(SameFileOnPlayer(row, map, info));
  info.fileSize = 3906 * 1024 + 1536;
  EXPECT_FALSE(SameFileOnPlayer(row, map, info));
  info.fileSize = 3906 * 1024 - 1535;
  EXPECT_TRUE(SameFileOnPlayer(row, map, info));
  info.fileSize = 3906 * 1024;
  info.length = 209;
  EXPECT_TRUE(SameFileOnPlayer(row, map, info));
  info.length = 210;
  EXPECT_FALSE(SameFileOnPlayer(row, map, info));
  info.length = 200;
  map.Set(row, Column::Codec, "M1  L2");
  EXPECT_FALSE(SameFileOnPlayer(row, map, info));
  info.codec = "MP2";
  EXPECT_FALSE(SameFileOnPlayer(row, map, info));  // the row's text stays "M1  L2"
}

TEST(PlayerTagFields, RowTagsReplaceThePlayersAndAreCountedPerField) {
  catalogue::ColumnMap map;
  AudioInfo info = Track("x");
  info.genre = "(None)", info.fileName = "Song.MP3";
  TrackRecord row;
  map.Set(row, Column::Genre, "");
  map.Set(row, Column::Track, "1");
  map.Set(row, Column::Year, "2001");
  map.Set(row, Column::Filename, "SONG.mp3");
  map.Set(row, Column::Bitrate, "160");
  map.Set(row, Column::Title, "other title");
  TagChanges changes = TakeRowTags(row, map, info);
  EXPECT_TRUE(changes.genre);
  EXPECT_FALSE(changes.fileName);  // equal once lower-cased
  EXPECT_FALSE(changes.trackNumber || changes.year || changes.bitrate || changes.comment);
  EXPECT_EQ(info.genre, "");
  EXPECT_EQ(info.fileName, "song.mp3");
  EXPECT_EQ(info.title, "x");  // the key is never changed
  map.Set(row, Column::Track, "x7");
  map.Set(row, Column::Comment, "note");
  changes = TakeRowTags(row, map, info);
  EXPECT_TRUE(changes.trackNumber && changes.comment);
  EXPECT_FALSE(changes.genre);
  EXPECT_EQ(info.trackNumber, 0);
}

// --- commands on the simulated Jukebox ---

class PlayerTagsTest : public test::PlayerFixture<> {
 protected:
  void Attach(const std::vector<AudioInfo>& tracks) {
    root_ = MemoryRoot(kKindJukebox);
    AttachSimulated(kKindJukebox, tracks);
    update_ = std::make_unique<PlayerTagUpdate>(app_, *session_, *content_);
  }
  std::string IndexPath() const { return root_ + "/.tonvault-player/index.txt"; }
  std::string PlayerIndex() const { return testing::Contents(IndexPath()); }
  // The player's data of track `id`, read through a fresh session.
  AudioInfo OnPlayer(int id) {
    EXPECT_TRUE(session_->StartDevice(true));
    AudioInfo info;
    EXPECT_EQ(session_->CurrentDevice().GetTrackInfo(id, info), kOk);
    return info;
  }
  void ReadPlayer() {
    content_->ReadFilesOnNjb();
    frontend_.ClearLog();
  }
  // A catalogue row of the file track `info` was copied from.
  TrackRecord PcRow(const AudioInfo& info) {
    TrackRecord row;
    const auto& map = app_.columnMap;
    map.Set(row, Column::Title, info.title);
    map.Set(row, Column::Artist, info.artist);
    map.Set(row, Column::Album, info.album);
    map.Set(row, Column::Genre, info.genre);
    map.Set(row, Column::Comment, info.comment);
    map.Set(row, Column::Track, std::to_string(info.trackNumber));
    map.Set(row, Column::Year, std::to_string(info.year));
    map.Set(row, Column::Filename, info.fileName);
    map.Set(row, Column::Bitrate, info.bitrate);
    map.Set(row, Column::Size, std::to_string(KilobytesHalfEven(info.fileSize)));
    map.Set(row, Column::Length, catalogue::FormatLength(info.length));
    map.Set(row, Column::Codec, "M1  L3");
    map.Set(row, Column::Path, "/music/");
    row.selected = true;
    return row;
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }

  std::string root_;
  std::unique_ptr<PlayerTagUpdate> update_;
};

TEST_F(PlayerTagsTest, EditorSaveWritesTheTrackTheTableAndBothRows) {
  Attach({Track("One"), Track("Two")});
  ReadPlayer();
  app_.results.push_back(app_.files[1]);
  app_.filesSort.column = 3;
  PlayerTagValues values{"  Second  ", "", "New Album", "1999", "note", "x", ""};
  EXPECT_TRUE(SavePlayerTags(app_, *session_, *content_, ListId::Files, 1, values));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(values.title, "Second");
  EXPECT_EQ(values.artist, "<Unknown>");
  EXPECT_EQ(values.genre, "(None)");
  const AudioInfo info = OnPlayer(2);
  EXPECT_EQ(info.title, "Second");
  EXPECT_EQ(info.artist, "<Unknown>");
  EXPECT_EQ(info.year, 1999);
  EXPECT_EQ(info.trackNumber, 0);
  EXPECT_EQ(info.fileName, "Two.mp3");  // kept from the row
  EXPECT_EQ(info.fileSize, 4'000'000);
  EXPECT_EQ(content_->Table().FindDeviceTrackId("<unknown>", "second", "new album"), 2);
  EXPECT_EQ(content_->Table().FindDeviceTrackId("Artist", "Two", "Album"), -1);
  for (const TrackRecord* row : {&app_.files[1], &app_.results[0]}) {
    EXPECT_EQ(app_.columnMap.Get(*row, Column::Title), "Second");
    EXPECT_EQ(app_.columnMap.Get(*row, Column::Genre), "(None)");
    EXPECT_EQ(row->icon, 20);
  }
  EXPECT_EQ(app_.filesSort.column, -1);
  EXPECT_TRUE(app_.catalogueModified);
}

TEST_F(PlayerTagsTest, EditorSaveOfAnotherTracksNamesIsRefusedAndChangesNothing) {
  Attach({Track("One"), Track("Two")});
  ReadPlayer();
  const std::string before = PlayerIndex();
  const TrackRecord rowBefore = app_.files[1];
  PlayerTagValues values{"one", "ARTIST", "Album", "", "", "", "Rock"};
  EXPECT_FALSE(SavePlayerTags(app_, *session_, *content_, ListId::Files, 1, values));
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(error): A file with\n\r\rAlbum:\tAlbum\n\rArtist:\tARTIST\n\rTitle:\tone\n\r\r"
                            "already exists on NJB [OK]"}));
  EXPECT_FALSE(session_->DeviceReady());
  EXPECT_EQ(PlayerIndex(), before);
  EXPECT_EQ(app_.files[1].texts, rowBefore.texts);
  EXPECT_EQ(content_->Table().FindDeviceTrackId("Artist", "Two", "Album"), 2);
}

TEST_F(PlayerTagsTest, EditorSaveKeepsItsOwnNamesAndReportsAPlayerFailure) {
  Attach({Track("One")});
  ReadPlayer();
  PlayerTagValues values{"ONE", "Artist", "Album", "", "", "", ""};  // case only: still this track
  EXPECT_TRUE(SavePlayerTags(app_, *session_, *content_, ListId::Files, 0, values));
  EXPECT_EQ(OnPlayer(1).title, "ONE");
  player_->FailNext("SetTrackInfo", kFailed);
  values.title = "Other";
  EXPECT_FALSE(SavePlayerTags(app_, *session_, *content_, ListId::Files, 0, values));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"message(error): Problem changing Tags on NJB [OK]"}));
  EXPECT_EQ(app_.columnMap.Get(app_.files[0], Column::Title), "ONE");
}

TEST_F(PlayerTagsTest, UpdateRefusesWithoutSelectionAndForPlayerRows) {
  Attach({Track("One")});
  ReadPlayer();
  app_.files[0].selected = false;
  update_->UpdateTagsOnNjb();
  app_.files[0].selected = true;
  update_->UpdateTagsOnNjb();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): No lines selected. [OK]",
                            "message(information): Only files on PC can be used as\n\rsource for updating Tags on a "
                            "NJB. [OK]"}));
}

TEST_F(PlayerTagsTest, DryRunCountsEveryCaseAndChangesNothingOnThePlayer) {
  AudioInfo same = Track("Same"), changed = Track("Changed"), far = Track("Far"), mp2 = Track("Mp2");
  changed.genre = "(None)";
  Attach({same, changed, far, mp2, Track("Unknown", "", "")});
  const std::string before = PlayerIndex();

  AudioInfo rowChanged = changed;
  rowChanged.genre = "", rowChanged.fileName = "Renamed.MP3", rowChanged.year = 1980;
  AudioInfo rowFar = far;
  rowFar.fileSize += 1536 + 1024;  // the row's kB round up by 1; 1536 more bytes than the player's
  app_.files = {PcRow(same), PcRow(rowChanged), PcRow(rowFar), PcRow(mp2), PcRow(Track("Missing")),
                PcRow(Track("Unknown", "", ""))};
  app_.columnMap.Set(app_.files[3], Column::Codec, "M1  L2");
  app_.files[5].selected = false;  // not selected: not looked at
  frontend_.Answer(Button::No);
  update_->UpdateTagsOnNjb();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(confirmation): Info:\n\r\r1\tFiles not found on NJB\n\r2\tFiles to much "
                            "different\n\r1\tFiles equal on NJB\n\r\r1\tFiles to update\n\r\r\r1\tFile names to "
                            "update\n\r1\tGenres to update\n\r0\tComments to update\n\r1\tYear info to update\n\r0\t"
                            "Track numbers to update\n\r0\tBitrate info to update\n\r\r\rPerform update ? [Yes/No] -> No"}));
  EXPECT_EQ(PlayerIndex(), before);
}

TEST_F(PlayerTagsTest, AnEmptyArtistOrAlbumMatchesUnknownAndNothingToDoIsReported) {
  Attach({Track("Unknown", "<Unknown>", "<Unknown>")});
  app_.files = {PcRow(Track("Unknown", "", ""))};
  update_->UpdateTagsOnNjb();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): Info:\n\r\r0\tFiles not found on NJB\n\r0\tFiles to much "
                            "different\n\r1\tFiles equal on NJB\n\r\r0\tFiles to update [OK]"}));
}

TEST_F(PlayerTagsTest, ConfirmedRunWritesTheRowsTagsAndReports) {
  AudioInfo a = Track("A"), b = Track("B");
  Attach({a, b});
  a.genre = "", a.fileName = "New.MP3", b.comment = "remastered";
  app_.files = {PcRow(a), PcRow(b)};
  frontend_.Answer(Button::Yes);
  update_->UpdateTagsOnNjb();
  EXPECT_EQ(Messages().back(), "message(information): 2  Files updated [OK]");
  const AudioInfo first = OnPlayer(1), second = OnPlayer(2);
  EXPECT_EQ(first.genre, "");
  // The simulated player keeps the names of the files it holds; what the
  // player is sent is checked with the fields above.
  EXPECT_EQ(first.title, "A");
  EXPECT_EQ(second.comment, "remastered");
  EXPECT_TRUE(content_->Table().DeviceTableStale());
}

TEST_F(PlayerTagsTest, AFailureInTheMiddleKeepsTheTracksUpdatedBeforeIt) {
  AudioInfo a = Track("A"), b = Track("B"), c = Track("C");
  Attach({a, b, c});
  a.year = b.year = c.year = 1970;
  app_.files = {PcRow(a), PcRow(b), PcRow(c)};
  ASSERT_TRUE(session_->StartDevice(true));
  ASSERT_TRUE(content_->EnsureDeviceTable());
  const TagUpdateCounts dry = update_->RunTagUpdate(ListId::Files, true);
  EXPECT_EQ(dry.toUpdate, 3);
  EXPECT_EQ(dry.years, 3);
  // After the first row the player starts refusing writes.
  frontend_.AtPump(frontend_.Pumps() + 1, [this] { player_->FailNext("SetTrackInfo", kFailed); });
  const TagUpdateCounts counts = update_->RunTagUpdate(ListId::Files, false);
  EXPECT_TRUE(counts.failed);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"message(error): Error updating track info on NJB [OK]"}));
  EXPECT_EQ(OnPlayer(1).year, 1970);
  EXPECT_EQ(OnPlayer(2).year, 2001);
  EXPECT_EQ(OnPlayer(3).year, 2001);  // the run ended at the failure
}

TEST_F(PlayerTagsTest, AFailedReadEndsTheRunAndAStopIsHonoured) {
  Attach({Track("A"), Track("B")});
  app_.files = {PcRow(Track("A")), PcRow(Track("B"))};
  ASSERT_TRUE(session_->StartDevice(true));
  ASSERT_TRUE(content_->EnsureDeviceTable());
  player_->FailNext("GetTrackInfo", kFailed);
  TagUpdateCounts counts = update_->RunTagUpdate(ListId::Files, true);
  EXPECT_TRUE(counts.failed);
  EXPECT_EQ(counts.equal, 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"message(error): Error getting track info from NJB [OK]"}));
  frontend_.ClearLog();
  frontend_.Answer(Button::Yes);
  frontend_.AtPump(frontend_.Pumps() + 1, [this] { app_.stopRequest = true; });
  counts = update_->RunTagUpdate(ListId::Files, true);
  EXPECT_TRUE(counts.stopped);
  EXPECT_EQ(counts.equal, 1);
}

TEST_F(PlayerTagsTest, APlayerThatCannotBeReadIsReported) {
  Attach({Track("A")});
  app_.files = {PcRow(Track("A"))};
  player_->FailNext("FindFirstTrack", kFailed);
  player_->FailNext("OpenDevice", kFailed, 10);
  update_->UpdateTagsOnNjb();
  EXPECT_EQ(Messages().back(), "message(error): Error getting content of NJB [OK]");
}

}  // namespace
}  // namespace tonvault::device
