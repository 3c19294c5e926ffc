// Sending files to the player: the metadata, the checks before each file,
// the existing-track policy, copy resistant tracks, stopping, and the
// Transfer Status window's rows and counters, over the simulated player.
#include <gtest/gtest.h>

#include "audio/Id3v1.h"
#include "device/folder/FileAudioInfo.h"
#include "device/folder/FolderPlayer.h"
#include "catalogue/FillRow.h"
#include "device/transfer/CopyToNjb.h"
#include "files/ReplaceFile.h"
#include "device/transfer/ModifyCopyResistant.h"
#include "device/transfer/TransferMetadata.h"
#include "device/TransferTestSupport.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;
using test::ReadBytes;

// --- metadata ---

TEST(TransferMetadata, LengthFormulasRoundHalvesToEven) {
  EXPECT_EQ(MpegSeconds(20'000, 16'000), 10);
  EXPECT_EQ(MpegSeconds(5'000, 16'000), 2);   // 2.5 → 2
  EXPECT_EQ(MpegSeconds(7'000, 16'000), 4);   // 3.5 → 4
  EXPECT_EQ(MpegSeconds(7'000, 0), 0);
  EXPECT_EQ(WmaSeconds(1'000'000, 64), 123);  // 125 - 2
  EXPECT_EQ(WmaSeconds(4'000, 64), -2);       // 0.5 → 0, less the 2
  EXPECT_EQ(WmaSeconds(1'000'000, 0), 0);
  EXPECT_EQ(WavSeconds(1'411 * 128 * 10, 1'411), 10);
  EXPECT_EQ(WavSeconds(128 * 5, 2), 2);       // 2.5 → 2
  EXPECT_EQ(WavSeconds(1'000, 0), 0);
}

TEST(TransferMetadata, CodecsAndNumbersFromTexts) {
  EXPECT_EQ(CodecOfPath("/a/b.mp3"), "MP3");
  EXPECT_EQ(CodecOfPath("/a/b.MP2"), "MP3");
  EXPECT_EQ(CodecOfPath("/a/b.Wma"), "WMA");
  EXPECT_EQ(CodecOfPath("/a/b.wav"), "WAV");
  EXPECT_EQ(CodecOfPath("/a.mp3/b.ogg"), "");
  EXPECT_EQ(NumberOfText(" 7 "), 7);
  EXPECT_EQ(NumberOfText("3/12"), 0);
  EXPECT_EQ(NumberOfText(""), 0);
  EXPECT_EQ(NumberOfText("1999x"), 0);
}

class TransferToPlayerTest : public test::TransferFixture {
 protected:
  SendItem Item(const std::string& path, const std::string& title = "Song", const std::string& artist = "Artist") {
    SendItem item;
    item.path = path, item.title = title, item.artist = artist, item.album = "Album";
    item.sizeKb = std::to_string(std::filesystem::file_size(path) / 1024);
    return item;
  }
  TransferOutcome Send(const std::vector<SendItem>& items, const SentHook& hook = {}) {
    return CopyFilesToNjb(*context_, items, hook);
  }
  // One catalogue row for a file, selected.
  void AddRow(const std::string& folder, const std::string& name, const std::string& title) {
    catalogue::TrackRecord row;
    row.texts.resize(catalogue::kDiskRowSlots);
    app_.columnMap.Set(row, Column::Path, folder);
    app_.columnMap.Set(row, Column::Filename, name);
    app_.columnMap.Set(row, Column::Title, title);
    app_.columnMap.Set(row, Column::Size, "8");
    row.selected = true;
    app_.files.push_back(row);
  }
};

TEST_F(TransferToPlayerTest, MetadataTakesTheRowsTextsWithSubstitutesAndTheFilesOwnValues) {
  SendItem item = Item(Mp3("My Song.mp3"), "  ", " ");
  item.genre = "", item.comment = " note ", item.bitrate = "128 C", item.track = "07", item.year = "x";
  audio::SilentScanHost host;
  const TransferMetadata metadata = MetadataOf(item, {}, host);
  const AudioInfo& info = metadata.info;
  EXPECT_FALSE(metadata.corrupt);
  EXPECT_EQ(info.title, "My Song");
  EXPECT_EQ(info.artist, "<Unknown>");
  EXPECT_EQ(info.album, "Album");
  EXPECT_EQ(info.genre, "(None)");
  EXPECT_EQ(info.comment, "note");
  EXPECT_EQ(info.bitrate, "128 C");
  EXPECT_EQ(info.trackNumber, 7);
  EXPECT_EQ(info.year, 0);
  EXPECT_EQ(info.codec, "MP3");
  EXPECT_EQ(info.fileName, "My Song.mp3");
  EXPECT_EQ(info.fileSize, static_cast<std::int64_t>(std::filesystem::file_size(item.path)));
  EXPECT_EQ(info.length, 5);  // 200 frames of 1152 samples at 44.1 kHz: 5.2 s
  EXPECT_FALSE(info.isProtected);

  item.path = Pc() + "gone.mp3";
  const TransferMetadata missing = MetadataOf(item, {}, host);
  EXPECT_EQ(missing.info.fileSize, 0);
  EXPECT_EQ(missing.info.length, 0);
}

TEST_F(TransferToPlayerTest, SendsEveryFileAndAccountsForItInTheWindow) {
  const std::string first = Mp3("a.mp3"), second = Mp3("b.mp3", 300);
  std::vector<std::size_t> hooked;
  const TransferOutcome outcome =
      Send({Item(first, "A"), Item(second, "B")}, [&](std::size_t n, const AudioInfo&) { hooked.push_back(n); });
  EXPECT_TRUE(outcome.ran);
  EXPECT_EQ(States(), (std::vector<std::string>{"Done", "Done"}));
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Preparing", "Transfering", "Done"}));
  EXPECT_EQ(window_.History(1), (std::vector<std::string>{"Waiting", "Transfering", "Done"}));
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Done);
  EXPECT_EQ(window_.Rows()[0].fileName, first);
  const TransferCounters& counters = window_.Counters();
  EXPECT_EQ(counters.done, 2u);
  EXPECT_EQ(counters.errors, 0);
  EXPECT_EQ(counters.doneKb, counters.totalKb);
  EXPECT_EQ(hooked, (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(window_.Percent(), 100);
  EXPECT_GT(window_.TotalMb(), 0);
  EXPECT_TRUE(window_.FinishedModal());
  EXPECT_GE(content_->Table().FindDeviceTrackId("Artist", "B", "Album"), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(frontend_.ProgressHigh(), 0);
}

TEST_F(TransferToPlayerTest, TheCommandRefusesEmptySelectionsPlayerRowsAndMissingFiles) {
  EXPECT_FALSE(CopySelectedFilesToNjb(*context_).ran);
  Mp3("here.mp3");
  AddRow(Pc(), "here.mp3  ", "Here");
  app_.files.back().selected = false;
  EXPECT_FALSE(CopySelectedFilesToNjb(*context_).ran);
  app_.files.back().selected = true;
  AddRow(Pc(), "gone.mp3", "Gone");
  EXPECT_FALSE(CopySelectedFilesToNjb(*context_).ran);
  AddRow("--- NJB ---", "x.mp3", "On the player");
  EXPECT_FALSE(CopySelectedFilesToNjb(*context_).ran);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): No files selected. [OK]",
                            "message(information): No files selected. [OK]",
                            "message(error): " + Pc() + "gone.mp3\n\r\rNot found ! [OK]",
                            "message(information): Files on NJB or from cache file can not be copied to NJB. [OK]"}));
  EXPECT_EQ(CallCount("SendTrack"), 0);

  // The file name is trimmed; the path is not.
  app_.files.resize(1);
  EXPECT_TRUE(CopySelectedFilesToNjb(*context_).ran);
  EXPECT_EQ(States(), std::vector<std::string>{"Done"});
}

TEST_F(TransferToPlayerTest, RefusedFilesShowWhyWithoutCountingAsErrors) {
  const std::string corrupt = Pc() + "noise.mp3";
  ASSERT_FALSE(files::WriteWholeFile(corrupt, std::string(50'000, '\x55')));
  const std::string empty = Pc() + "empty.wav";
  ASSERT_FALSE(files::WriteWholeFile(empty, ""));
  const std::string other = Pc() + "notes.txt";
  ASSERT_FALSE(files::WriteWholeFile(other, "text"));
  Send({Item(corrupt, "N"), Item(empty, "E"), Item(other, "T")});
  EXPECT_EQ(States(), (std::vector<std::string>{"ERROR (File corrupt)", "ERROR (Length 0 sec)", "ERROR (Length 0 sec)"}));
  EXPECT_EQ(window_.Counters().errors, 0);
  EXPECT_EQ(window_.Counters().done, 3u);
  EXPECT_EQ(CallCount("SendTrack"), 0);

  // More room kept free than the player has.
  app_.options.njb.minFree = 1 << 30;
  Send({Item(Mp3("a.mp3"))});
  EXPECT_EQ(States(), std::vector<std::string>{"Remaining space below 1073741824 MBytes"});
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Replacing);
  EXPECT_EQ(window_.Counters().errors, 0);
}

TEST_F(TransferToPlayerTest, ExistingTracksFollowThePolicy) {
  const std::string song = Mp3("a.mp3");
  Send({Item(song)});
  const int first = content_->Table().FindDeviceTrackId("Artist", "Song", "Album");

  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::ReplaceNever);
  Send({Item(song)});
  EXPECT_EQ(States(), std::vector<std::string>{"File exists"});
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Exists);
  EXPECT_EQ(window_.Counters().errors, 1);
  EXPECT_EQ(frontend_.Log("beep: asterisk").size(), 1u);

  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::Ask);
  frontend_.Answer(Button::No);
  Send({Item(song)});
  EXPECT_EQ(States(), std::vector<std::string>{"File exists"});
  EXPECT_EQ(Messages().back(), "message(confirmation): Replace file ? [Yes/No] -> No");

  player_->FailNext("ReplaceTrack", kBusy);
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::ReplaceThisSession);
  Send({Item(song)});
  EXPECT_EQ(States(), std::vector<std::string>{"Cannot replace"});
  EXPECT_EQ(content_->Table().FindDeviceTrackId("Artist", "Song", "Album"), first);

  // A replace keeps the track's ID (and so its playlist places); the old
  // file goes only once the new one is in the index.
  frontend_.Answer(Button::Yes);
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::Ask);
  Send({Item(song)});
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Transfering", "Replacing", "Done"}));
  EXPECT_EQ(content_->Table().FindDeviceTrackId("Artist", "Song", "Album"), first);
  EXPECT_EQ(CallCount("DeleteTrack"), 0);
  AudioInfo kept;
  ASSERT_TRUE(session_->StartDevice(true));
  EXPECT_EQ(session_->CurrentDevice().GetTrackInfo(first, kept), kOk);
  int count = 0;
  for (int id = 0, status = session_->CurrentDevice().FindFirstTrack(id); status == kOk;
       status = session_->CurrentDevice().FindNextTrack(id)) {
    ++count;
  }
  EXPECT_EQ(count, 1);
}

TEST_F(TransferToPlayerTest, CopyResistantTrackWithoutTheOptionFailsAtOnceAndLeavesTheFile) {
  const std::string song = Mp3("a.mp3");
  const std::string before = ReadBytes(song);
  player_->RejectUntilChanged(song);
  Send({Item(song)});
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Preparing", "Transfering", "Copy resistant track"}));
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Error);
  EXPECT_EQ(window_.Counters().errors, 1);
  EXPECT_EQ(CallCount("SendTrack"), 1);
  EXPECT_EQ(ReadBytes(song), before);
}

TEST_F(TransferToPlayerTest, CopyResistantTrackGrowsByEightBytesPerAttemptAndKeepsItsTagLast) {
  app_.options.njb.modifyTracks = true;
  const std::string song = Mp3("a.mp3", 200, true);
  const std::string before = ReadBytes(song);
  player_->RejectUntilChanged(song, 4);  // never taken within three attempts
  Send({Item(song)});
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Preparing", "Transfering", "Retry  1", "Retry  2",
                                                         "Copy resistant track"}));
  EXPECT_EQ(CallCount("SendTrack"), 3);
  const std::string after = ReadBytes(song);
  ASSERT_EQ(after.size(), before.size() + 24);
  const std::string audio = before.substr(0, before.size() - 128);
  const std::string padding("\0\1\2\3\4\5\6\7", 8);
  EXPECT_EQ(after, audio + padding + padding + padding + before.substr(before.size() - 128));
  EXPECT_EQ(audio::ReadId3v1Tag(song).title, "Tagged");

  // Taken after one change: the second attempt arrives with the new size.
  const std::string plain = Mp3("b.mp3");
  const auto size = std::filesystem::file_size(plain);
  player_->RejectUntilChanged(plain);
  Send({Item(plain, "Plain")});
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Transfering", "Retry  1", "Done"}));
  EXPECT_EQ(std::filesystem::file_size(plain), size + 8);
  const int id = content_->Table().FindDeviceTrackId("Artist", "Plain", "Album");
  EXPECT_EQ(content_->Table().GetDeviceTrack(id)->fileSize, static_cast<std::int64_t>(size + 8));
}

TEST_F(TransferToPlayerTest, ImmediateSendErrorsAreRetriedOnlyWithTheOption) {
  const std::string song = Mp3("a.mp3");
  const std::string before = ReadBytes(song);
  player_->FailNext("SendTrack", kBusy, 3);
  Send({Item(song)});
  EXPECT_EQ(States(), std::vector<std::string>{"ERROR (on transfer)"});
  EXPECT_EQ(window_.Counters().errors, 1);

  app_.options.njb.modifyTracks = true;
  player_->ClearCalls();
  Send({Item(song)});  // two failures left, then taken
  EXPECT_EQ(window_.History(0),
            (std::vector<std::string>{"Waiting", "Transfering", "ERROR (on transfer)", "ERROR (on transfer)", "Done"}));
  EXPECT_EQ(ReadBytes(song), before);  // an error before sending changes nothing

  player_->FailNext("SendTrack", kBusy, 3);
  player_->ClearCalls();
  Send({Item(song, "Other")});
  EXPECT_EQ(States(), std::vector<std::string>{"ERROR (on transfer)"});
  EXPECT_EQ(CallCount("SendTrack"), 3);
}

TEST_F(TransferToPlayerTest, ConfirmedStopCancelsTheRestAndNoKeepsGoing) {
  const std::string a = Mp3("a.mp3"), b = Mp3("b.mp3"), c = Mp3("c.mp3");
  frontend_.Answer(Button::No);
  frontend_.Answer(Button::Yes);
  Send({Item(a, "A"), Item(b, "B"), Item(c, "C")}, [this](std::size_t, const AudioInfo&) { app_.stopRequest = true; });
  EXPECT_EQ(States(), (std::vector<std::string>{"Done", "Done", "Canceled"}));
  EXPECT_EQ(window_.Rows()[2].icon, TransferIcon::None);
  EXPECT_EQ(frontend_.Log("message(confirmation): Do you really want to STOP ?").size(), 2u);
  EXPECT_EQ(window_.Counters().done, 2u);
  EXPECT_EQ(window_.ShownAgain(), 1);
}

TEST_F(TransferToPlayerTest, RemovalInTheMiddleEndsTheWaitWithAnErrorAndNoRetry) {
  app_.options.njb.modifyTracks = true;
  const std::string song = Mp3("a.mp3"), next = Mp3("b.mp3");
  const std::string before = ReadBytes(song);
  player_->RemoveDuringNextTransfer();
  Send({Item(song, "A"), Item(next, "B")});
  EXPECT_EQ(States(), (std::vector<std::string>{"ERROR (on transfer)", "ERROR (on transfer)"}));
  EXPECT_EQ(window_.Counters().errors, 2);
  EXPECT_EQ(ReadBytes(song), before);
  EXPECT_LT(frontend_.Slept(), std::chrono::minutes(30));
}

TEST_F(TransferToPlayerTest, APlayerThatFallsSilentEndsTheWaitAfterTheShutdownTimeout) {
  app_.options.njb.modifyTracks = true;
  app_.options.njb.shutdownTimeout = 2;
  const std::string song = Mp3("a.mp3");
  const std::string before = ReadBytes(song);
  player_->SilenceDuringNextSend();
  Send({Item(song)});
  EXPECT_EQ(States(), std::vector<std::string>{"ERROR (on transfer)"});
  EXPECT_EQ(ReadBytes(song), before);
  EXPECT_GE(frontend_.Slept(), std::chrono::minutes(2));
  EXPECT_LT(frontend_.Slept(), std::chrono::minutes(3));
  EXPECT_FALSE(app_.transferToPlayerInProgress);
}

TEST_F(TransferToPlayerTest, AfterTheTransferTheBoxesDecideBeepAndStop) {
  window_.After().beep = true;
  window_.After().switchOff = true;
  Send({Item(Mp3("a.mp3"))});
  EXPECT_EQ(frontend_.Log("beep: default").size(), 5u);
  EXPECT_GE(frontend_.Slept(), std::chrono::seconds(4));
  EXPECT_EQ(CallCount("ShutDownDevice"), 1);
  EXPECT_TRUE(window_.Finished());
}

TEST_F(TransferToPlayerTest, TheNomadIIKeepsOneMegabyteAndClearsTheStopBoxes) {
  Attach(kKindNomadII);
  window_.After().switchOff = true;
  Send({Item(Mp3("a.mp3"))});
  EXPECT_TRUE(window_.NomadII());
  EXPECT_FALSE(window_.After().stopNjb);
  EXPECT_FALSE(window_.After().switchOff);
  EXPECT_EQ(States(), std::vector<std::string>{"Done"});
  EXPECT_EQ(CallCount("ShutDownDevice"), 0);
}

TEST_F(TransferToPlayerTest, WithTheFolderPlayerTheFileArrivesWholeWithTheSentTag) {
  const std::string root = temp_.Path() + "/folder-player";
  std::filesystem::create_directories(root);
  auto player = std::make_shared<std::unique_ptr<FolderPlayer>>(std::make_unique<FolderPlayer>(root));
  session_ = std::make_unique<DeviceSession>(app_, host_, [player] { return std::move(*player); });
  content_ = std::make_unique<PlayerContent>(app_, *session_);
  context_ = std::make_unique<TransferContext>(TransferContext{app_, *session_, *content_, window_});
  const std::string song = Mp3("a.mp3");
  const std::string audio = ReadBytes(song);
  SendItem item = Item(song, "Title", "Band");
  item.year = "1999";
  Send({item});
  ASSERT_EQ(States(), std::vector<std::string>{"Done"});
  const int id = content_->Table().FindDeviceTrackId("Band", "Title", "Album");
  ASSERT_TRUE(session_->StartDevice(true));
  const std::string received = Pc() + "back.mp3";
  ASSERT_EQ(session_->CurrentDevice().ReceiveTrack(id, received), kOk);
  const std::string back = ReadBytes(received);
  ASSERT_GE(back.size(), audio.size());
  EXPECT_TRUE(back.ends_with(audio));  // the audio as it was, after the tag the player wrote
  EXPECT_EQ(ReadFileAudioInfo(received).title, "Title");
  EXPECT_EQ(ReadFileAudioInfo(received).year, 1999);
}

TEST(ModifyCopyResistant, AFileThatCannotBeWrittenIsReportedAndLeftAlone) {
  testing::TempFolder temp;
  testing::ScriptedFrontend frontend;
  const std::string path = temp.Path() + "/locked.mp3";
  ASSERT_FALSE(files::WriteWholeFile(path, "audio"));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_EQ(ModifyCopyResistant(path, frontend), 0);
  EXPECT_EQ(ReadBytes(path), "audio");
  EXPECT_EQ(frontend.Log("message"),
            std::vector<std::string>{"message(error): Cannot write file\n\r" + path + "  !\n\r\r(Write protected ?) [OK]"});
  EXPECT_EQ(ModifyCopyResistant(temp.Path() + "/none.mp3", frontend), 0);
}

}  // namespace
}  // namespace tonvault::device
