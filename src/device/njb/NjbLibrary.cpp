#include "device/njb/NjbLibrary.h"

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "device/njb/NjbErrors.h"
#include "device/njb/SongId.h"
#include "files/FileIdentity.h"
#include "files/PathLinks.h"
#include "files/TemporaryFile.h"

namespace tonvault::device {
namespace {

template <class Entries>
std::vector<int> IdsOf(const Entries& entries) {
  std::vector<int> ids;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) ids.push_back(it->first);
  return ids;
}

Status NextOf(std::vector<int>& ids, int& id) {
  if (ids.empty()) return kEndOfList;
  id = ids.back();
  ids.pop_back();
  return kOk;
}

}  // namespace

NjbLibrary::NjbLibrary() : device_(*this) { NJB_Set_Unicode(NJB_UC_UTF8); }

NjbLibrary::~NjbLibrary() = default;

int NjbLibrary::CountDevices(int kind) {
  if (kind != kKindJukebox) return 0;
  foundCount_ = 0;
  if (NJB_Discover(found_, kMaxDevices, &foundCount_) == -1) foundCount_ = 0;
  return foundCount_;
}

Status NjbLibrary::SelectDevice(int& /*selection*/) {
  // The selection names a kind, and every player found here is a Jukebox:
  // the first one found is taken.
  chosen_ = 0;
  return kOk;
}

DeviceInfo NjbLibrary::GetVersionInfo() {
  DeviceInfo info;
  info.backend = "libnjb";
#define TONVAULT_TEXT(x) #x
#define TONVAULT_VALUE_TEXT(x) TONVAULT_TEXT(x)
  info.version = TONVAULT_VALUE_TEXT(LIBNJB_VERSION);
#undef TONVAULT_VALUE_TEXT
#undef TONVAULT_TEXT
  info.kind = kKindJukebox;
  return info;
}

// --- the device ---

NjbLibrary::NjbDevice::~NjbDevice() { CloseDevice(); }

Status NjbLibrary::NjbDevice::Enter(std::unique_lock<std::mutex>& lock) {
  lock = std::unique_lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || sending_) return kBusy;
  if (worker_.joinable()) worker_.join();
  return njb_ != nullptr ? kOk : kNotOpen;
}

Status NjbLibrary::NjbDevice::Failure() { return StatusFromNjbMessages(TakeNjbMessages(njb_)); }

Status NjbLibrary::NjbDevice::OpenDevice(int /*selection*/) {
  CloseDevice();
  std::lock_guard lock(mutex_);
  if (owner_.chosen_ >= owner_.foundCount_) return kNotFound;
  njb_t* njb = &owner_.found_[owner_.chosen_];
  if (NJB_Open(njb) == -1) return StatusFromNjbMessages(TakeNjbMessages(njb));
  if (NJB_Capture(njb) == -1) {
    const Status status = StatusFromNjbMessages(TakeNjbMessages(njb));
    NJB_Close(njb);
    return status;
  }
  njb_ = njb;
  captured_ = true;
  return ReadContent();
}

Status NjbLibrary::NjbDevice::ReadContent() {
  tracks_.clear();
  dataFiles_.clear();
  NJB_Get_Extended_Tags(njb_, 1);
  NJB_Reset_Get_Track_Tag(njb_);
  while (njb_songid_t* song = NJB_Get_Track_Tag(njb_)) {
    AudioInfo info = AudioInfoFromSongId(*song);
    tracks_[info.id] = std::move(info);
    NJB_Songid_Destroy(song);
  }
  NJB_Reset_Get_Datafile_Tag(njb_);
  while (njb_datafile_t* file = NJB_Get_Datafile_Tag(njb_)) {
    if (file->filename != nullptr && std::string(file->filename) != ".") {
      const int id = static_cast<int>(file->dfid);
      dataFiles_[id] = {file->filename, static_cast<std::int64_t>(file->filesize), id};
    }
    NJB_Datafile_Destroy(file);
  }
  return NJB_Error_Pending(njb_) ? Failure() : kOk;
}

Status NjbLibrary::NjbDevice::GetDeviceKind(int& kind) {
  kind = kKindJukebox;
  return njb_ != nullptr ? kOk : kNotOpen;
}

Status NjbLibrary::NjbDevice::GetConnected(int& connected) {
  connected = njb_ != nullptr && captured_ ? 1 : 0;
  return kOk;
}

Status NjbLibrary::NjbDevice::SetConnected(int connected) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  if (connected != 0 && !captured_) {
    if (NJB_Capture(njb_) == -1) return Failure();
    captured_ = true;
  } else if (connected == 0 && captured_) {
    NJB_Release(njb_);
    captured_ = false;
  }
  return kOk;
}

Status NjbLibrary::NjbDevice::CloseDevice() {
  if (worker_.joinable()) worker_.join();
  std::lock_guard lock(mutex_);
  if (njb_ == nullptr) return kOk;
  if (captured_) NJB_Release(njb_);
  NJB_Close(njb_);
  njb_ = nullptr;
  captured_ = false;
  return kOk;
}

Status NjbLibrary::NjbDevice::RebuildCache() {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  owner_.Events().Post([](DeviceEventSink& sink) { sink.OnMessage("Building the track list"); });
  return ReadContent();
}

Status NjbLibrary::NjbDevice::GetActiveMemory(int& memory) {
  memory = 0;
  return njb_ != nullptr ? kOk : kNotOpen;
}

Status NjbLibrary::NjbDevice::SetActiveMemory(int memory) { return memory == 0 ? kOk : kNotSupported; }

Status NjbLibrary::NjbDevice::GetDeviceInfo(DeviceInfo& info) {
  info = owner_.GetVersionInfo();
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  if (const char* name = NJB_Get_Device_Name(njb_, 0)) info.name = name;
  u_int8_t major = 0, minor = 0, release = 0;
  const auto version = [&] {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release);
  };
  if (NJB_Get_Firmware_Revision(njb_, &major, &minor, &release) == 0) info.firmware = version();
  if (NJB_Get_Hardware_Revision(njb_, &major, &minor, &release) == 0) info.hardware = version();
  u_int8_t serial[16] = {};
  if (NJB_Get_SDMI_ID(njb_, serial) == 0) {
    static const char kHex[] = "0123456789ABCDEF";
    for (u_int8_t byte : serial) info.serialNumber += {kHex[byte >> 4], kHex[byte & 15]};
  }
  const int external = NJB_Get_Auxpower(njb_);
  if (NJB_Get_Battery_Charging(njb_) == 1) {
    info.powerSource = kPowerCharging;
  } else if (external >= 0) {
    info.powerSource = external == 1 ? kPowerExternal : kPowerBattery;
  }
  TakeNjbMessages(njb_);  // what a player without one of these said
  return kOk;
}

Status NjbLibrary::NjbDevice::FindFirstTrack(int& id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  trackCursor_ = IdsOf(tracks_);
  return NextOf(trackCursor_, id);
}

Status NjbLibrary::NjbDevice::FindNextTrack(int& id) { return NextOf(trackCursor_, id); }

Status NjbLibrary::NjbDevice::GetTrackInfo(int id, AudioInfo& info) {
  if (sending_) return kBusy;  // the worker may be changing the lists
  const auto found = tracks_.find(id);
  if (found == tracks_.end()) return kNotFound;
  info = found->second;
  return kOk;
}

Status NjbLibrary::NjbDevice::SetTrackInfo(int id, const AudioInfo& info) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  const auto found = tracks_.find(id);
  if (found == tracks_.end()) return kNotFound;
  AudioInfo changed = info;
  changed.id = id;
  changed.fileSize = found->second.fileSize;
  SongIdPointer song = SongIdFromAudioInfo(changed);
  if (NJB_Replace_Track_Tag(njb_, static_cast<u_int32_t>(id), song.get()) == -1) return Failure();
  found->second = changed;
  return kOk;
}

Status NjbLibrary::NjbDevice::DeleteTrack(int id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  if (!tracks_.contains(id)) return kNotFound;
  if (NJB_Delete_Track(njb_, static_cast<u_int32_t>(id)) == -1) return Failure();
  tracks_.erase(id);
  return kOk;
}

Status NjbLibrary::NjbDevice::FindFirstDataFile(int& id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  dataCursor_ = IdsOf(dataFiles_);
  return NextOf(dataCursor_, id);
}

Status NjbLibrary::NjbDevice::FindNextDataFile(int& id) { return NextOf(dataCursor_, id); }

Status NjbLibrary::NjbDevice::GetDataFileInfo(int id, DataInfo& info) {
  if (sending_) return kBusy;  // the worker may be changing the lists
  const auto found = dataFiles_.find(id);
  if (found == dataFiles_.end()) return kNotFound;
  info = found->second;
  return kOk;
}

Status NjbLibrary::NjbDevice::DeleteDataFile(int id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  if (!dataFiles_.contains(id)) return kNotFound;
  if (NJB_Delete_Datafile(njb_, static_cast<u_int32_t>(id)) == -1) return Failure();
  dataFiles_.erase(id);
  return kOk;
}

Status NjbLibrary::NjbDevice::GetStorageInfo(StorageInfo& info) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  u_int64_t total = 0, free = 0;
  if (NJB_Get_Disk_Usage(njb_, &total, &free) == -1) return Failure();
  info.totalKb = static_cast<std::int64_t>(total / 1024);
  info.freeKb = static_cast<std::int64_t>(free / 1024);
  info.tracks = static_cast<int>(tracks_.size());
  info.dataFiles = static_cast<int>(dataFiles_.size());
  info.audioKb = info.dataKb = 0;
  for (const auto& [id, track] : tracks_) info.audioKb += track.fileSize / 1024;
  for (const auto& [id, file] : dataFiles_) info.dataKb += file.fileSize / 1024;
  return kOk;
}

Status NjbLibrary::NjbDevice::GetFreeSpace(std::int64_t& kilobytes) {
  StorageInfo info;
  const Status status = GetStorageInfo(info);
  kilobytes = info.freeKb;
  return status;
}

Status NjbLibrary::NjbDevice::GetTotalSpace(std::int64_t& kilobytes) {
  StorageInfo info;
  const Status status = GetStorageInfo(info);
  kilobytes = info.totalKb;
  return status;
}

int NjbLibrary::NjbDevice::Progress(u_int64_t sent, u_int64_t total, const char* /*buffer*/, unsigned /*length*/,
                                    void* data) {
  auto* device = static_cast<NjbDevice*>(data);
  const int percent = total == 0 ? 100 : static_cast<int>(sent * 100 / total);
  if (device->lastPercent_.exchange(percent) != percent) {
    const bool send = device->sending_;
    device->owner_.Events().Post([percent, send](DeviceEventSink& sink) {
      send ? sink.OnSendProgress(percent) : sink.OnReceiveProgress(percent);
    });
  }
  return 0;
}

void NjbLibrary::NjbDevice::StartTransfer(bool send, std::function<Status(int& id)> transfer) {
  sending_ = true;
  lastPercent_ = -1;
  worker_ = std::thread([this, send, transfer = std::move(transfer)] {
    int id = 0;
    Status status = kOk;
    {
      std::lock_guard lock(mutex_);
      status = transfer(id);
    }
    owner_.Events().Post([send, status, id](DeviceEventSink& sink) {
      send ? sink.OnSendCompleted(status, id) : sink.OnReceiveCompleted(status);
    });
    sending_ = false;
  });
}

Status NjbLibrary::NjbDevice::SendTrack(const std::string& path, const AudioInfo& info, int& id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  std::error_code error;
  AudioInfo sent = info;
  sent.fileSize = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
  if (error) return kFileError;
  if (sent.fileName.empty()) sent.fileName = std::filesystem::path(path).filename().string();
  id = 0;  // given with the completion
  lock.unlock();
  StartTransfer(true, [this, path, sent](int& newId) {
    SongIdPointer song = SongIdFromAudioInfo(sent);
    u_int32_t trackId = 0;
    if (NJB_Send_Track(njb_, path.c_str(), song.get(), &NjbDevice::Progress, this, &trackId) == -1) {
      return Failure();
    }
    newId = static_cast<int>(trackId);
    AudioInfo stored = sent;
    stored.id = newId;
    tracks_[newId] = stored;
    return kOk;
  });
  return kOk;
}

Status NjbLibrary::NjbDevice::SendDataFile(const std::string& path, const DataInfo& info, int& id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  std::error_code error;
  DataInfo sent = info;
  sent.fileSize = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
  if (error) return kFileError;
  if (sent.fileName.empty()) sent.fileName = std::filesystem::path(path).filename().string();
  id = 0;
  lock.unlock();
  StartTransfer(true, [this, path, sent](int& newId) {
    u_int32_t fileId = 0;
    if (NJB_Send_File(njb_, path.c_str(), sent.fileName.c_str(), "\\", &NjbDevice::Progress, this, &fileId) == -1) {
      return Failure();
    }
    newId = static_cast<int>(fileId);
    DataInfo stored = sent;
    stored.id = newId;
    dataFiles_[newId] = stored;
    return kOk;
  });
  return kOk;
}

// Receives into a new file that has no name yet (or an exclusive hidden
// one where the file system cannot do that) in the target's folder, and
// gives it the target's name only when complete and only when the target
// is still free: never through a link, never over another file, nothing
// left behind by a failure.
Status NjbLibrary::NjbDevice::Receive(int id, std::int64_t size, const std::string& path) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  auto file = std::make_shared<files::TemporaryFile>();
  if (file->Create(files::FolderOf(path), files::NameOf(path))) return kFileError;
  lock.unlock();
  StartTransfer(false, [this, id, size, path, file](int&) {
    if (NJB_Get_Track_fd(njb_, static_cast<u_int32_t>(id), static_cast<u_int32_t>(size), file->Descriptor(),
                         &NjbDevice::Progress, this) == -1) {
      file->Discard();
      return Failure();
    }
    ::fchmod(file->Descriptor(), files::NewFileMode());
    return file->LinkAs(path) ? kFileError : kOk;
  });
  return kOk;
}

Status NjbLibrary::NjbDevice::ReceiveTrack(int id, const std::string& path) {
  if (sending_) return kBusy;  // the worker may be changing the lists
  const auto found = tracks_.find(id);
  if (found == tracks_.end()) return kNotFound;
  if (found->second.isProtected) return kCopyProtected;
  return Receive(id, found->second.fileSize, path);
}

Status NjbLibrary::NjbDevice::ReceiveDataFile(int id, const std::string& path) {
  if (sending_) return kBusy;  // the worker may be changing the lists
  const auto found = dataFiles_.find(id);
  if (found == dataFiles_.end()) return kNotFound;
  return Receive(id, found->second.fileSize, path);
}

}  // namespace tonvault::device
