#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "device/DeviceEvents.h"
#include "device/DeviceTypes.h"

namespace tonvault::device {

// Playback kept by the program: a history, a queue whose first track is the
// current one, and a clock read only when Advance is called (at every
// pump). Every change is posted as the events a Jukebox sends. The
// simulated Jukebox is nothing more; a real player behind it is told each
// start, pause, resume and stop through its Output.
class VirtualPlayback {
 public:
  class Output {
   public:
    virtual ~Output() = default;
    // Plays track `id` from `offset` into it.
    virtual void Start(int id, std::chrono::milliseconds offset) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Stop() = 0;
  };

  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // The length in seconds of a track on the player; nothing when the player
  // has no such track.
  using LengthOf = std::function<std::optional<int>(int id)>;

  VirtualPlayback(EventQueue& events, LengthOf lengthOf);
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  void SetOutput(Output* output) { output_ = output; }

  Status Play(int id);
  Status QueueTrack(int id);
  Status Pause();
  Status Resume();
  Status Stop();
  Status Next();
  Status Previous();
  Status Shuffle();
  Status Clear();
  void SetRepeat(bool repeat) { repeat_ = repeat; }
  Status Seek(int percent);

  const std::vector<int>& History() const { return history_; }
  const std::deque<int>& Queue() const { return queue_; }
  int Mode() const { return mode_; }
  // Plays on up to the clock's present: progress in whole seconds, the end
  // of each track and the start of the next.
  void Advance();

 private:
  bool Active() const { return mode_ == kModePlaying || mode_ == kModePaused; }
  // Starts the first queued track `offset` into it.
  void StartCurrent(std::chrono::milliseconds offset = {});
  void SetMode(int mode);
  // The current track's length; a track of unknown length plays a second.
  std::chrono::milliseconds CurrentLength() const;
  std::chrono::milliseconds Elapsed() const;
  void QueueChanged();

  EventQueue& events_;
  LengthOf lengthOf_;
  Clock clock_ = std::chrono::steady_clock::now;
  Output* output_ = nullptr;
  std::vector<int> history_;
  std::deque<int> queue_;
  int mode_ = kModeStopped;
  bool repeat_ = false;
  std::chrono::milliseconds elapsedBefore_{};  // played before the last start or resume
  std::chrono::steady_clock::time_point resumedAt_{};
  int lastReported_ = -1;
  std::mt19937 random_{20011};
};

}  // namespace tonvault::device
