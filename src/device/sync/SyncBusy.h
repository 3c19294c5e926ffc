#pragma once

#include "catalogue/Application.h"

namespace tonvault::device {

// The busy state around an action of the Synchronize page; it ends with the
// page's own command state and an empty progress bar, not with a page
// change, which would empty the page's list.
class SyncBusy {
 public:
  explicit SyncBusy(catalogue::Application& app) : app_(app) {
    catalogue::SetCommandState(app_, 0);
    catalogue::StartProgress(app_);
  }
  ~SyncBusy() {
    app_.frontend.SetProgress(0, 0);
    catalogue::SetCommandState(app_, 11);
  }
  SyncBusy(const SyncBusy&) = delete;
  SyncBusy& operator=(const SyncBusy&) = delete;

 private:
  catalogue::Application& app_;
};

}  // namespace tonvault::device
