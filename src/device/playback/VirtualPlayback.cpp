#include "device/playback/VirtualPlayback.h"

#include <algorithm>

namespace tonvault::device {

using std::chrono::milliseconds;

VirtualPlayback::VirtualPlayback(EventQueue& events, LengthOf lengthOf)
    : events_(events), lengthOf_(std::move(lengthOf)) {}

void VirtualPlayback::SetMode(int mode) {
  if (mode_ == mode) return;
  mode_ = mode;
  events_.Post([mode](DeviceEventSink& sink) { sink.OnModeChanged(mode); });
}

void VirtualPlayback::QueueChanged() {
  events_.Post([](DeviceEventSink& sink) { sink.OnQueueChanged(); });
}

milliseconds VirtualPlayback::CurrentLength() const {
  const std::optional<int> seconds = queue_.empty() ? std::nullopt : lengthOf_(queue_.front());
  return std::chrono::seconds(seconds && *seconds > 0 ? *seconds : 1);
}

milliseconds VirtualPlayback::Elapsed() const {
  if (mode_ != kModePlaying) return elapsedBefore_;
  return elapsedBefore_ + std::chrono::duration_cast<milliseconds>(clock_() - resumedAt_);
}

void VirtualPlayback::StartCurrent(milliseconds offset) {
  elapsedBefore_ = offset;
  resumedAt_ = clock_();
  lastReported_ = -1;
  SetMode(kModePlaying);
  const int id = queue_.front();
  if (output_ != nullptr) output_->Start(id, offset);
  events_.Post([id](DeviceEventSink& sink) { sink.OnPlayStarted(id); });
}

Status VirtualPlayback::Play(int id) {
  if (id == 0) {
    if (queue_.empty()) return kFailed;
  } else {
    if (!lengthOf_(id)) return kNotFound;
    if (Active()) {
      history_.push_back(queue_.front());
      queue_.pop_front();
    }
    queue_.push_front(id);
  }
  StartCurrent();
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::QueueTrack(int id) {
  if (!lengthOf_(id)) return kNotFound;
  queue_.push_back(id);
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::Pause() {
  if (mode_ != kModePlaying) return kFailed;
  elapsedBefore_ = Elapsed();
  if (output_ != nullptr) output_->Pause();
  SetMode(kModePaused);
  return kOk;
}

Status VirtualPlayback::Resume() {
  if (mode_ != kModePaused) return kFailed;
  resumedAt_ = clock_();
  if (output_ != nullptr) output_->Resume();
  SetMode(kModePlaying);
  return kOk;
}

Status VirtualPlayback::Stop() {
  if (!Active()) return kFailed;
  elapsedBefore_ = {};
  if (output_ != nullptr) output_->Stop();
  SetMode(kModeStopped);
  events_.Post([](DeviceEventSink& sink) { sink.OnPlayCompleted(); });
  return kOk;
}

Status VirtualPlayback::Next() {
  if (queue_.size() < 2) return kFailed;
  history_.push_back(queue_.front());
  queue_.pop_front();
  StartCurrent();
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::Previous() {
  if (history_.empty()) return kFailed;
  queue_.push_front(history_.back());
  history_.pop_back();
  StartCurrent();
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::Shuffle() {
  if (queue_.size() < 2) return kFailed;
  std::shuffle(queue_.begin() + 1, queue_.end(), random_);
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::Clear() {
  if (queue_.empty()) return kFailed;
  // The track playing stays; only what would come after it goes.
  queue_.erase(Active() ? queue_.begin() + 1 : queue_.begin(), queue_.end());
  QueueChanged();
  return kOk;
}

Status VirtualPlayback::Seek(int percent) {
  if (!Active()) return kFailed;
  percent = std::clamp(percent, 0, 100);
  elapsedBefore_ = CurrentLength() * percent / 100;
  resumedAt_ = clock_();
  lastReported_ = -1;
  if (output_ != nullptr) {
    output_->Start(queue_.front(), elapsedBefore_);
    if (mode_ == kModePaused) output_->Pause();
  }
  return kOk;
}

void VirtualPlayback::Advance() {
  while (mode_ == kModePlaying && !queue_.empty()) {
    const milliseconds elapsed = Elapsed();
    const milliseconds length = CurrentLength();
    if (elapsed < length) {
      const int seconds = static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
      if (seconds != lastReported_) {
        lastReported_ = seconds;
        events_.Post([seconds](DeviceEventSink& sink) { sink.OnPlayProgress(seconds); });
      }
      return;
    }
    events_.Post([](DeviceEventSink& sink) { sink.OnPlayCompleted(); });
    history_.push_back(queue_.front());
    queue_.pop_front();
    if (queue_.empty() && repeat_) {
      queue_.assign(history_.begin(), history_.end());
      history_.clear();
    }
    QueueChanged();
    if (queue_.empty()) {
      elapsedBefore_ = {};
      SetMode(kModeStopped);
      return;
    }
    StartCurrent(elapsed - length);
  }
}

}  // namespace tonvault::device
