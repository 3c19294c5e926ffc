#include "ui/transfer/TransferControl.h"

#include "device/transfer/CopyToNjb.h"
#include "device/transfer/CopyToPc.h"

namespace tonvault::ui {

TransferControl::TransferControl(catalogue::Application& app, device::DeviceSession& session,
                                 device::PlayerContent& content, QWidget* parent)
    : window_(new TransferStatusWindow(app, [&session] { return session.DeviceReady(); }, parent)),
      context_{app, session, content, *window_} {}

void TransferControl::CopyToPlayer() { device::CopySelectedFilesToNjb(context_); }

void TransferControl::CopyFromPlayer() { device::CopySelectedFilesToPc(context_); }

}  // namespace tonvault::ui
