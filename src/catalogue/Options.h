#pragma once

namespace tonvault::catalogue {

// The options the commands read. The settings page binds its controls to
// this structure and the settings file stores it.
struct Options {
  bool dontAskForSaveOnExit = false;
};

}  // namespace tonvault::catalogue
