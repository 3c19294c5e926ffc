#include "device/folder/StoreDevice.h"

#include <algorithm>

namespace tonvault::device {
namespace {

template <class Entries>
std::vector<int> IdsOf(const Entries& entries) {
  std::vector<int> ids;
  for (const auto& entry : entries) ids.push_back(entry.first);
  std::reverse(ids.begin(), ids.end());  // taken from the back
  return ids;
}

}  // namespace

Status StoreDevice::Before(std::string_view /*call*/) { return kOk; }

Status StoreDevice::Check(std::string_view call) {
  if (!open_ || Store() == nullptr) return kNotOpen;
  if (!connected_) return kRemoved;
  return Before(call);
}

void StoreDevice::PostTransfer(bool send, Status status, int id) {
  if (send) {
    events_.Post([](DeviceEventSink& sink) { sink.OnSendProgress(100); });
    events_.Post([status, id](DeviceEventSink& sink) { sink.OnSendCompleted(status, id); });
  } else {
    events_.Post([](DeviceEventSink& sink) { sink.OnReceiveProgress(100); });
    events_.Post([status](DeviceEventSink& sink) { sink.OnReceiveCompleted(status); });
  }
}

Status StoreDevice::Report(Status status) {
  // What one operation found is one message.
  if (PlayerStore* store = Store()) {
    std::string text;
    for (const std::string& warning : store->TakeWarnings()) text += (text.empty() ? "" : "\n") + warning;
    if (!text.empty()) events_.Post([text = std::move(text)](DeviceEventSink& sink) { sink.OnWarning(text); });
  }
  if (status == kRemoved && connected_) {
    connected_ = false;
    events_.Post([](DeviceEventSink& sink) { sink.OnRemoval(); });
  }
  return status;
}

Status StoreDevice::OpenDevice(int /*selection*/) {
  playlists_.reset();
  const Status status = OpenStores();
  open_ = connected_ = status == kOk;
  Report(status);
  if (status != kOk) CloseStores();
  return status;
}

Status StoreDevice::GetDeviceKind(int& kind) {
  if (!open_) return kNotOpen;
  kind = kind_;
  return kOk;
}

Status StoreDevice::GetConnected(int& connected) {
  connected = open_ && connected_ ? 1 : 0;
  return kOk;
}

Status StoreDevice::SetConnected(int connected) {
  if (!open_) return kNotOpen;
  connected_ = connected != 0;
  return kOk;
}

Status StoreDevice::CloseDevice() {
  open_ = connected_ = false;
  playlists_.reset();
  CloseStores();
  return kOk;
}

Status StoreDevice::ShutDownDevice() { return CloseDevice(); }

Status StoreDevice::RebuildCache() {
  if (const Status status = Check("RebuildCache"); status != kOk) return status;
  events_.Post([](DeviceEventSink& sink) { sink.OnMessage("Rebuilding the track index"); });
  playlists_.reset();
  return Report(Store()->Rebuild());
}

Status StoreDevice::GetActiveMemory(int& memory) {
  memory = 0;
  return open_ ? kOk : kNotOpen;
}

Status StoreDevice::SetActiveMemory(int memory) {
  if (!open_) return kNotOpen;
  return memory == 0 ? kOk : kNotSupported;
}

Status StoreDevice::FormatMemory() { return open_ ? kNotSupported : kNotOpen; }

Status StoreDevice::GetDeviceInfo(DeviceInfo& info) {
  info = Describe();
  return kOk;
}

Status StoreDevice::NextOf(std::vector<int>& ids, int& id) {
  if (ids.empty()) return kEndOfList;
  id = ids.back();
  ids.pop_back();
  return kOk;
}

Status StoreDevice::FindFirstTrack(int& id) {
  if (const Status status = Check("FindFirstTrack"); status != kOk) return status;
  trackCursor_ = IdsOf(Store()->Index().tracks);
  return NextOf(trackCursor_, id);
}

Status StoreDevice::FindNextTrack(int& id) { return NextOf(trackCursor_, id); }

Status StoreDevice::GetTrackInfo(int id, AudioInfo& info) {
  if (const Status status = Check("GetTrackInfo"); status != kOk) return status;
  const auto& tracks = Store()->Index().tracks;
  const auto found = tracks.find(id);
  if (found == tracks.end()) return kNotFound;
  info = found->second.info;
  return kOk;
}

Status StoreDevice::SetTrackInfo(int id, const AudioInfo& info) {
  if (const Status status = Check("SetTrackInfo"); status != kOk) return status;
  const auto& tracks = Store()->Index().tracks;
  const auto found = tracks.find(id);
  const std::string before = found == tracks.end() ? std::string() : found->second.relativePath;
  const Status status = Report(Store()->SetTrackInfo(id, info));
  // A renamed file moves in the playlists' .m3u8 files too.
  if (status == kOk && HasPlaylists() && tracks.at(id).relativePath != before) Playlists()->TrackMoved(id);
  return status;
}

Status StoreDevice::DeleteTrack(int id) {
  if (const Status status = Check("DeleteTrack"); status != kOk) return status;
  const Status status = Report(Store()->DeleteTrack(id));
  // The playlists lose the track with it, as on the player. The track is
  // gone either way: a playlist list that cannot be written keeps an ID
  // that no longer resolves, which the playlist views already show as a
  // missing track, so the deletion still reports success.
  if (status == kOk && HasPlaylists()) Playlists()->DropTrack(id);
  return status;
}

Status StoreDevice::FindFirstDataFile(int& id) {
  if (const Status status = Check("FindFirstDataFile"); status != kOk) return status;
  dataCursor_ = IdsOf(Store()->Index().dataFiles);
  return NextOf(dataCursor_, id);
}

Status StoreDevice::FindNextDataFile(int& id) { return NextOf(dataCursor_, id); }

Status StoreDevice::GetDataFileInfo(int id, DataInfo& info) {
  if (const Status status = Check("GetDataFileInfo"); status != kOk) return status;
  const auto& dataFiles = Store()->Index().dataFiles;
  const auto found = dataFiles.find(id);
  if (found == dataFiles.end()) return kNotFound;
  info = found->second.info;
  return kOk;
}

Status StoreDevice::DeleteDataFile(int id) {
  if (const Status status = Check("DeleteDataFile"); status != kOk) return status;
  return Report(Store()->DeleteDataFile(id));
}

Status StoreDevice::GetStorageInfo(StorageInfo& info) {
  if (const Status status = Check("GetStorageInfo"); status != kOk) return status;
  return Store()->Storage(info);
}

Status StoreDevice::GetFreeSpace(std::int64_t& kilobytes) {
  StorageInfo info;
  const Status status = GetStorageInfo(info);
  kilobytes = info.freeKb;
  return status;
}

Status StoreDevice::GetTotalSpace(std::int64_t& kilobytes) {
  StorageInfo info;
  const Status status = GetStorageInfo(info);
  kilobytes = info.totalKb;
  return status;
}

Status StoreDevice::SendTrack(const std::string& path, const AudioInfo& info, int& id) {
  if (const Status status = Check("SendTrack"); status != kOk) return status;
  const Status status = Report(Store()->AddTrack(path, info, id));
  if (status == kOk) PostTransfer(true, kOk, id);
  return status;
}

Status StoreDevice::ReplaceTrack(int id, const std::string& path, const AudioInfo& info) {
  if (const Status status = Check("ReplaceTrack"); status != kOk) return status;
  const Status status = Report(Store()->ReplaceTrack(id, path, info));
  if (status != kOk) return status;
  // The track kept its ID, so the playlists keep it; their .m3u8 files name
  // its file, which may have moved.
  if (HasPlaylists()) Playlists()->TrackMoved(id);
  PostTransfer(true, kOk, id);
  return kOk;
}

Status StoreDevice::SendDataFile(const std::string& path, const DataInfo& info, int& id) {
  if (const Status status = Check("SendDataFile"); status != kOk) return status;
  const Status status = Report(Store()->AddDataFile(path, info, id));
  if (status == kOk) PostTransfer(true, kOk, id);
  return status;
}

Status StoreDevice::ReceiveTrack(int id, const std::string& path) {
  if (const Status status = Check("ReceiveTrack"); status != kOk) return status;
  const auto& tracks = Store()->Index().tracks;
  const auto found = tracks.find(id);
  if (found == tracks.end()) return kNotFound;
  if (found->second.info.isProtected) return kCopyProtected;
  const Status status = Report(Store()->CopyOut(found->second.relativePath, path));
  if (status == kOk) PostTransfer(false, kOk, id);
  return status;
}

Status StoreDevice::ReceiveDataFile(int id, const std::string& path) {
  if (const Status status = Check("ReceiveDataFile"); status != kOk) return status;
  const auto& dataFiles = Store()->Index().dataFiles;
  const auto found = dataFiles.find(id);
  if (found == dataFiles.end()) return kNotFound;
  const Status status = Report(Store()->CopyOut(found->second.relativePath, path));
  if (status == kOk) PostTransfer(false, kOk, id);
  return status;
}

}  // namespace tonvault::device
