#include "device/transfer/TransferContext.h"

namespace tonvault::device {

using catalogue::Button;

bool ReplaceExisting(catalogue::Frontend& frontend, int policy) {
  switch (static_cast<ExistingFiles>(policy)) {
    case ExistingFiles::ReplaceAlways:
    case ExistingFiles::ReplaceThisSession: return true;
    case ExistingFiles::ReplaceNever: return false;
    default:
      return catalogue::Ask(frontend, catalogue::Sound::Question, catalogue::MessageKind::Confirmation,
                            "Replace file ?", {Button::Yes, Button::No}) == Button::Yes;
  }
}

bool WaitForTransfer(TransferContext& context, bool& inProgress) {
  context.window.SetPercent(0, context.app.stopRequest);
  inProgress = true;
  // Events posted before the flag was set (a backend that finishes at once)
  // arrive in the first pump.
  while (inProgress) {
    // Without the player's library there is nobody left to end the wait.
    if (!context.session.LibraryPresent()) {
      inProgress = false;
      return false;
    }
    context.session.SleepAndPump(context.app.options.njb.cpuSleep);
  }
  return context.session.LastTransferStatus() <= 0;
}

}  // namespace tonvault::device
