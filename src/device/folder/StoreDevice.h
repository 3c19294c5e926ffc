#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "device/DeviceLibrary.h"
#include "device/folder/PlayerStore.h"
#include "device/folder/PlaylistStore.h"

namespace tonvault::device {

// A player whose content is a PlayerStore: the folder player, and the
// simulated player, which adds its faults through Before and its progress
// through PostTransfer. What a folder cannot do (playback, sound, radio,
// formatting, a second memory) answers kNotSupported.
class StoreDevice : public Device {
 public:
  StoreDevice(EventQueue& events, int kind) : events_(events), kind_(kind) {}

  Status OpenDevice(int selection) override;
  Status GetDeviceKind(int& kind) override;
  Status GetConnected(int& connected) override;
  Status SetConnected(int connected) override;
  Status CloseDevice() override;
  Status ShutDownDevice() override;
  Status RebuildCache() override;
  Status GetActiveMemory(int& memory) override;
  Status SetActiveMemory(int memory) override;
  Status FormatMemory() override;
  Status GetDeviceInfo(DeviceInfo& info) override;
  bool NeedsRestPauses() const override { return false; }

  Status FindFirstTrack(int& id) override;
  Status FindNextTrack(int& id) override;
  Status GetTrackInfo(int id, AudioInfo& info) override;
  Status SetTrackInfo(int id, const AudioInfo& info) override;
  Status DeleteTrack(int id) override;
  Status FindFirstDataFile(int& id) override;
  Status FindNextDataFile(int& id) override;
  Status GetDataFileInfo(int id, DataInfo& info) override;
  Status DeleteDataFile(int id) override;
  Status GetStorageInfo(StorageInfo& info) override;
  Status GetFreeSpace(std::int64_t& kilobytes) override;
  Status GetTotalSpace(std::int64_t& kilobytes) override;

  Status SendTrack(const std::string& path, const AudioInfo& info, int& id) override;
  Status SendDataFile(const std::string& path, const DataInfo& info, int& id) override;
  Status ReceiveTrack(int id, const std::string& path) override;
  Status ReceiveDataFile(int id, const std::string& path) override;
  Status ReplaceTrack(int id, const std::string& path, const AudioInfo& info) override;
  bool CanReplaceTrack() const override { return true; }

  // --- playlists ---
  Status FindFirstPlaylist(int& id) override;
  Status FindNextPlaylist(int& id) override;
  Status GetPlaylist(int id, Playlist& playlist) override;
  Status SetPlaylist(int id, const Playlist& playlist) override;
  Status CreatePlaylist(const std::string& name, int& id) override;
  Status DeletePlaylist(int id) override;

  bool IsOpen() const { return open_; }

 protected:
  // The store of the memory in use; null before the device is opened.
  virtual PlayerStore* Store() = 0;
  // Runs before every operation named `call` once the device is open; a
  // status other than kOk is the operation's answer.
  virtual Status Before(std::string_view call);
  // Posts the progress and completion events of a transfer that has been
  // carried out.
  virtual void PostTransfer(bool send, Status status, int id);
  // Opens the store(s); called by OpenDevice.
  virtual Status OpenStores() = 0;
  // Lets the store(s) go, with the card's lock; called by CloseDevice.
  virtual void CloseStores() = 0;
  // Hands what the store refused or repaired to the user, and ends the
  // session when the card was removed; returns `status`.
  Status Report(Status status);
  virtual DeviceInfo Describe() = 0;
  // Whether this player keeps playlists at all.
  virtual bool HasPlaylists() const { return true; }

  EventQueue& events_;
  int kind_;
  bool open_ = false;
  bool connected_ = false;

 private:
  Status Check(std::string_view call);
  Status NextOf(std::vector<int>& ids, int& id);
  std::vector<int> trackCursor_, dataCursor_;
  // The playlists of the store in use, read again when the store changes.
  PlaylistStore* Playlists();
  Status CheckPlaylists(std::string_view call);
  std::unique_ptr<PlaylistStore> playlists_;
  std::vector<int> playlistCursor_;
};

}  // namespace tonvault::device
