#include "device/session/DeviceSession.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr int kNoKind = 0, kJukebox = 1, kNomadII = 2;
constexpr int kBusyRetryMilliseconds = 100;
constexpr int kPauseSteps = 21;
constexpr int kPauseStepMilliseconds = 500;
// The shortest sleep between two tries of a connect or disconnect, so a
// player that never answers cannot spin the loop past its deadline.
constexpr int kShortestPoll = 10;

bool ContainsBuilding(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower.find("building") != std::string::npos;
}

}  // namespace

DeviceSession::DeviceSession(catalogue::Application& app, SessionHost& host, BackendFinder findBackends)
    : app_(app), frontend_(app.frontend), host_(host), findBackends_(std::move(findBackends)) {}

void DeviceSession::Panel(const std::string& text) { frontend_.SetStatusPanel(1, text); }

void DeviceSession::Pump() {
  frontend_.PumpEvents();
  if (library_) eventsDelivered_ += library_->Events().Deliver(*this);
}

void DeviceSession::SleepAndPump(int milliseconds) {
  frontend_.Sleep(milliseconds);
  Pump();
}

void DeviceSession::SetIdleTimer(bool running, int minutes) {
  idleTimerRunning_ = running;
  if (running) {
    host_.StartIdleTimer(minutes * 60000);
  } else {
    host_.StopIdleTimer();
  }
}

bool DeviceSession::NeedsRest() { return !library_ || CurrentDevice().NeedsRestPauses(); }

std::chrono::steady_clock::time_point DeviceSession::ShutdownDeadline() {
  return frontend_.Now() + std::chrono::minutes(app_.options.njb.shutdownTimeout);
}

void DeviceSession::FindBackendsAtStart() {
  if (!library_ && findBackends_) library_ = findBackends_();
  if (!library_) app_.deviceKind = kNoKind;
}

bool DeviceSession::StartDevice(bool showErrors) {
  SetIdleTimer(false);
  FindBackendsAtStart();
  bool result = true;
  bool noDeviceShown = false;
  if (library_) {
    host_.EnablePlayerAbout();
    if (!deviceStarted_) result = OpenPlayer(noDeviceShown);
  }
  if (!library_) {
    frontend_.Beep(Sound::Exclamation);
    frontend_.ShowMessage(MessageKind::Error, "Cannot initialize JBDirect 3", {Button::Ok});
    result = false;
    app_.deviceKind = kNoKind;
  } else if (!deviceStarted_) {
    if (showErrors && !noDeviceShown) {
      frontend_.Beep(Sound::Exclamation);
      frontend_.ShowMessage(MessageKind::Error, "Cannot initialize NJB", {Button::Ok});
    }
    result = false;
    app_.deviceKind = kNoKind;
  }
  Panel("");
  return result;
}

// Finds the attached players, lets the library choose among several, opens
// the one chosen and learns its kind. False when none could be opened.
bool DeviceSession::OpenPlayer(bool& noDeviceShown) {
  Panel("NJB Start");
  Pump();
  const int count = library_->CountDevices(kKindJukebox) + library_->CountDevices(kKindNomadII);
  if (count == 0) {
    frontend_.Beep(Sound::Asterisk);
    frontend_.ShowMessage(MessageKind::Warning, "No device found", {Button::Ok});
    noDeviceShown = true;
    app_.deviceKind = kNoKind;
    return false;
  }
  if (count > 1) library_->SelectDevice(selection_);
  if (CurrentDevice().OpenDevice(selection_) != kOk) {
    // What the player said about the refusal (busy, a card it will not
    // open) comes before the session's own message.
    Pump();
    app_.deviceKind = kNoKind;
    return false;
  }
  return TakeKind();
}

bool DeviceSession::TakeKind() {
  int kind = 0;
  if (CurrentDevice().GetDeviceKind(kind) != kOk) return false;
  if (kind == kKindNomadII) {
    app_.deviceKind = kNomadII;
    ApplyDeviceKind(kNomadII);
  } else if (kind == kKindJukebox) {
    app_.deviceKind = kJukebox;
    host_.ShowJukeboxToolBar(true);
    ApplyDeviceKind(kJukebox);
  } else {
    return false;
  }
  deviceStarted_ = true;
  return true;
}

Status DeviceSession::CloseOnce(bool shutDown) {
  DisconnectDevice();
  Status status = kOk;
  if (shutDown) {
    status = CurrentDevice().ShutDownDevice();
    CurrentDevice().CloseDevice();
  } else {
    status = CurrentDevice().CloseDevice();
  }
  host_.ShowJukeboxToolBar(false);
  deviceStarted_ = false;
  SleepAndPump(kBusyRetryMilliseconds);
  return status;
}

bool DeviceSession::StopDevice(bool force, bool shutDown) {
  if (!library_) {
    Panel("");
    deviceReady_ = true;
    return true;
  }
  const auto& njb = app_.options.njb;
  // "Stop NJB after" rests a Jukebox's disk; a player that needs no rest
  // stays open as if the box were off.
  const bool stopAfter = njb.stopAfter && NeedsRest();
  const bool closeAtOnce = stopAfter && njb.stopMinutes == 0;
  bool result = true;
  if (force || shutDown || (closeAtOnce && app_.deviceKind != kNomadII)) {
    Panel("NJB Stop");
    Pump();
    shutDown = shutDown && app_.deviceKind == kJukebox;
    Status status = kOk;
    const bool playing = playerMode_ == kPlayerPlaying || playerMode_ == kPlayerPaused;
    if (deviceStarted_ && !playing) {
      const auto deadline = ShutdownDeadline();
      do {
        status = CloseOnce(shutDown);
      } while (status == kBusy && frontend_.Now() <= deadline);
    }
    if (status != kOk) {
      frontend_.Beep(Sound::Exclamation);
      frontend_.ShowMessage(MessageKind::Error, "ShutDown NJB failed", {Button::Ok});
    }
    result = false;
  }
  if (app_.deviceKind == kNomadII || force || closeAtOnce) {
    SetIdleTimer(false);
  } else if (stopAfter) {
    SetIdleTimer(true, njb.stopMinutes);
  }
  Panel("");
  deviceReady_ = result;
  return result;
}

bool DeviceSession::WaitForConnected(int wanted, int sleep, std::chrono::steady_clock::time_point deadline) {
  Device& device = CurrentDevice();
  for (;;) {
    int connected = wanted;
    if (device.GetConnected(connected) != kOk || connected == wanted) return true;
    if (frontend_.Now() > deadline) return false;
    device.SetConnected(wanted);
    SleepAndPump(std::max(sleep, kShortestPoll));
  }
}

void DeviceSession::DisconnectDevice() {
  if (library_) WaitForConnected(0, 0, ShutdownDeadline());
}

void DeviceSession::PauseDevice() {
  const auto& njb = app_.options.njb;
  // Only a player that needs the rest is paused, and only its changes count.
  if (!njb.uploadPause || !library_ || !NeedsRest()) return;
  ++transferCounter_;
  if (njb.uploadPauseTracks != 0 && transferCounter_ % njb.uploadPauseTracks != 0) return;
  Panel("NJB Pause");
  Pump();
  WaitForConnected(0, njb.cpuSleep, ShutdownDeadline());
  for (int step = 0; step < kPauseSteps; ++step) SleepAndPump(kPauseStepMilliseconds);
  // A player that does not come back cannot carry on with the operation.
  if (!WaitForConnected(1, njb.cpuSleep, ShutdownDeadline())) deviceReady_ = false;
  Panel("");
  Pump();
}

void DeviceSession::ReplaceBackends() {
  if (!library_) return;
  if (deviceStarted_) deviceReady_ = StopDevice(true, false);
  library_.reset();
  deviceStarted_ = false;
}

void DeviceSession::IdleTimerExpired() {
  SetIdleTimer(false);
  if (app_.deviceKind == kJukebox && app_.options.njb.stopAfter && NeedsRest()) {
    deviceReady_ = StopDevice(true, false);
  }
}

void DeviceSession::StopMinutesChanged() {
  if (!idleTimerRunning_) return;
  const auto& njb = app_.options.njb;
  if (njb.stopMinutes <= 0) {
    IdleTimerExpired();
  } else {
    SetIdleTimer(true, njb.stopMinutes);
  }
}

void DeviceSession::StopCheckBoxClicked() { deviceReady_ = StopDevice(false, false); }

void DeviceSession::OnSendCompleted(Status status, int id) {
  lastTransferStatus_ = status;
  lastSentId_ = id;
  app_.transferToPlayerInProgress = false;
}

void DeviceSession::OnReceiveCompleted(Status status) {
  lastTransferStatus_ = status;
  app_.transferFromPlayerInProgress = false;
}

void DeviceSession::OnRemoval() {
  // A transfer that was waiting ends as failed.
  lastTransferStatus_ = kRemoved;
  app_.transferToPlayerInProgress = false;
  app_.transferFromPlayerInProgress = false;
}

void DeviceSession::OnMessage(const std::string& text) {
  if (ContainsBuilding(text)) Panel("Building Cache");
}

void DeviceSession::OnWarning(const std::string& text) {
  frontend_.ShowMessage(MessageKind::Warning, text, {Button::Ok});
}

void DeviceSession::OnError(int error, const std::string& errorText, const std::string& description,
                            bool& throwException) {
  // Errors the operations report through their status are not shown twice.
  constexpr std::array<int, 6> kQuiet = {16, 24, 66, 128, 144, 260};
  if (std::find(kQuiet.begin(), kQuiet.end(), error) == kQuiet.end()) {
    char code[16];
    std::snprintf(code, sizeof code, "%3.3d", error);
    frontend_.ShowMessage(MessageKind::Error,
                          "Action failed with errorcode JBD-" + std::string(code) + "\r\n\r\nError : " + errorText +
                              "\r\nDescription : " + description,
                          {Button::Ok});
  }
  throwException = false;
}

void DeviceSession::OnModeChanged(int mode) {
  playerMode_ = mode;
  if (playbackSink_ != nullptr) playbackSink_->OnModeChanged(mode);
}

void DeviceSession::OnPlayStarted(int id) {
  if (playbackSink_ != nullptr) playbackSink_->OnPlayStarted(id);
}

void DeviceSession::OnPlayProgress(int seconds) {
  if (playbackSink_ != nullptr) playbackSink_->OnPlayProgress(seconds);
}

void DeviceSession::OnPlayCompleted() {
  if (playbackSink_ != nullptr) playbackSink_->OnPlayCompleted();
}

void DeviceSession::OnQueueChanged() {
  if (playbackSink_ != nullptr) playbackSink_->OnQueueChanged();
}

}  // namespace tonvault::device
