#pragma once

#include <libnjb.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceLibrary.h"
#include "device/playback/VirtualPlayback.h"

namespace tonvault::device {

// A Nomad Jukebox (and its USB relatives) through libnjb. Every player it
// finds is a Jukebox (kind 8). Transfers run on a worker thread; their
// progress and end are posted as events, so they arrive in the program's
// pumps. While a transfer runs, every other call answers kBusy.
class NjbLibrary : public DeviceLibrary {
 public:
  NjbLibrary();
  ~NjbLibrary() override;

  int CountDevices(int kind) override;
  Status SelectDevice(int& selection) override;
  Device& GetDevice() override { return device_; }
  DeviceInfo GetVersionInfo() override;
  // Every pump first follows the playback up to now.
  EventQueue& Events() override;

 private:
  static constexpr int kMaxDevices = 8;

  class NjbDevice : public Device, private VirtualPlayback::Output {
   public:
    explicit NjbDevice(NjbLibrary& owner);
    ~NjbDevice() override;

    Status OpenDevice(int selection) override;
    Status GetDeviceKind(int& kind) override;
    Status GetConnected(int& connected) override;
    Status SetConnected(int connected) override;
    Status CloseDevice() override;
    Status ShutDownDevice() override { return CloseDevice(); }
    Status RebuildCache() override;
    Status GetActiveMemory(int& memory) override;
    Status SetActiveMemory(int memory) override;
    Status FormatMemory() override { return kNotSupported; }
    Status GetDeviceInfo(DeviceInfo& info) override;

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

    // --- playlists ---
    Status FindFirstPlaylist(int& id) override;
    Status FindNextPlaylist(int& id) override;
    Status GetPlaylist(int id, Playlist& playlist) override;
    Status SetPlaylist(int id, const Playlist& playlist) override;
    Status CreatePlaylist(const std::string& name, int& id) override;
    Status DeletePlaylist(int id) override;

   private:
    // Writes `playlist` as the player's playlist `plid` (0: a new one); the
    // player may give it a new ID, which `plid` then holds.
    Status WritePlaylist(const Playlist& playlist, std::uint32_t& plid, bool renamed);

   public:
    // --- owner, clock and presets ---
    Status GetOwnerName(std::string& name) override;
    Status SetOwnerName(const std::string& name) override;
    Status GetDateTime(PlayerDateTime& clock) override;
    Status SetDateTime(const PlayerDateTime& clock) override;

    // --- playback ---
    // The program keeps the queue and plays it a track at a time; the
    // Jukebox is told each start, pause, resume and stop.
    Status Play(int id) override;
    Status QueueTrack(int id) override;
    Status PausePlay() override;
    Status ResumePlay() override;
    Status StopPlay() override;
    Status PlayNext() override;
    Status PlayPrevious() override;
    Status ShuffleQueue() override;
    Status ClearQueue() override;
    Status SetRepeat(bool repeat) override;
    Status SeekPlay(int percent) override;
    Status GetHistoryCount(int& count) override;
    Status GetQueueCount(int& count) override;
    Status FindFirstHistory(int& id) override;
    Status FindNextHistory(int& id) override;
    Status FindFirstQueued(int& id) override;
    Status FindNextQueued(int& id) override;

    VirtualPlayback playback_;

   private:
    // VirtualPlayback::Output: the Jukebox itself.
    void Start(int id, std::chrono::milliseconds offset) override;
    void Pause() override;
    void Resume() override;
    void Stop() override;
    // kOk when the player is open and not busy (for the playback calls,
    // which keep their state in the program).
    Status Open();

    // Locks the device for one call; kBusy while a transfer runs, kNotOpen
    // before OpenDevice.
    Status Enter(std::unique_lock<std::mutex>& lock);
    Status Failure();
    Status ReadContent();
    // Runs `transfer` on the worker thread, posting progress and the end.
    void StartTransfer(bool send, std::function<Status(int& id)> transfer);
    static int Progress(u_int64_t sent, u_int64_t total, const char* buffer, unsigned length, void* data);
    Status Receive(int id, std::int64_t size, const std::string& path);

    NjbLibrary& owner_;
    njb_t* njb_ = nullptr;
    bool captured_ = false;
    std::mutex mutex_;
    std::thread worker_;
    std::atomic<bool> sending_{false};
    std::atomic<int> lastPercent_{-1};
    std::map<int, AudioInfo> tracks_;
    std::map<int, DataInfo> dataFiles_;
    // The playlists as last read; the player renumbers a playlist whose
    // tracks change, so the IDs handed out stay and map to its current one.
    std::map<int, Playlist> playlists_;
    std::map<int, std::uint32_t> plids_;
    std::vector<int> playlistCursor_;
    int nextPlaylistId_ = 1;

    std::vector<int> trackCursor_, dataCursor_, historyCursor_, queueCursor_;
  };

  njb_t found_[kMaxDevices]{};
  int foundCount_ = 0;
  int chosen_ = 0;
  NjbDevice device_;
};

}  // namespace tonvault::device
