// Playing on the Jukebox through libnjb. libnjb plays one track when told
// and reports no queue, so the queue and history live in VirtualPlayback,
// which starts each track on the Jukebox in turn.
#include "device/njb/NjbLibrary.h"

namespace tonvault::device {

NjbLibrary::NjbDevice::NjbDevice(NjbLibrary& owner)
    : playback_(owner.DeviceLibrary::Events(),
                [this](int id) -> std::optional<int> {
                  const auto found = tracks_.find(id);
                  if (found == tracks_.end()) return std::nullopt;
                  return found->second.length;
                }),
      owner_(owner) {
  playback_.SetOutput(this);
}

EventQueue& NjbLibrary::Events() {
  device_.playback_.Advance();
  return DeviceLibrary::Events();
}

Status NjbLibrary::NjbDevice::Open() {
  std::unique_lock<std::mutex> lock;
  return Enter(lock);
}

void NjbLibrary::NjbDevice::Start(int id, std::chrono::milliseconds offset) {
  std::unique_lock<std::mutex> lock;
  if (Enter(lock) != kOk) return;
  NJB_Play_Track(njb_, static_cast<u_int32_t>(id));
  if (offset.count() > 0) NJB_Seek_Track(njb_, static_cast<u_int32_t>(offset.count()));
}

void NjbLibrary::NjbDevice::Pause() {
  std::unique_lock<std::mutex> lock;
  if (Enter(lock) == kOk) NJB_Pause_Play(njb_);
}

void NjbLibrary::NjbDevice::Resume() {
  std::unique_lock<std::mutex> lock;
  if (Enter(lock) == kOk) NJB_Resume_Play(njb_);
}

void NjbLibrary::NjbDevice::Stop() {
  std::unique_lock<std::mutex> lock;
  if (Enter(lock) == kOk) NJB_Stop_Play(njb_);
}

Status NjbLibrary::NjbDevice::Play(int id) {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Play(id);
}

Status NjbLibrary::NjbDevice::QueueTrack(int id) {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.QueueTrack(id);
}

Status NjbLibrary::NjbDevice::PausePlay() {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Pause();
}

Status NjbLibrary::NjbDevice::ResumePlay() {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Resume();
}

Status NjbLibrary::NjbDevice::StopPlay() {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Stop();
}

Status NjbLibrary::NjbDevice::PlayNext() {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Next();
}

Status NjbLibrary::NjbDevice::PlayPrevious() {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Previous();
}

Status NjbLibrary::NjbDevice::ShuffleQueue() { return playback_.Shuffle(); }

Status NjbLibrary::NjbDevice::ClearQueue() { return playback_.Clear(); }

Status NjbLibrary::NjbDevice::SetRepeat(bool repeat) {
  playback_.SetRepeat(repeat);
  return kOk;
}

Status NjbLibrary::NjbDevice::SeekPlay(int percent) {
  if (const Status status = Open(); status != kOk) return status;
  return playback_.Seek(percent);
}

Status NjbLibrary::NjbDevice::GetHistoryCount(int& count) {
  count = static_cast<int>(playback_.History().size());
  return njb_ != nullptr ? kOk : kNotOpen;
}

Status NjbLibrary::NjbDevice::GetQueueCount(int& count) {
  count = static_cast<int>(playback_.Queue().size());
  return njb_ != nullptr ? kOk : kNotOpen;
}

Status NjbLibrary::NjbDevice::FindFirstHistory(int& id) {
  historyCursor_.assign(playback_.History().rbegin(), playback_.History().rend());
  return FindNextHistory(id);
}

Status NjbLibrary::NjbDevice::FindNextHistory(int& id) {
  if (historyCursor_.empty()) return kEndOfList;
  id = historyCursor_.back();
  historyCursor_.pop_back();
  return kOk;
}

Status NjbLibrary::NjbDevice::FindFirstQueued(int& id) {
  queueCursor_.assign(playback_.Queue().rbegin(), playback_.Queue().rend());
  return FindNextQueued(id);
}

Status NjbLibrary::NjbDevice::FindNextQueued(int& id) {
  if (queueCursor_.empty()) return kEndOfList;
  id = queueCursor_.back();
  queueCursor_.pop_back();
  return kOk;
}

}  // namespace tonvault::device
