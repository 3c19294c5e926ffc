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
  // Whether the session rests the player: the disconnect and 10.5-second
  // pause after every "Pause every" changes, and the close after "Stop NJB
  // after" idle minutes. A Jukebox's hard disk needs them to keep from
  // locking up; a player on flash memory or a mounted folder needs neither.
  virtual bool NeedsRestPauses() const { return true; }

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
  // Puts the file at `path` in the place of track `id`, which keeps its ID
  // and its places in the playlists; the old track goes only once the new
  // one is complete. The end comes as OnSendCompleted, as for SendTrack. A
  // player that cannot (the Jukebox over USB) answers kNotSupported, and
  // the caller deletes and sends instead.
  virtual Status ReplaceTrack(int /*id*/, const std::string& /*path*/, const AudioInfo& /*info*/) {
    return kNotSupported;
  }
  virtual bool CanReplaceTrack() const { return false; }

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
  // --- owner, clock and presets ---
  // A player without one of these answers kNotSupported.
  virtual Status GetOwnerName(std::string& /*name*/) { return kNotSupported; }
  virtual Status SetOwnerName(const std::string& /*name*/) { return kNotSupported; }
  virtual Status GetDateTime(PlayerDateTime& /*clock*/) { return kNotSupported; }
  virtual Status SetDateTime(const PlayerDateTime& /*clock*/) { return kNotSupported; }
  // The sound formats it plays, one by one (kEndOfList after the last).
  virtual Status FindFirstFormat(SoundFormat& /*format*/) { return kNotSupported; }
  virtual Status FindNextFormat(SoundFormat& /*format*/) { return kNotSupported; }
  // The radio presets (a Nomad II).
  virtual Status GetFMPresets(FmPresets& /*presets*/) { return kNotSupported; }
  virtual Status SetFMPresets(const FmPresets& /*presets*/) { return kNotSupported; }

  // --- playback ---
  // The player plays its own tracks. Its queue holds the track playing (or
  // paused, or next to play) first, then the tracks after it; the history
  // holds the tracks played before. Changes come as OnModeChanged,
  // OnPlayStarted, OnPlayProgress, OnPlayCompleted and OnQueueChanged.
  // A player that cannot play answers kNotSupported to every call.
  virtual Status Play(int /*id*/) { return kNotSupported; }  // 0 plays the queue
  virtual Status QueueTrack(int /*id*/) { return kNotSupported; }
  virtual Status PausePlay() { return kNotSupported; }
  virtual Status ResumePlay() { return kNotSupported; }
  virtual Status StopPlay() { return kNotSupported; }
  virtual Status PlayNext() { return kNotSupported; }
  virtual Status PlayPrevious() { return kNotSupported; }
  virtual Status ShuffleQueue() { return kNotSupported; }
  virtual Status ClearQueue() { return kNotSupported; }
  virtual Status SetRepeat(bool /*repeat*/) { return kNotSupported; }
  virtual Status SeekPlay(int /*percent*/) { return kNotSupported; }
  virtual Status GetHistoryCount(int& /*count*/) { return kNotSupported; }
  virtual Status GetQueueCount(int& /*count*/) { return kNotSupported; }
  virtual Status FindFirstHistory(int& /*id*/) { return kNotSupported; }
  virtual Status FindNextHistory(int& /*id*/) { return kNotSupported; }
  virtual Status FindFirstQueued(int& /*id*/) { return kNotSupported; }
  virtual Status FindNextQueued(int& /*id*/) { return kNotSupported; }
  // The sound: a value of a slider, or the index of a choice whose texts
  // come one by one from its FindFirst/FindNext pair.
  virtual Status GetSound(SoundSetting /*setting*/, int& /*value*/) { return kNotSupported; }
  virtual Status SetSound(SoundSetting /*setting*/, int /*value*/) { return kNotSupported; }
  virtual Status FindFirstSoundChoice(SoundSetting /*setting*/, std::string& /*text*/) { return kNotSupported; }
  virtual Status FindNextSoundChoice(SoundSetting /*setting*/, std::string& /*text*/) { return kNotSupported; }
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
