// The simulated Jukebox's playback and sound. Only the Jukebox plays; a
// simulated Nomad II answers kNotSupported.
#include <algorithm>
#include <array>
#include <string_view>

#include "device/simulated/SimulatedPlayer.h"

namespace tonvault::device {
namespace {

struct SoundRange {
  int low, high, initial;
};

SoundRange RangeOf(SoundSetting setting) {
  switch (setting) {
    case SoundSetting::EaxAmount: return {0, 100, 50};
    case SoundSetting::Volume: return {0, 100, 80};
    case SoundSetting::Bass:
    case SoundSetting::Midrange:
    case SoundSetting::Treble: return {-12, 12, 0};
    case SoundSetting::EqActive: return {0, 1, 0};
    case SoundSetting::EaxEffect: return {0, 4, 0};
    case SoundSetting::MidFrequency: return {0, 4, 2};
    case SoundSetting::HeadphoneMode:
    case SoundSetting::SpeakerMode: return {0, 1, 0};
  }
  return {0, 0, 0};
}

std::vector<std::string_view> ChoicesOf(SoundSetting setting) {
  switch (setting) {
    case SoundSetting::EaxEffect: return {"Off", "Concert Hall", "Jazz Club", "Stadium", "Bathroom"};
    case SoundSetting::MidFrequency: return {"250", "500", "1000", "2000", "4000"};
    case SoundSetting::HeadphoneMode: return {"Normal", "Spatial"};
    case SoundSetting::SpeakerMode: return {"Off", "On"};
    default: return {};
  }
}

}  // namespace

Status SimulatedPlayer::SimulatedDevice::NextOf(std::vector<int>& cursor, int& id) {
  if (cursor.empty()) return kEndOfList;
  id = cursor.back();
  cursor.pop_back();
  return kOk;
}

#define TONVAULT_PLAYBACK_CALL(Name, Action)                                                   \
  Status SimulatedPlayer::SimulatedDevice::Name() {                                            \
    if (const Status status = Ready(#Name, kKindJukebox); status != kOk) return status;       \
    return playback_.Action();                                                                 \
  }
TONVAULT_PLAYBACK_CALL(PausePlay, Pause)
TONVAULT_PLAYBACK_CALL(ResumePlay, Resume)
TONVAULT_PLAYBACK_CALL(StopPlay, Stop)
TONVAULT_PLAYBACK_CALL(PlayNext, Next)
TONVAULT_PLAYBACK_CALL(PlayPrevious, Previous)
TONVAULT_PLAYBACK_CALL(ShuffleQueue, Shuffle)
TONVAULT_PLAYBACK_CALL(ClearQueue, Clear)
#undef TONVAULT_PLAYBACK_CALL

Status SimulatedPlayer::SimulatedDevice::Play(int id) {
  if (const Status status = Ready("Play", kKindJukebox); status != kOk) return status;
  return playback_.Play(id);
}

Status SimulatedPlayer::SimulatedDevice::QueueTrack(int id) {
  if (const Status status = Ready("QueueTrack", kKindJukebox); status != kOk) return status;
  return playback_.QueueTrack(id);
}

Status SimulatedPlayer::SimulatedDevice::SetRepeat(bool repeat) {
  if (const Status status = Ready("SetRepeat", kKindJukebox); status != kOk) return status;
  playback_.SetRepeat(repeat);
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::SeekPlay(int percent) {
  if (const Status status = Ready("SeekPlay", kKindJukebox); status != kOk) return status;
  return playback_.Seek(percent);
}

Status SimulatedPlayer::SimulatedDevice::GetHistoryCount(int& count) {
  if (const Status status = Ready("GetHistoryCount", kKindJukebox); status != kOk) return status;
  count = static_cast<int>(playback_.History().size());
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::GetQueueCount(int& count) {
  if (const Status status = Ready("GetQueueCount", kKindJukebox); status != kOk) return status;
  count = static_cast<int>(playback_.Queue().size());
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::FindFirstHistory(int& id) {
  if (const Status status = Ready("FindFirstHistory", kKindJukebox); status != kOk) return status;
  historyCursor_.assign(playback_.History().rbegin(), playback_.History().rend());
  return NextOf(historyCursor_, id);
}

Status SimulatedPlayer::SimulatedDevice::FindNextHistory(int& id) { return NextOf(historyCursor_, id); }

Status SimulatedPlayer::SimulatedDevice::FindFirstQueued(int& id) {
  if (const Status status = Ready("FindFirstQueued", kKindJukebox); status != kOk) return status;
  queueCursor_.assign(playback_.Queue().rbegin(), playback_.Queue().rend());
  return NextOf(queueCursor_, id);
}

Status SimulatedPlayer::SimulatedDevice::FindNextQueued(int& id) { return NextOf(queueCursor_, id); }

Status SimulatedPlayer::SimulatedDevice::GetSound(SoundSetting setting, int& value) {
  if (const Status status = Ready("GetSound", kKindJukebox); status != kOk) return status;
  const auto found = sound_.find(setting);
  value = found != sound_.end() ? found->second : RangeOf(setting).initial;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::SetSound(SoundSetting setting, int value) {
  if (const Status status = Ready("SetSound", kKindJukebox); status != kOk) return status;
  const SoundRange range = RangeOf(setting);
  if (value < range.low || value > range.high) return kFailed;
  sound_[setting] = value;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::FindFirstSoundChoice(SoundSetting setting, std::string& text) {
  if (const Status status = Ready("FindFirstSoundChoice", kKindJukebox); status != kOk) return status;
  choiceCursor_[setting] = 0;
  return FindNextSoundChoice(setting, text);
}

Status SimulatedPlayer::SimulatedDevice::FindNextSoundChoice(SoundSetting setting, std::string& text) {
  const auto choices = ChoicesOf(setting);
  std::size_t& cursor = choiceCursor_[setting];
  if (cursor >= choices.size()) return choices.empty() ? kNotSupported : kEndOfList;
  text = std::string(choices[cursor++]);
  return kOk;
}

}  // namespace tonvault::device
