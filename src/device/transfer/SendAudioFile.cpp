#include "device/transfer/SendAudioFile.h"

#include "device/transfer/ModifyCopyResistant.h"

namespace tonvault::device {

using catalogue::Sound;

namespace {

constexpr int kNoRetries = 999;
constexpr int kLastRetry = 2;

void Beep(TransferContext& context, Sound sound) { context.app.frontend.Beep(sound); }

void Show(TransferContext& context, std::size_t row, const std::string& state, TransferIcon icon) {
  context.window.SetState(row, state, icon);
}

// Whether the file is to be sent when the player already holds a track
// under this key, as the policy says. A player that can replace a track
// keeps the old one until the new one is there (`replaced` is its ID);
// on the others it is deleted first.
bool ClearExisting(TransferContext& context, const AudioInfo& info, std::size_t row, int& replaced) {
  DeviceTrackTable& table = context.content.Table();
  const int id = table.FindDeviceTrackId(info.artist, info.title, info.album);
  if (id < 0) return true;
  const int policy = context.app.options.download.existingFiles;
  if (policy == static_cast<int>(ExistingFiles::ReplaceNever)) Beep(context, Sound::Asterisk);
  if (!ReplaceExisting(context.app.frontend, policy)) {
    Show(context, row, "File exists", TransferIcon::Exists);
    return false;
  }
  Show(context, row, "Replacing", TransferIcon::Replacing);
  context.app.frontend.PumpEvents();
  Device& device = context.session.CurrentDevice();
  if (device.CanReplaceTrack()) {
    replaced = id;
    return true;
  }
  if (device.DeleteTrack(id) != kOk) {
    Show(context, row, "Cannot replace", TransferIcon::Error);
    return false;
  }
  table.RemoveDeviceTrack(info.artist, info.title, info.album);
  return true;
}

Status StartSend(TransferContext& context, const std::string& path, const AudioInfo& info, int replaced, int& id) {
  Device& device = context.session.CurrentDevice();
  if (replaced < 0) return device.SendTrack(path, info, id);
  const Status status = device.ReplaceTrack(replaced, path, info);
  if (status == kOk) {
    id = replaced;
    context.content.Table().RemoveDeviceTrack(info.artist, info.title, info.album);
  }
  return status;
}

}  // namespace

bool SendAudioFile(TransferContext& context, const std::string& path, AudioInfo info, std::size_t row) {
  if (!context.session.LibraryPresent()) return false;
  catalogue::Application& app = context.app;
  if (context.content.Table().DeviceTableStale()) {
    Show(context, row, "Preparing", TransferIcon::Preparing);
    context.content.BuildDeviceTrackTable();
    catalogue::ShowTimeEstimate(app, 0, 0);
  }
  Show(context, row, "Transfering", TransferIcon::Transferring);
  int replaced = -1;
  if (!ClearExisting(context, info, row, replaced)) return false;

  const bool modify = app.options.njb.modifyTracks;
  int attempt = 0;
  bool sent = false;
  do {
    int id = 0;
    const Status status = StartSend(context, path, info, replaced, id);
    attempt = modify ? attempt + 1 : kNoRetries;
    if (status != kOk) {
      Beep(context, Sound::Exclamation);
      Show(context, row, replaced >= 0 ? "Cannot replace" : "ERROR (on transfer)", TransferIcon::Error);
      continue;
    }
    if (const Status ended = WaitForTransfer(context, app.transferToPlayerInProgress); ended != kOk) {
      Beep(context, Sound::Exclamation);
      // A player that went away did not reject the file: no retry, and the
      // file stays as it is.
      if (ended == kRemoved) {
        Show(context, row, "ERROR (on transfer)", TransferIcon::Error);
        break;
      }
      Show(context, row, attempt < 3 ? "Retry  " + std::to_string(attempt) : "Copy resistant track", TransferIcon::Error);
      if (modify) {
        info.fileSize = ModifyCopyResistant(path, app.frontend);
        if (info.fileSize == 0) break;
      }
      if (app.stopRequest) break;
      continue;
    }
    sent = true;
    info.id = context.session.LastSentId() != 0 ? context.session.LastSentId() : id;
    context.content.Table().AddDeviceTrack(true, info, info.id);
    context.session.PauseDevice();
  } while (!sent && attempt <= kLastRetry);
  return sent;
}

}  // namespace tonvault::device
