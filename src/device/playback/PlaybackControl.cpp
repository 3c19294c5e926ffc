#include "device/playback/PlaybackControl.h"

#include <algorithm>
#include <random>

#include "audio/Rounding.h"
#include "catalogue/TextFormats.h"
#include "device/content/DeviceRow.h"

namespace tonvault::device {

using catalogue::ProgressColour;

PlaybackControl::PlaybackControl(catalogue::Application& app, DeviceSession& session)
    : app_(app), session_(session), sound_(session) {
  session_.ForwardPlaybackEvents(this);
}

PlaybackControl::~PlaybackControl() { session_.ForwardPlaybackEvents(nullptr); }

int PlaybackControl::CodecIcon(const std::string& codec) {
  if (codec == "MP3") return 28;
  if (codec == "WMA") return 21;
  if (codec == "WAV") return 29;
  return 33;
}

void PlaybackControl::Changed() {
  if (changed) changed();
}

Device* PlaybackControl::PlayingDevice() {
  return session_.LibraryPresent() && session_.DeviceStarted() ? &session_.CurrentDevice() : nullptr;
}

int PlaybackControl::Count(Status (Device::*count)(int&)) {
  Device* device = PlayingDevice();
  int value = 0;
  if (device == nullptr || (device->*count)(value) != kOk) return 0;
  return value;
}

void PlaybackControl::ShowPage() {
  catalogue::SetCommandState(app_, 13);
  app_.frontend.PumpEvents();
  session_.SetDeviceReady(session_.StartDevice(true));
  int count = 0;
  canPlay_ = session_.DeviceReady() && session_.CurrentDevice().GetQueueCount(count) != kNotSupported;
  if (canPlay_ && session_.DeviceKind() == 1) session_.SetDeviceReady(sound_.Read() == kOk);
  app_.frontend.SetStatusPanel(0, "");
  app_.frontend.SetStatusPanel(1, "");
  RefreshQueueList();
}

void PlaybackControl::PlayOrQueue(int id) {
  Device* device = PlayingDevice();
  if (device == nullptr) return;
  if (Count(&Device::GetHistoryCount) > 0 || Count(&Device::GetQueueCount) > 0) {
    device->QueueTrack(id);
  } else {
    device->Play(id);
  }
}

bool PlaybackControl::BeginQueueing() {
  session_.SetDeviceReady(session_.StartDevice(true));
  int count = 0;
  if (!session_.DeviceReady() || session_.CurrentDevice().GetQueueCount(count) == kNotSupported) {
    catalogue::Ask(app_.frontend, catalogue::Sound::Hand, catalogue::MessageKind::Information, kCannotPlayText,
                   {catalogue::Button::Ok});
    return false;
  }
  queueingInProgress_ = true;
  return true;
}

void PlaybackControl::PlayOrQueueRow(const catalogue::TrackRecord& row) {
  const int id = DeviceRowId(row);
  if (id > 0) PlayOrQueue(id);
  // The queue's events arrive while the rows are walked; the list waits.
  session_.Pump();
}

void PlaybackControl::EndQueueing() {
  queueingInProgress_ = false;
  session_.Pump();
  RefreshQueueList();
}

// --- buttons ---

void PlaybackControl::PlayClick() {
  if (Device* device = PlayingDevice()) device->Play(0);
}

void PlaybackControl::PauseClick() {
  if (Device* device = PlayingDevice()) device->PausePlay();
}

void PlaybackControl::ResumeClick() {
  if (Device* device = PlayingDevice()) device->ResumePlay();
}

void PlaybackControl::StopClick() {
  if (Device* device = PlayingDevice()) device->StopPlay();
}

void PlaybackControl::NextClick() {
  if (Count(&Device::GetQueueCount) > 1) PlayingDevice()->PlayNext();
}

void PlaybackControl::PreviousClick() {
  if (Count(&Device::GetHistoryCount) > 0) PlayingDevice()->PlayPrevious();
}

void PlaybackControl::ShuffleClick() {
  if (Count(&Device::GetQueueCount) > 2) PlayingDevice()->ShuffleQueue();
}

void PlaybackControl::ClearClick() {
  if (Count(&Device::GetQueueCount) > 0) PlayingDevice()->ClearQueue();
}

void PlaybackControl::RepeatClick(bool down) {
  if (Device* device = PlayingDevice()) device->SetRepeat(down);
}

// --- position bar ---

void PlaybackControl::DragTo(int x, int width) {
  if (width <= 0) return;
  position_ = std::clamp(static_cast<int>(audio::RoundHalfEven(x * 100.0 / width)), 0, 100);
  positionText_ = catalogue::FormatLength(position_ * length_ / 100.0) + " / " + catalogue::FormatLength(length_);
  Changed();
}

void PlaybackControl::PositionPressed(int x, int width) {
  seekDragging_ = true;
  DragTo(x, width);
}

void PlaybackControl::PositionMoved(int x, int width) {
  if (seekDragging_) DragTo(x, width);
}

void PlaybackControl::PositionReleased() {
  if (!seekDragging_) return;
  if (Device* device = PlayingDevice()) device->SeekPlay(position_);
  seekDragging_ = false;
}

// --- events ---

void PlaybackControl::EnableByMode() {
  const int mode = session_.PlayerMode();
  const bool active = mode == kModePlaying || mode == kModePaused;
  buttons_.pause = mode == kModePlaying;
  buttons_.resume = mode == kModePaused;
  buttons_.stop = buttons_.positionBar = active;
  buttons_.previous = active && Count(&Device::GetHistoryCount) > 0;
  buttons_.next = active && Count(&Device::GetQueueCount) > 1;
}

void PlaybackControl::OnModeChanged(int /*mode*/) {
  EnableByMode();
  Changed();
}

void PlaybackControl::OnPlayStarted(int id) {
  AudioInfo info;
  Device* device = PlayingDevice();
  length_ = device != nullptr && device->GetTrackInfo(id, info) == kOk ? info.length : 0;
  std::uniform_int_distribution<int> colour(0, catalogue::kProgressColourCount - 1);
  const int first = colour(app_.random);
  int second = first;
  while (second == first) second = colour(app_.random);
  colours_ = {static_cast<ProgressColour>(first), static_cast<ProgressColour>(second)};
  position_ = 0;
  positionText_ = catalogue::FormatLength(0) + " / " + catalogue::FormatLength(length_);
  Changed();
}

void PlaybackControl::OnPlayProgress(int seconds) {
  if (seekDragging_) return;
  // A track of unknown length keeps the bar at its start and shows the time.
  position_ = length_ > 0 ? std::clamp(static_cast<int>(audio::RoundHalfEven(seconds * 100.0 / length_)), 0, 100) : 0;
  positionText_ = catalogue::FormatLength(seconds) + " / " + catalogue::FormatLength(length_);
  Changed();
}

void PlaybackControl::OnPlayCompleted() {
  position_ = 0;
  positionText_.clear();
  Changed();
}

// --- the queue list ---

void PlaybackControl::AddRows(Status (Device::*first)(int&), Status (Device::*next)(int&)) {
  Device& device = *PlayingDevice();
  int id = 0;
  for (Status status = (device.*first)(id); status == kOk; status = (device.*next)(id)) {
    AudioInfo info;
    device.GetTrackInfo(id, info);
    rows_.push_back({info.title, info.artist, id, CodecIcon(info.codec)});
  }
}

void PlaybackControl::RefreshQueueList() {
  rows_.clear();
  if (queueingInProgress_ || PlayingDevice() == nullptr) {
    Changed();
    return;
  }
  const int history = Count(&Device::GetHistoryCount);
  const int queue = Count(&Device::GetQueueCount);
  if (history > 0) {
    AddRows(&Device::FindFirstHistory, &Device::FindNextHistory);
    rows_.push_back({"HISTORY", "QUEUE", kSeparatorId, -1});
  }
  if (queue > 0) AddRows(&Device::FindFirstQueued, &Device::FindNextQueued);
  buttons_.shuffle = queue > 2;
  buttons_.repeat = buttons_.clear = queue > 0;
  EnableByMode();
  buttons_.play = history > 0 || queue > 0;
  const int mode = session_.PlayerMode();
  if (mode == 0 || mode == 2 || mode == 3 || mode == 4 || mode == 7) {
    const bool bar = buttons_.positionBar;
    buttons_ = {};
    buttons_.positionBar = bar;
  }
  Changed();
}

}  // namespace tonvault::device
