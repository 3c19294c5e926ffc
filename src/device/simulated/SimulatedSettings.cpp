// The simulated player's owner, clock, sound formats, radio presets and the
// tracks it holds without listing them.
#include <array>

#include "device/simulated/SimulatedPlayer.h"

namespace tonvault::device {
namespace {

const std::array<SoundFormat, 3> kJukeboxFormats = {
    SoundFormat{"MP3", 48000, 2}, SoundFormat{"WMA", 48000, 2}, SoundFormat{"WAV", 44100, 2}};
const std::array<SoundFormat, 2> kNomadIIFormats = {SoundFormat{"MP3", 48000, 2}, SoundFormat{"WMA", 44100, 2}};

}  // namespace

SimulatedPlayer::SimulatedDevice::SimulatedDevice(EventQueue& events, SimulatedPlayer& owner)
    : StoreDevice(events, kKindJukebox),
      playback_(events,
                [this](int id) -> std::optional<int> {
                  PlayerStore* store = Store();
                  if (store == nullptr) return std::nullopt;
                  const auto found = store->Index().tracks.find(id);
                  if (found == store->Index().tracks.end()) return std::nullopt;
                  return found->second.info.length;
                }),
      owner_(owner) {
  for (int i = 0; i < kFmPresetCount; ++i) presets_[static_cast<std::size_t>(i)] = 8750 + 60 * i;
}

Status SimulatedPlayer::SimulatedDevice::Ready(std::string_view call, int kind) {
  if (!open_) return kNotOpen;
  if (!connected_) return kRemoved;
  if (const Status status = Before(call); status != kOk) return status;
  return kind == 0 || kind == kind_ ? kOk : kNotSupported;
}

Status SimulatedPlayer::SimulatedDevice::DeleteTrack(int id) {
  if (owner_.lostTracks_.contains(id)) {
    if (const Status status = Ready("DeleteTrack"); status != kOk) return status;
    owner_.lostTracks_.erase(id);
    return kOk;
  }
  return StoreDevice::DeleteTrack(id);
}

Status SimulatedPlayer::SimulatedDevice::GetDeviceInfo(DeviceInfo& info) {
  if (const Status status = StoreDevice::GetDeviceInfo(info); status != kOk) return status;
  const bool nomadII = kind_ == kKindNomadII;
  info.firmware = std::string(nomadII ? "1.2.0" : "2.56.0");
  info.hardware = std::string(nomadII ? "2" : "4");
  info.serialNumber = std::string(nomadII ? "N2-0000-0001" : "NJB-0000-0001");
  info.powerSource = owner_.powerSource_;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::GetOwnerName(std::string& name) {
  if (const Status status = Ready("GetOwnerName"); status != kOk) return status;
  name = ownerName_;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::SetOwnerName(const std::string& name) {
  if (const Status status = Ready("SetOwnerName"); status != kOk) return status;
  ownerName_ = name;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::GetDateTime(PlayerDateTime& clock) {
  if (const Status status = Ready("GetDateTime"); status != kOk) return status;
  clock = clock_;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::SetDateTime(const PlayerDateTime& clock) {
  if (const Status status = Ready("SetDateTime"); status != kOk) return status;
  clock_ = clock;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::FindFirstFormat(SoundFormat& format) {
  formatCursor_ = 0;
  if (const Status status = Ready("FindFirstFormat"); status != kOk) return status;
  return FindNextFormat(format);
}

Status SimulatedPlayer::SimulatedDevice::FindNextFormat(SoundFormat& format) {
  if (!open_) return kNotOpen;
  const std::size_t count = kind_ == kKindNomadII ? kNomadIIFormats.size() : kJukeboxFormats.size();
  if (formatCursor_ >= count) return kEndOfList;
  format = kind_ == kKindNomadII ? kNomadIIFormats[formatCursor_] : kJukeboxFormats[formatCursor_];
  ++formatCursor_;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::GetFMPresets(FmPresets& presets) {
  if (const Status status = Ready("GetFMPresets", kKindNomadII); status != kOk) return status;
  presets = presets_;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::SetFMPresets(const FmPresets& presets) {
  if (const Status status = Ready("SetFMPresets", kKindNomadII); status != kOk) return status;
  presets_ = presets;
  return kOk;
}

}  // namespace tonvault::device
