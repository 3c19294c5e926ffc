// Remote control of the simulated Jukebox's playback: the queue list, the
// buttons, the position bar and the sound, and playing player rows of FILES.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "catalogue/ListOperations.h"
#include "device/DeviceTestSupport.h"
#include "device/content/DeviceRow.h"
#include "device/folder/FolderPlayer.h"
#include "device/playback/PlaybackControl.h"

namespace tonvault::device {
namespace {

using catalogue::Button;

AudioInfo Track(const std::string& title, int length, const std::string& codec = "MP3") {
  AudioInfo info;
  info.title = title, info.artist = "Artist " + title, info.album = "Album", info.codec = codec;
  info.fileName = title + ".mp3", info.fileSize = 1000, info.length = length;
  return info;
}

class PlaybackTest : public test::PlayerFixture<> {
 protected:
  // A simulated Jukebox with tracks A (ID 1, 180 s), B (2, 60 s, WMA),
  // C (3, 30 s, WAV) and D (4, 0 s: length unknown).
  void SetUp() override {
    AttachSimulated(kKindJukebox, {Track("A", 180), Track("B", 60, "WMA"), Track("C", 30, "WAV"), Track("D", 0, "OGG")})
        .SetClock([this] { return frontend_.Now(); });
  }
  void Use(std::unique_ptr<DeviceLibrary> library) override {
    control_.reset();
    PlayerFixture::Use(std::move(library));
    control_ = std::make_unique<PlaybackControl>(app_, *session_);
    app_.playerPlayback = control_.get();
  }
  // Lets `seconds` pass on the player and delivers what it sent.
  void Play(int seconds) {
    frontend_.Sleep(seconds * 1000);
    session_->Pump();
  }
  void Show() {
    control_->ShowPage();
    session_->Pump();
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const QueueRow& row : control_->Rows()) ids.push_back(row.id);
    return ids;
  }

  std::unique_ptr<PlaybackControl> control_;
};

TEST_F(PlaybackTest, PlayingFromFilesStartsTheFirstAtOnceAndQueuesTheSecond) {
  app_.files.push_back(MakeDeviceRow(Track("A", 180), 1, 1, 0, app_.columnMap));
  app_.files.push_back(MakeDeviceRow(Track("B", 60), 2, 1, 0, app_.columnMap));
  for (auto& row : app_.files) row.selected = true;
  app_.currentPage = catalogue::Page::Files;
  catalogue::PlaySelectedFiles(app_);
  EXPECT_EQ(CallCount("Play"), 1);
  EXPECT_EQ(CallCount("QueueTrack"), 1);
  EXPECT_FALSE(control_->QueueingInProgress());
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2}));  // no separator while the history is empty
  EXPECT_EQ(control_->Rows()[1], (QueueRow{"B", "Artist B", 2, 21}));
  EXPECT_EQ(app_.currentPage, catalogue::Page::Player);
  EXPECT_EQ(session_->PlayerMode(), kModePlaying);
  EXPECT_TRUE(control_->Buttons().pause && control_->Buttons().next && control_->Buttons().clear);
  EXPECT_FALSE(control_->Buttons().resume || control_->Buttons().previous || control_->Buttons().shuffle);
}

TEST_F(PlaybackTest, NextNeedsASecondQueuedTrackAndTheHistoryGetsItsSeparator) {
  Show();
  control_->PlayOrQueue(1);
  session_->Pump();
  EXPECT_FALSE(control_->Buttons().next);
  control_->NextClick();
  EXPECT_EQ(CallCount("PlayNext"), 0);  // only the current track is queued

  control_->PlayOrQueue(3);
  session_->Pump();
  control_->NextClick();
  session_->Pump();
  EXPECT_EQ(Ids(), (std::vector<int>{1, PlaybackControl::kSeparatorId, 3}));
  const QueueRow& separator = control_->Rows()[1];
  EXPECT_EQ(separator.title, "HISTORY");
  EXPECT_EQ(separator.artist, "QUEUE");
  EXPECT_EQ(separator.icon, -1);
  EXPECT_EQ(control_->Rows()[2].icon, 29);  // WAV
  EXPECT_TRUE(control_->Buttons().previous);
  control_->PreviousClick();
  session_->Pump();
  EXPECT_EQ(Ids(), (std::vector<int>{1, 3}));
}

TEST_F(PlaybackTest, TheVirtualClockPlaysThroughTheQueueAndStops) {
  Show();
  control_->PlayOrQueue(3);  // 30 s
  control_->PlayOrQueue(2);  // 60 s
  session_->Pump();
  EXPECT_EQ(control_->PositionText(), "00:00:00 / 00:00:30");
  Play(15);
  EXPECT_EQ(control_->Position(), 50);
  EXPECT_EQ(control_->PositionText(), "00:00:15 / 00:00:30");
  Play(30);  // C ends, B is 15 s in
  EXPECT_EQ(Ids(), (std::vector<int>{3, PlaybackControl::kSeparatorId, 2}));
  EXPECT_EQ(control_->PositionText(), "00:00:15 / 00:01:00");
  const auto colours = control_->BarColours();
  EXPECT_NE(colours.first, colours.second);
  Play(100);
  EXPECT_EQ(session_->PlayerMode(), kModeStopped);
  EXPECT_EQ(control_->PositionText(), "");
  EXPECT_EQ(Ids(), (std::vector<int>{3, 2, PlaybackControl::kSeparatorId}));
  // Stopped with an empty queue: only the history is left to play again.
  EXPECT_TRUE(control_->Buttons().play);
  EXPECT_FALSE(control_->Buttons().stop || control_->Buttons().clear || control_->Buttons().repeat);
}

TEST_F(PlaybackTest, DraggingThePositionIsNotUndoneByProgressUntilRelease) {
  Show();
  control_->PlayOrQueue(1);  // 180 s
  session_->Pump();
  Play(10);
  control_->PositionPressed(50, 200);  // 25 %
  EXPECT_TRUE(control_->SeekDragging());
  control_->PositionMoved(150, 200);
  EXPECT_EQ(control_->Position(), 75);
  EXPECT_EQ(control_->PositionText(), "00:02:15 / 00:03:00");
  Play(5);
  EXPECT_EQ(control_->Position(), 75);
  control_->PositionMoved(500, 200);  // beyond the end: clamped
  EXPECT_EQ(control_->Position(), 100);
  control_->PositionMoved(-20, 200);
  EXPECT_EQ(control_->Position(), 0);
  control_->PositionMoved(101, 200);  // 50.5 %: halves to even
  EXPECT_EQ(control_->Position(), 50);
  control_->PositionReleased();
  EXPECT_FALSE(control_->SeekDragging());
  Play(1);
  EXPECT_EQ(control_->PositionText(), "00:01:31 / 00:03:00");
}

TEST_F(PlaybackTest, ButtonsFollowTheModeAndTheQueue) {
  Show();
  EXPECT_EQ(control_->Buttons(), PlaybackButtons{});  // nothing queued
  for (int id : {1, 2, 3, 4}) control_->PlayOrQueue(id);
  session_->Pump();
  EXPECT_TRUE(control_->Buttons().shuffle);
  control_->PauseClick();
  session_->Pump();
  EXPECT_TRUE(control_->Buttons().resume);
  EXPECT_FALSE(control_->Buttons().pause);
  Play(500);  // paused: the time does not move
  EXPECT_EQ(Ids().size(), 4u);
  control_->ResumeClick();
  control_->ClearClick();
  session_->Pump();
  EXPECT_EQ(Ids(), std::vector<int>{1});  // the track playing stays
  control_->StopClick();
  session_->Pump();
  EXPECT_FALSE(control_->Buttons().stop || control_->Buttons().positionBar);
  EXPECT_TRUE(control_->Buttons().play);
  // A mode that is neither playing nor stopped disables every button.
  session_->OnModeChanged(3);
  control_->RefreshQueueList();
  EXPECT_FALSE(control_->Buttons().play || control_->Buttons().repeat || control_->Buttons().clear);
}

TEST_F(PlaybackTest, ATrackOfUnknownLengthKeepsTheBarAtItsStart) {
  Show();
  control_->PlayOrQueue(4);
  control_->PlayOrQueue(1);
  session_->Pump();
  EXPECT_EQ(control_->PositionText(), "00:00:00 / 00:00:00");
  control_->OnPlayProgress(7);
  EXPECT_EQ(control_->Position(), 0);
  EXPECT_EQ(control_->PositionText(), "00:00:07 / 00:00:00");
}

TEST_F(PlaybackTest, SoundIsReadAndOnlyAcceptedValuesAreMarked) {
  Show();
  SoundSettings& sound = control_->Sound();
  EXPECT_EQ(sound.ChoiceOf(SoundSetting::EaxEffect).texts.size(), 5u);
  EXPECT_EQ(sound.ChoiceOf(SoundSetting::MidFrequency).texts[2], "1000");
  EXPECT_EQ(sound.ChoiceOf(SoundSetting::MidFrequency).index, 2);
  EXPECT_EQ(sound.SliderOf(SoundSetting::Volume).value, 80);
  sound.MoveSlider(SoundSetting::Bass, -5);
  EXPECT_EQ(sound.SliderOf(SoundSetting::Bass).accepted, -5);
  sound.MoveSlider(SoundSetting::Bass, 20);  // the player refuses it
  EXPECT_EQ(sound.SliderOf(SoundSetting::Bass).value, 20);
  EXPECT_EQ(sound.SliderOf(SoundSetting::Bass).accepted, -5);
  sound.Choose(SoundSetting::EqActive, 1);
  EXPECT_EQ(sound.Read(), kOk);
  EXPECT_TRUE(sound.EqEnabled());
  EXPECT_EQ(sound.SliderOf(SoundSetting::Bass).value, -5);
  EXPECT_EQ(SoundSettings::SliderText(SoundSetting::Treble, -12), "-12 dB");
  EXPECT_EQ(SoundSettings::SliderText(SoundSetting::Volume, 80), "80 %");

  player_->FailNext("GetSound", kBusy);
  EXPECT_EQ(sound.Read(), kBusy);
}

TEST_F(PlaybackTest, AFolderPlayerSaysPlainlyThatItCannotPlay) {
  std::filesystem::create_directories(temp_.Path() + "/card");
  Use(std::make_unique<FolderPlayer>(temp_.Path() + "/card"));
  control_->ShowPage();
  EXPECT_FALSE(control_->CanPlay());
  app_.files.push_back(MakeDeviceRow(Track("A", 180), 1, 1, 0, app_.columnMap));
  app_.files.push_back(MakeDeviceRow(Track("B", 180), 2, 1, 0, app_.columnMap));
  for (auto& row : app_.files) row.selected = true;
  catalogue::PlaySelectedFiles(app_);
  const auto messages = frontend_.Log("message");
  ASSERT_EQ(messages.size(), 1u);  // once, not for every row
  EXPECT_NE(messages[0].find(PlaybackControl::kCannotPlayText), std::string::npos);
  EXPECT_EQ(app_.currentPage, catalogue::Page::Files);
}

}  // namespace
}  // namespace tonvault::device
