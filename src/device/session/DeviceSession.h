#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "catalogue/Application.h"
#include "device/DeviceEvents.h"
#include "device/DeviceLibrary.h"

namespace tonvault::device {

// What the session changes in the window besides the frontend's texts: the
// player's shape, the Jukebox tool bar, the About box's player button and
// the idle timer (a one-shot timer that calls DeviceSession::IdleTimerExpired).
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  virtual void ApplyDeviceKind(int kind) = 0;
  virtual void ShowJukeboxToolBar(bool shown) = 0;
  virtual void EnablePlayerAbout() = 0;
  virtual void StartIdleTimer(int milliseconds) = 0;
  virtual void StopIdleTimer() = 0;
  // A transfer's progress in percent.
  virtual void ShowTransferProgress(int /*percent*/) {}
};

// Finds the backends and returns the device library, or nothing when none
// can be set up.
using BackendFinder = std::function<std::unique_ptr<DeviceLibrary>()>;

// The session around every operation on the player: opening it, learning
// its kind, closing it at once or after the idle time, and the pauses that
// keep it from locking up. It is also where the player's events arrive:
// only inside Pump, on the program's thread.
class DeviceSession : public DeviceEventSink {
 public:
  static constexpr int kPlayerPlaying = 5;
  static constexpr int kPlayerPaused = 6;

  DeviceSession(catalogue::Application& app, SessionHost& host, BackendFinder findBackends);

  // The start-up step: finds the backends once, silently; without any,
  // DeviceKind becomes 0.
  void FindBackendsAtStart();
  // True when the player is open and usable.
  bool StartDevice(bool showErrors);
  // True when the player was left open (only the idle timer was armed).
  // "Stop NJB after" applies only to a player that needs rests.
  bool StopDevice(bool force, bool shutDown);
  // Called after each successful change on the player: every "Pause every"
  // changes a player that needs rests is disconnected for 10.5 seconds;
  // any other player is left alone.
  void PauseDevice();
  void DisconnectDevice();
  // Shapes the window for kind 0 (none), 1 (Jukebox) or 2 (Nomad II).
  void ApplyDeviceKind(int kind) { host_.ApplyDeviceKind(kind); }

  // The user chose another player: the open one is closed and the next
  // StartDevice finds the backends again.
  void ReplaceBackends();

  void IdleTimerExpired();
  // The minutes of "Stop NJB after" or "Pause every" changed.
  void StopMinutesChanged();
  // The "Stop NJB after" or "Pause every" check box was clicked.
  void StopCheckBoxClicked();

  // Lets the window run its events and delivers the player's events.
  void Pump();
  // Sleeps through the frontend, then pumps.
  void SleepAndPump(int milliseconds);

  bool LibraryPresent() const { return library_ != nullptr; }
  DeviceLibrary* Library() { return library_.get(); }
  // The device of the library; only while the library is present.
  Device& CurrentDevice() { return library_->GetDevice(); }

  int DeviceKind() const { return app_.deviceKind; }
  bool DeviceStarted() const { return deviceStarted_; }
  bool DeviceReady() const { return deviceReady_; }
  void SetDeviceReady(bool ready) { deviceReady_ = ready; }
  int TransferCounter() const { return transferCounter_; }
  int PlayerMode() const { return playerMode_; }
  Status LastTransferStatus() const { return lastTransferStatus_; }
  int LastSentId() const { return lastSentId_; }
  bool IdleTimerRunning() const { return idleTimerRunning_; }
  // How many of the player's events the pumps have delivered so far.
  long long EventsDelivered() const { return eventsDelivered_; }

  // --- the player's events ---
  void OnSendProgress(int percent) override { host_.ShowTransferProgress(percent); }
  void OnReceiveProgress(int percent) override { host_.ShowTransferProgress(percent); }
  void OnSendCompleted(Status status, int id) override;
  void OnReceiveCompleted(Status status) override;
  void OnRemoval() override;
  void OnMessage(const std::string& text) override;
  void OnWarning(const std::string& text) override;
  void OnError(int error, const std::string& errorText, const std::string& description,
               bool& throwException) override;
  void OnModeChanged(int mode) override;
  // The playback events go on to `sink` (the player page) as well; null
  // stops that.
  void ForwardPlaybackEvents(DeviceEventSink* sink) { playbackSink_ = sink; }
  void OnPlayStarted(int id) override;
  void OnPlayProgress(int seconds) override;
  void OnPlayCompleted() override;
  void OnQueueChanged() override;

 private:
  bool OpenPlayer(bool& noDeviceShown);
  bool TakeKind();
  Status CloseOnce(bool shutDown);
  void SetIdleTimer(bool running, int minutes = 0);
  // False when the player in use needs none of the Jukebox's rests.
  bool NeedsRest();
  // SetConnected(wanted) until GetConnected reports it, sleeping `sleep`
  // ms between tries; gives up at `deadline`. False when it gave up.
  bool WaitForConnected(int wanted, int sleep, std::chrono::steady_clock::time_point deadline);
  std::chrono::steady_clock::time_point ShutdownDeadline();
  void Panel(const std::string& text);

  catalogue::Application& app_;
  catalogue::Frontend& frontend_;
  SessionHost& host_;
  BackendFinder findBackends_;
  std::unique_ptr<DeviceLibrary> library_;
  int selection_ = kKindJukebox;
  bool deviceStarted_ = false;
  bool deviceReady_ = false;
  int playerMode_ = 0;
  int transferCounter_ = 0;
  Status lastTransferStatus_ = kOk;
  int lastSentId_ = 0;
  bool idleTimerRunning_ = false;
  long long eventsDelivered_ = 0;
  DeviceEventSink* playbackSink_ = nullptr;
};

}  // namespace tonvault::device
