#pragma once

#include "device/session/DeviceSession.h"

namespace tonvault::device {

// The session's host where there is no window: nothing to shape and no
// timer to run, so the caller closes the player at the end of its work.
class HeadlessHost : public SessionHost {
 public:
  void ApplyDeviceKind(int) override {}
  void ShowJukeboxToolBar(bool) override {}
  void EnablePlayerAbout() override {}
  void StartIdleTimer(int) override {}
  void StopIdleTimer() override {}
};

}  // namespace tonvault::device
