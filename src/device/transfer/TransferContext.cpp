#include "device/transfer/TransferContext.h"

#include <algorithm>
#include <chrono>

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

Status WaitForTransfer(TransferContext& context, bool& inProgress) {
  context.window.SetPercent(0, context.app.stopRequest);
  inProgress = true;
  catalogue::Frontend& frontend = context.app.frontend;
  // A player that stays silent this long (no progress, no end) has stopped
  // working: the wait ends as a failure instead of hanging the program.
  const auto silence = std::chrono::minutes(std::max(context.app.options.njb.shutdownTimeout, 1));
  auto lastHeard = frontend.Now();
  long long heard = context.session.EventsDelivered();
  // Events posted before the flag was set (a backend that finishes at once)
  // arrive in the first pump, which comes before any sleep: a transfer that
  // is already over costs no pause.
  context.session.Pump();
  while (inProgress) {
    // Without the player's library there is nobody left to end the wait.
    if (!context.session.LibraryPresent() || frontend.Now() - lastHeard > silence) {
      inProgress = false;
      return kRemoved;
    }
    context.session.SleepAndPump(std::max(context.app.options.njb.cpuSleep, 1));
    if (context.session.EventsDelivered() != heard) {
      heard = context.session.EventsDelivered();
      lastHeard = frontend.Now();
    }
  }
  const Status status = context.session.LastTransferStatus();
  return status <= 0 ? kOk : status;
}

}  // namespace tonvault::device
