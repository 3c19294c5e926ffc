#include "device/info/PlayerInformation.h"

#include "device/Playlist.h"

#include <ctime>

#include "audio/Rounding.h"
#include "catalogue/TextFormats.h"

namespace tonvault::device {

using catalogue::Ask;
using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr int kJukebox = 1, kNomadII = 2;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

PlayerDateTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string FormatLine(const SoundFormat& format) {
  return "  " + Trimmed(format.codec) + "  -  " + catalogue::FormatThousands(format.maxSampleRate) + "  -  " +
         std::to_string(format.channels);
}

}  // namespace

Status CountPlaylists(Device& device, int& playlists, int& tracks) {
  playlists = tracks = 0;
  int id = 0;
  Status status = device.FindFirstPlaylist(id);
  for (; status == kOk; status = device.FindNextPlaylist(id)) {
    Playlist playlist;
    if (const Status read = device.GetPlaylist(id, playlist); read != kOk) return read;
    ++playlists;
    tracks += static_cast<int>(playlist.trackIds.size());
  }
  return status == kEndOfList ? kOk : status;
}

std::string PowerSourceText(int source) {
  switch (source) {
    case kPowerBattery: return "Battery";
    case kPowerExternal: return "External";
    case kPowerCharging: return "Battery charging";
    default: return "unknown";
  }
}

std::string MBytesText(std::int64_t kilobytes) {
  return catalogue::FormatThousands(audio::RoundHalfEven(static_cast<double>(kilobytes) / 1024)) + "  MBytes";
}

std::string AudioLine(const StorageInfo& storage) {
  return catalogue::FormatThousands(storage.tracks) + "  =  " + MBytesText(storage.audioKb);
}

std::string DataLine(const StorageInfo& storage) {
  if (storage.dataFiles < 1) return "0";
  return catalogue::FormatThousands(storage.dataFiles) + "  =  " + MBytesText(storage.dataKb);
}

std::string PlaylistLine(int playlists, int tracks) {
  if (playlists < 1) return "0";
  return catalogue::FormatThousands(playlists) + " with " + catalogue::FormatThousands(tracks) + " tracks";
}

PlayerInformation::PlayerInformation(catalogue::Application& app, DeviceSession& session, PlayerContent& content)
    : pcClock(LocalNow), app_(app), session_(session), content_(content) {}

bool PlayerInformation::Step(Status status, const char* error) {
  if (status == kOk) return true;
  if (status != kNotSupported) {
    Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, error, {Button::Ok});
    session_.SetDeviceReady(false);
  }
  return false;
}

void PlayerInformation::Refresh() {
  texts_ = {};
  session_.SetDeviceReady(session_.StartDevice(true));
  if (Ready()) {
    Device& device = session_.CurrentDevice();
    ReadOwnerAndClock(device);
    if (Ready()) {
      const DeviceInfo library = session_.Library()->GetVersionInfo();
      texts_.libraryVersion = library.backend + "  " + library.version;
    }
    ReadDeviceInfo(device);
    ReadSpace(device);
    if (Ready() && session_.DeviceKind() == kJukebox && readSoundSettings) {
      const Status status = readSoundSettings();
      if (status != kOk && status != kNotSupported) session_.SetDeviceReady(false);
    }
    ReadFormats(device);
    ReadCounts(device);
    ReadPresets(device);
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

void PlayerInformation::ReadOwnerAndClock(Device& device) {
  std::string owner;
  const Status ownerStatus = device.GetOwnerName(owner);
  if (Step(ownerStatus, "Cannot get OwnerName from NJB")) texts_.owner = Trimmed(owner);
  if (ownerStatus == kNotSupported) texts_.owner = kNotSupportedText;
  if (!Ready()) return;
  PlayerDateTime clock;
  texts_.clockKnown = Step(device.GetDateTime(clock), "Cannot get DateTime from NJB");
  if (texts_.clockKnown) texts_.clock = clock;
}

void PlayerInformation::ReadDeviceInfo(Device& device) {
  if (!Ready()) return;
  DeviceInfo info;
  if (!Step(device.GetDeviceInfo(info), "Cannot get DeviceInfo from NJB")) return;
  texts_.firmware = info.firmware;
  texts_.hardware = info.hardware;
  texts_.deviceName = info.name;
  texts_.serialNumber = info.serialNumber;
  texts_.powerSource = PowerSourceText(info.powerSource);
}

void PlayerInformation::ReadSpace(Device& device) {
  if (!Ready()) return;
  std::int64_t totalKb = 0, freeKb = 0;
  Status status = device.GetTotalSpace(totalKb);
  if (status == kOk) status = device.GetFreeSpace(freeKb);
  if (!Step(status, "Cannot get StorageInfo from NJB")) return;
  texts_.totalBytes = catalogue::FormatThousands(totalKb * 1024) + "  Bytes";
  texts_.freeBytes = catalogue::FormatThousands(freeKb * 1024) + "  Bytes";
  texts_.totalMBytes = MBytesText(totalKb);
  texts_.freeMBytes = MBytesText(freeKb);
  freeMb_ = audio::RoundHalfEven(static_cast<double>(freeKb) / 1024);
  // An empty or unreadable disk of size 0 shows nothing used.
  texts_.usedPercent =
      totalKb <= 0 ? 0 : 100 - static_cast<int>(audio::RoundHalfEven(static_cast<double>(freeKb) / totalKb * 100));
}

void PlayerInformation::ReadFormats(Device& device) {
  if (!Ready()) return;
  SoundFormat format;
  Status status = device.FindFirstFormat(format);
  if (status == kNotSupported) {
    texts_.formats = kNotSupportedText;
    return;
  }
  std::string lines;
  for (; status == kOk; status = device.FindNextFormat(format)) {
    lines += (lines.empty() ? "" : "\n\r") + FormatLine(format);
  }
  if (lines.empty()) Step(kFailed, "Cannot get FormatSupport from NJB");
  texts_.formats = lines;
}

void PlayerInformation::ReadCounts(Device& device) {
  if (!Ready()) return;
  StorageInfo storage;
  if (!Step(device.GetStorageInfo(storage), "Cannot get StorageInfo from NJB")) return;
  texts_.audioLine = AudioLine(storage);
  texts_.dataLine = DataLine(storage);
  if (session_.DeviceKind() != kJukebox) {
    texts_.playlistLine = kNotSupportedText;
    return;
  }
  int playlists = 0, tracks = 0;
  const Status status = countPlaylists ? countPlaylists(device, playlists, tracks) : kOk;
  texts_.playlistLine = status == kOk ? PlaylistLine(playlists, tracks) : kNotSupportedText;
}

void PlayerInformation::ReadPresets(Device& device) {
  if (!Ready() || session_.DeviceKind() != kNomadII) return;
  FmPresets presets{};
  texts_.fmShown = device.GetFMPresets(presets) == kOk;
  if (texts_.fmShown) texts_.presets = presets;
}

void PlayerInformation::Write(const std::string& owner, const PlayerDateTime& clock, bool clockFirst) {
  session_.SetDeviceReady(session_.StartDevice(true));
  if (Ready()) {
    Device& device = session_.CurrentDevice();
    const auto writeOwner = [&] {
      if (Ready()) Step(device.SetOwnerName(owner), "Cannot set OwnerName on NJB");
    };
    const auto writeClock = [&] {
      if (Ready()) Step(device.SetDateTime(clock), "Cannot set DateTime on NJB");
    };
    if (clockFirst) {
      writeClock();
      writeOwner();
    } else {
      writeOwner();
      writeClock();
    }
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

void PlayerInformation::Save(const std::string& owner, const PlayerDateTime& clock) { Write(owner, clock, false); }

void PlayerInformation::SyncWithPc(const std::string& owner) {
  texts_.clock = pcClock();
  Write(owner, texts_.clock, true);
}

void PlayerInformation::SaveFm(const FmPresets& presets) {
  // The Nomad II stays open after the refresh; should it have gone, it is
  // opened again rather than the presets being lost unseen.
  session_.SetDeviceReady(session_.StartDevice(true));
  if (!Ready()) return;
  if (Step(session_.CurrentDevice().SetFMPresets(presets), "Cannot set FM presets on NJB")) texts_.presets = presets;
}

void PlayerInformation::FormatNomadII() {
  session_.SetDeviceReady(session_.StartDevice(true));
  if (session_.DeviceKind() == kNomadII) {
    const std::string memory =
        content_.ChosenMemory() == PlayerContent::kExternalMemory ? "External " : "Internal ";
    if (Ask(app_.frontend, Sound::Question, MessageKind::Confirmation,
            "Do you really want to format the\n\r" + memory + "Memory of the Nomad II ?",
            {Button::Yes, Button::No}) == Button::Yes) {
      if (session_.CurrentDevice().FormatMemory() != kOk) {
        Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, "Error formatting the " + memory + "Memory !",
            {Button::Ok});
      }
      Refresh();
      content_.Table().SetDeviceTableStale(true);
    }
  }
  session_.SetDeviceReady(session_.StopDevice(false, false));
}

}  // namespace tonvault::device
