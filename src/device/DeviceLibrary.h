#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/DeviceEvents.h"
#include "device/DeviceStatus.h"
#include "device/DeviceTypes.h"
#include "device/Playlist.h"

namespace tonvault::device {

// An opened (or openable) player. Every operation returns a Status; the
// FindFirst/FindNext pairs give the next ID while the status is kOk and
// kEndOfList after the last one. Transfers return once started; their end
// comes as OnSendCompleted / OnReceiveCompleted through the event queue.
class Device {
 public:
  virtual ~Device() = default;

  // --- the device ---
  virtual Status OpenDevice(int selection) = 0;
  virtual Status GetDeviceKind(int& kind) = 0;  // kKindJukebox or kKindNomadII
  virtual Status GetConnected(int& connected) = 0;
  virtual Status SetConnected(int connected) = 0;
  virtual Status CloseDevice() = 0;
  virtual Status ShutDownDevice() = 0;
  virtual Status RebuildCache() = 0;
  virtual Status GetActiveMemory(int& memory) = 0;  // 0 internal, 1 external
  virtual Status SetActiveMemory(int memory) = 0;
  virtual Status FormatMemory() = 0;
  virtual Status GetDeviceInfo(DeviceInfo& info) = 0;

  // --- content ---
  virtual Status FindFirstTrack(int& id) = 0;
  virtual Status FindNextTrack(int& id) = 0;
  virtual Status GetTrackInfo(int id, AudioInfo& info) = 0;
  virtual Status SetTrackInfo(int id, const AudioInfo& info) = 0;
  virtual Status DeleteTrack(int id) = 0;
  virtual Status FindFirstDataFile(int& id) = 0;
  virtual Status FindNextDataFile(int& id) = 0;
  virtual Status GetDataFileInfo(int id, DataInfo& info) = 0;
  virtual Status DeleteDataFile(int id) = 0;
  virtual Status GetStorageInfo(StorageInfo& info) = 0;
  virtual Status GetFreeSpace(std::int64_t& kilobytes) = 0;
  virtual Status GetTotalSpace(std::int64_t& kilobytes) = 0;

  // --- transfers ---
  virtual Status SendTrack(const std::string& path, const AudioInfo& info, int& id) = 0;
  virtual Status SendDataFile(const std::string& path, const DataInfo& info, int& id) = 0;
  virtual Status ReceiveTrack(int id, const std::string& path) = 0;
  virtual Status ReceiveDataFile(int id, const std::string& path) = 0;

  // --- playlists ---
  // A player without playlists (the Nomad II) answers kNotSupported.
  // CreatePlaylist gives the new, empty playlist's ID; SetPlaylist replaces
  // the name and tracks of an existing one.
  virtual Status FindFirstPlaylist(int& id) = 0;
  virtual Status FindNextPlaylist(int& id) = 0;
  virtual Status GetPlaylist(int id, Playlist& playlist) = 0;
  virtual Status SetPlaylist(int id, const Playlist& playlist) = 0;
  virtual Status CreatePlaylist(const std::string& name, int& id) = 0;
  virtual Status DeletePlaylist(int id) = 0;
  // How many playlists the player holds.
  virtual Status CountPlaylists(int& count) {
    count = 0;
    int id = 0;
    Status status = FindFirstPlaylist(id);
    for (; status == kOk; status = FindNextPlaylist(id)) ++count;
    return status == kEndOfList ? kOk : status;
  }
};

// The root of a backend: finds players and hands out the device. Its event
// queue carries the events of every device it opens.
class DeviceLibrary {
 public:
  virtual ~DeviceLibrary() = default;

  // How many players of `kind` (kKindJukebox or kKindNomadII) are attached.
  virtual int CountDevices(int kind) = 0;
  // Lets the choice among several attached players change `selection`.
  virtual Status SelectDevice(int& selection) = 0;
  virtual Device& GetDevice() = 0;
  // The backend's name and version (no player needed).
  virtual DeviceInfo GetVersionInfo() = 0;

  // Where the events of the device in use wait for the next pump.
  virtual EventQueue& Events() { return events_; }

 private:
  EventQueue events_;
};

}  // namespace tonvault::device
