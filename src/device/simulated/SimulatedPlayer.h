#pragma once

#include <deque>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceLibrary.h"
#include "device/folder/StoreDevice.h"
#include "device/playback/VirtualPlayback.h"

namespace tonvault::device {

// A player that exists only as folders in a scratch directory: a Jukebox
// (kind 8, one memory) or a Nomad II (kind 4, internal and external memory),
// or both attached at once. Tests script its faults call by call; users can
// start it as a demonstration player.
class SimulatedPlayer : public DeviceLibrary {
 public:
  // `attached` lists the kinds plugged in (kKindJukebox, kKindNomadII).
  SimulatedPlayer(std::string scratchFolder, std::vector<int> attached);

  int CountDevices(int kind) override;
  Status SelectDevice(int& selection) override;
  Device& GetDevice() override { return device_; }
  DeviceInfo GetVersionInfo() override;
  // Every pump plays on up to the present of the playback clock first.
  EventQueue& Events() override;

  // --- scripting ---
  // The next `times` calls of the operation named `call` ("CloseDevice",
  // "SendTrack", ...) answer `status` without doing anything.
  void FailNext(const std::string& call, Status status, int times = 1);
  // The next transfer reports some progress, then the player is removed.
  void RemoveDuringNextTransfer() { removeDuringTransfer_ = true; }
  // The next send reports some progress and then nothing more: the player
  // has stopped working without going away.
  void SilenceDuringNextSend() { silentSend_ = true; }
  // The next receive writes part of the file, then ends with `status` (a
  // disk that filled up on the way, say).
  void FailDuringNextReceive(Status status) { receiveFault_ = status; }
  // The player rejects the file at `path` until its size or date has
  // changed `changes` times.
  void RejectUntilChanged(const std::string& path, int changes = 1);
  // The choice SelectDevice makes when several players are attached.
  void AnswerSelection(int selection) { selectionAnswer_ = selection; }
  // GetConnected keeps answering 1 for this many calls after a disconnect.
  void SlowDisconnect(int answers) { slowDisconnect_ = answers; }
  // The power source GetDeviceInfo reports (kPowerExternal at first).
  void SetPowerSource(int source) { powerSource_ = source; }
  // Whether the session rests this player as it rests a Jukebox's disk
  // (pauses every few changes, closes after idle minutes); off at first.
  void SetRestPauses(bool rests) { restPauses_ = rests; }
  // A track the player holds but no longer lists: only DeleteTrack finds it.
  void AddLostTrack(int id) { lostTracks_.insert(id); }
  const std::set<int>& LostTracks() const { return lostTracks_; }
  // The clock playback runs on (the frontend's, in tests a fake one).
  void SetClock(VirtualPlayback::Clock clock) { device_.playback_.SetClock(std::move(clock)); }

  // --- reading back ---
  // Every call that reached the player, in order ("OpenDevice(8)", ...).
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  const std::string& ScratchFolder() const { return scratch_; }

 private:
  class SimulatedDevice : public StoreDevice {
   public:
    SimulatedDevice(EventQueue& events, SimulatedPlayer& owner);

    Status OpenDevice(int selection) override;
    Status GetConnected(int& connected) override;
    Status SetConnected(int connected) override;
    Status CloseDevice() override;
    Status ShutDownDevice() override;
    Status GetActiveMemory(int& memory) override;
    Status SetActiveMemory(int memory) override;
    Status FormatMemory() override;
    Status SendTrack(const std::string& path, const AudioInfo& info, int& id) override;
    Status ReceiveTrack(int id, const std::string& path) override;
    Status DeleteTrack(int id) override;
    Status GetDeviceInfo(DeviceInfo& info) override;
    bool NeedsRestPauses() const override { return owner_.restPauses_; }

    // --- owner, clock and presets ---
    Status GetOwnerName(std::string& name) override;
    Status SetOwnerName(const std::string& name) override;
    Status GetDateTime(PlayerDateTime& clock) override;
    Status SetDateTime(const PlayerDateTime& clock) override;
    Status FindFirstFormat(SoundFormat& format) override;
    Status FindNextFormat(SoundFormat& format) override;
    Status GetFMPresets(FmPresets& presets) override;
    Status SetFMPresets(const FmPresets& presets) override;

    // --- playback ---
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
    Status GetSound(SoundSetting setting, int& value) override;
    Status SetSound(SoundSetting setting, int value) override;
    Status FindFirstSoundChoice(SoundSetting setting, std::string& text) override;
    Status FindNextSoundChoice(SoundSetting setting, std::string& text) override;

    VirtualPlayback playback_;

   protected:
    PlayerStore* Store() override { return stores_[static_cast<std::size_t>(memory_)].get(); }
    Status Before(std::string_view call) override;
    void PostTransfer(bool send, Status status, int id) override;
    Status OpenStores() override;
    void CloseStores() override {
      stores_[0].reset();
      stores_[1].reset();
    }
    DeviceInfo Describe() override;
    bool HasPlaylists() const override { return kind_ != kKindNomadII; }

   private:
    // kOk when the open player may run `call` (which only a player of
    // `kind`, or any when 0, can do).
    Status Ready(std::string_view call, int kind = 0);
    static Status NextOf(std::vector<int>& cursor, int& id);

    SimulatedPlayer& owner_;
    std::unique_ptr<PlayerStore> stores_[2];
    int memory_ = 0;
    std::string ownerName_;
    PlayerDateTime clock_{2004, 5, 1, 12, 0, 0};
    FmPresets presets_{};
    std::size_t formatCursor_ = 0;
    std::vector<int> historyCursor_, queueCursor_;
    std::map<SoundSetting, int> sound_;
    std::map<SoundSetting, std::size_t> choiceCursor_;
  };

  struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modified = -1;
    bool operator==(const FileStamp&) const = default;
  };
  static FileStamp StampOf(const std::string& path);
  // The scripted answer for `call`, kOk when none is queued.
  Status TakeFault(std::string_view call);
  void Log(std::string call) { calls_.push_back(std::move(call)); }

  std::string scratch_;
  std::vector<int> attached_;
  std::map<std::string, std::deque<Status>, std::less<>> faults_;
  struct Rejection {
    FileStamp stamp;
    int changesLeft = 1;
  };
  std::map<std::string, Rejection> rejected_;
  bool removeDuringTransfer_ = false;
  Status receiveFault_ = kOk;
  bool silentSend_ = false;
  int selectionAnswer_ = 0;
  int slowDisconnect_ = 0;
  int powerSource_ = kPowerExternal;
  bool restPauses_ = false;
  std::set<int> lostTracks_;
  std::vector<std::string> calls_;
  SimulatedDevice device_;
};

}  // namespace tonvault::device
