#include "ui/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace tonvault::ui {

namespace {

int signalSockets[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

void Install(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(signalSockets[1], &byte, 1);
    onSignal_();
  });
  Install(OnTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  Install(SIG_DFL);
  notifier_.reset();
  ::close(signalSockets[0]);
  ::close(signalSockets[1]);
  signalSockets[0] = signalSockets[1] = -1;
}

}  // namespace tonvault::ui
