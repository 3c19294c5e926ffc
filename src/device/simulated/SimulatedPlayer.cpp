#include "device/simulated/SimulatedPlayer.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "catalogue/Version.h"
#include "files/Folders.h"
#include "files/RenameFile.h"
#include "files/ReplaceFile.h"

namespace tonvault::device {

SimulatedPlayer::SimulatedPlayer(std::string scratchFolder, std::vector<int> attached)
    : scratch_(std::move(scratchFolder)), attached_(std::move(attached)), device_(DeviceLibrary::Events(), *this) {}

EventQueue& SimulatedPlayer::Events() {
  device_.playback_.Advance();
  return DeviceLibrary::Events();
}

int SimulatedPlayer::CountDevices(int kind) {
  Log("CountDevices(" + std::to_string(kind) + ")");
  return static_cast<int>(std::count(attached_.begin(), attached_.end(), kind));
}

Status SimulatedPlayer::SelectDevice(int& selection) {
  Log("SelectDevice(" + std::to_string(selection) + ")");
  if (selectionAnswer_ != 0) selection = selectionAnswer_;
  return kOk;
}

DeviceInfo SimulatedPlayer::GetVersionInfo() {
  DeviceInfo info;
  info.backend = "simulated player (demonstration)";
  info.version = catalogue::ProgramVersionText();
  info.name = scratch_;
  info.kind = attached_.empty() ? 0 : attached_.front();
  return info;
}

void SimulatedPlayer::FailNext(const std::string& call, Status status, int times) {
  auto& queue = faults_[call];
  for (int i = 0; i < times; ++i) queue.push_back(status);
}

void SimulatedPlayer::RejectUntilChanged(const std::string& path, int changes) {
  rejected_[path] = {StampOf(path), changes};
}

SimulatedPlayer::FileStamp SimulatedPlayer::StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {static_cast<std::int64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

Status SimulatedPlayer::TakeFault(std::string_view call) {
  const auto found = faults_.find(call);
  if (found == faults_.end() || found->second.empty()) return kOk;
  const Status status = found->second.front();
  found->second.pop_front();
  return status;
}

// --- the device ---

Status SimulatedPlayer::SimulatedDevice::OpenDevice(int selection) {
  owner_.Log("OpenDevice(" + std::to_string(selection) + ")");
  if (const Status fault = owner_.TakeFault("OpenDevice"); fault != kOk) return fault;
  const auto& attached = owner_.attached_;
  if (attached.empty()) return kNotFound;
  kind_ = std::find(attached.begin(), attached.end(), selection) != attached.end() ? selection : attached.front();
  memory_ = 0;
  return StoreDevice::OpenDevice(selection);
}

Status SimulatedPlayer::SimulatedDevice::OpenStores() {
  const std::string base = owner_.scratch_ + (kind_ == kKindNomadII ? "/nomad2-" : "/jukebox-");
  for (int memory = 0; memory < (kind_ == kKindNomadII ? 2 : 1); ++memory) {
    const std::string folder = base + (memory == 0 ? "internal" : "external");
    files::MakeFolders(folder);  // a failure shows when the store opens
    auto& store = stores_[memory];
    store = std::make_unique<PlayerStore>(folder, /*rootMayBeLink=*/false);
    if (const Status status = store->Open(); status != kOk) return status;
  }
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::GetConnected(int& connected) {
  owner_.Log("GetConnected");
  if (owner_.slowDisconnect_ > 0 && !connected_ && open_) {
    --owner_.slowDisconnect_;
    connected = 1;
    return kOk;
  }
  return StoreDevice::GetConnected(connected);
}

Status SimulatedPlayer::SimulatedDevice::SetConnected(int connected) {
  owner_.Log("SetConnected(" + std::to_string(connected) + ")");
  return StoreDevice::SetConnected(connected);
}

Status SimulatedPlayer::SimulatedDevice::CloseDevice() {
  owner_.Log("CloseDevice");
  if (const Status fault = owner_.TakeFault("CloseDevice"); fault != kOk) return fault;
  return StoreDevice::CloseDevice();
}

Status SimulatedPlayer::SimulatedDevice::ShutDownDevice() {
  owner_.Log("ShutDownDevice");
  if (const Status fault = owner_.TakeFault("ShutDownDevice"); fault != kOk) return fault;
  return StoreDevice::CloseDevice();
}

Status SimulatedPlayer::SimulatedDevice::GetActiveMemory(int& memory) {
  memory = memory_;
  return open_ ? kOk : kNotOpen;
}

Status SimulatedPlayer::SimulatedDevice::SetActiveMemory(int memory) {
  if (const Status status = Before("SetActiveMemory"); status != kOk || !open_) return open_ ? status : kNotOpen;
  if (kind_ != kKindNomadII) return memory == 0 ? kOk : kNotSupported;
  if (memory != 0 && memory != 1) return kNotSupported;
  memory_ = memory;
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::FormatMemory() {
  if (const Status status = Before("FormatMemory"); status != kOk || !open_) return open_ ? status : kNotOpen;
  if (kind_ != kKindNomadII) return kNotSupported;
  return Report(Store()->Format());
}

Status SimulatedPlayer::SimulatedDevice::SendTrack(const std::string& path, const AudioInfo& info, int& id) {
  if (!open_ || !connected_) return StoreDevice::SendTrack(path, info, id);
  if (const auto rejected = owner_.rejected_.find(path); rejected != owner_.rejected_.end()) {
    Rejection& rejection = rejected->second;
    const FileStamp now = StampOf(path);
    if (rejection.stamp != now && --rejection.changesLeft > 0) rejection.stamp = now;
    if (rejection.stamp == now) {
      owner_.Log("SendTrack");
      PostTransfer(true, kFailed, 0);
      return kOk;
    }
    owner_.rejected_.erase(rejected);
  }
  if (owner_.silentSend_) {
    owner_.Log("SendTrack");
    owner_.silentSend_ = false;
    events_.Post([](DeviceEventSink& sink) { sink.OnSendProgress(10); });
    return kOk;
  }
  if (owner_.removeDuringTransfer_) {
    owner_.Log("SendTrack");
    owner_.removeDuringTransfer_ = false;
    connected_ = open_ = false;
    events_.Post([](DeviceEventSink& sink) { sink.OnSendProgress(25); });
    events_.Post([](DeviceEventSink& sink) { sink.OnSendProgress(50); });
    events_.Post([](DeviceEventSink& sink) { sink.OnRemoval(); });
    return kOk;
  }
  return StoreDevice::SendTrack(path, info, id);
}

// A receive cut short: part of the file has arrived when the player goes
// away or reports the scripted fault.
Status SimulatedPlayer::SimulatedDevice::ReceiveTrack(int id, const std::string& path) {
  const bool removal = owner_.removeDuringTransfer_;
  const Status fault = owner_.receiveFault_;
  if (!open_ || !connected_ || (!removal && fault == kOk)) return StoreDevice::ReceiveTrack(id, path);
  owner_.Log("ReceiveTrack");
  owner_.removeDuringTransfer_ = false;
  owner_.receiveFault_ = kOk;
  files::WriteWholeFile(path, std::string(1000, 'x'));
  events_.Post([](DeviceEventSink& sink) { sink.OnReceiveProgress(25); });
  if (removal) {
    connected_ = open_ = false;
    events_.Post([](DeviceEventSink& sink) { sink.OnRemoval(); });
  } else {
    events_.Post([fault](DeviceEventSink& sink) { sink.OnReceiveCompleted(fault); });
  }
  return kOk;
}

Status SimulatedPlayer::SimulatedDevice::Before(std::string_view call) {
  owner_.Log(std::string(call));
  return owner_.TakeFault(call);
}

void SimulatedPlayer::SimulatedDevice::PostTransfer(bool send, Status status, int id) {
  for (int percent : {25, 50, 75, 100}) {
    events_.Post([send, percent](DeviceEventSink& sink) {
      send ? sink.OnSendProgress(percent) : sink.OnReceiveProgress(percent);
    });
  }
  events_.Post([send, status, id](DeviceEventSink& sink) {
    send ? sink.OnSendCompleted(status, id) : sink.OnReceiveCompleted(status);
  });
}

DeviceInfo SimulatedPlayer::SimulatedDevice::Describe() {
  DeviceInfo info = owner_.GetVersionInfo();
  info.kind = kind_;
  info.name = kind_ == kKindNomadII ? "Nomad II (simulated)" : "Nomad Jukebox (simulated)";
  return info;
}

}  // namespace tonvault::device
