#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/Application.h"
#include "catalogue/PlayerPlayback.h"
#include "device/playback/SoundSettings.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// One row of the queue list: a track of the history or the queue, or the
// separator between them (ID kSeparatorId, no icon).
struct QueueRow {
  std::string title, artist;
  int id = 0;
  int icon = -1;
  bool operator==(const QueueRow&) const = default;
};

// Which of the page's playback controls are enabled.
struct PlaybackButtons {
  bool play = false, pause = false, resume = false, stop = false, previous = false, next = false;
  bool shuffle = false, clear = false, repeat = false, positionBar = false;
  bool operator==(const PlaybackButtons&) const = default;
};

// The remote control of a Jukebox's playback behind the page "NJB Player":
// the queue list, the buttons and their enabling, the position bar with
// seeking, and the sound. Everything shown comes from the player's events,
// which the session passes on while it pumps.
class PlaybackControl : public DeviceEventSink, public catalogue::PlayerPlayback {
 public:
  static constexpr int kSeparatorId = -2;
  static constexpr const char* kCannotPlayText =
      "This player cannot play its tracks from the computer: only a Nomad Jukebox plays them itself.";

  PlaybackControl(catalogue::Application& app, DeviceSession& session);
  ~PlaybackControl() override;
  PlaybackControl(const PlaybackControl&) = delete;
  PlaybackControl& operator=(const PlaybackControl&) = delete;

  // Called after anything shown changed.
  std::function<void()> changed;

  // Showing the page: opens the player, reads its sound and its queue.
  void ShowPage();
  // False when the player (or the lack of one) cannot play at all; the page
  // then shows kCannotPlayText instead of its controls.
  bool CanPlay() const { return canPlay_; }

  // PlayOrQueue: plays at once when nothing is played or queued, else
  // queues the track.
  void PlayOrQueue(int id);
  // --- catalogue::PlayerPlayback ---
  bool BeginQueueing() override;
  void PlayOrQueueRow(const catalogue::TrackRecord& row) override;
  void EndQueueing() override;
  bool QueueingInProgress() const { return queueingInProgress_; }

  // The buttons.
  void PlayClick();
  void PauseClick();
  void ResumeClick();
  void StopClick();
  void PreviousClick();
  void NextClick();
  void ShuffleClick();
  void ClearClick();
  void RepeatClick(bool down);

  // The position bar: a press, a drag and the release, at `x` of `width`.
  void PositionPressed(int x, int width);
  void PositionMoved(int x, int width);
  void PositionReleased();
  bool SeekDragging() const { return seekDragging_; }

  // RefreshQueueList.
  void RefreshQueueList();

  const std::vector<QueueRow>& Rows() const { return rows_; }
  const PlaybackButtons& Buttons() const { return buttons_; }
  int Position() const { return position_; }
  const std::string& PositionText() const { return positionText_; }
  std::pair<catalogue::ProgressColour, catalogue::ProgressColour> BarColours() const { return colours_; }
  SoundSettings& Sound() { return sound_; }

  // --- the player's events ---
  void OnModeChanged(int mode) override;
  void OnPlayStarted(int id) override;
  void OnPlayProgress(int seconds) override;
  void OnPlayCompleted() override;
  void OnQueueChanged() override { RefreshQueueList(); }

  // The icon of a track by its codec.
  static int CodecIcon(const std::string& codec);

 private:
  Device* PlayingDevice();
  int Count(Status (Device::*count)(int&));
  void AddRows(Status (Device::*first)(int&), Status (Device::*next)(int&));
  void EnableByMode();
  void Changed();
  void DragTo(int x, int width);

  catalogue::Application& app_;
  DeviceSession& session_;
  SoundSettings sound_;
  bool canPlay_ = false;
  bool queueingInProgress_ = false;
  bool seekDragging_ = false;
  std::vector<QueueRow> rows_;
  PlaybackButtons buttons_;
  int length_ = 0;  // of the track playing, in seconds
  int position_ = 0;
  std::string positionText_;
  std::pair<catalogue::ProgressColour, catalogue::ProgressColour> colours_{catalogue::ProgressColour::Navy,
                                                                          catalogue::ProgressColour::Blue};
};

}  // namespace tonvault::device
