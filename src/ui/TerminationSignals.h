#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace tonvault::ui {

// Turns SIGTERM and SIGHUP into a call on the Qt event loop: the signal
// handler only writes a byte to a socket pair; the notifier on its other
// end runs `onSignal` where any code may run.
class TerminationSignals : public QObject {
 public:
  explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~TerminationSignals() override;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tonvault::ui
