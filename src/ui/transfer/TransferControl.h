#pragma once

#include <memory>

#include "device/transfer/TransferContext.h"
#include "ui/transfer/TransferStatusWindow.h"

namespace tonvault::ui {

// The window's transfers to and from the player: the Transfer Status
// window, made once at start, and the two commands that use it.
class TransferControl {
 public:
  TransferControl(catalogue::Application& app, device::DeviceSession& session, device::PlayerContent& content,
                  QWidget* parent);

  // "Copy selected files from PC to NJB".
  void CopyToPlayer();
  // "Copy selected files from NJB to PC".
  void CopyFromPlayer();
  // Where a transfer's percent goes while the player reports it.
  void ShowProgress(int percent) { window_->ShowProgress(percent); }

  TransferStatusWindow& Window() { return *window_; }
  device::TransferContext& Context() { return context_; }

 private:
  TransferStatusWindow* window_;
  device::TransferContext context_;
};

}  // namespace tonvault::ui
