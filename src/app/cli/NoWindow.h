#pragma once

#include "device/session/DeviceSession.h"

namespace tonvault::cli {

// Without a window there is nothing to shape and no timer to run: the
// player is closed at the end of each command.
class NoWindow : public device::SessionHost {
 public:
  void ApplyDeviceKind(int) override {}
  void ShowJukeboxToolBar(bool) override {}
  void EnablePlayerAbout() override {}
  void StartIdleTimer(int) override {}
  void StopIdleTimer() override {}
};

}  // namespace tonvault::cli
