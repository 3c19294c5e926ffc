#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceStatus.h"

namespace tonvault::device {

// What the player tells the program on its own. Every handler runs on the
// program's thread, inside a pump (EventQueue::Deliver); none by default
// does anything.
class DeviceEventSink {
 public:
  virtual ~DeviceEventSink() = default;
  virtual void OnSendProgress(int /*percent*/) {}
  virtual void OnSendCompleted(Status /*status*/, int /*id*/) {}
  virtual void OnReceiveProgress(int /*percent*/) {}
  virtual void OnReceiveCompleted(Status /*status*/) {}
  virtual void OnRemoval() {}
  virtual void OnMessage(const std::string& /*text*/) {}
  // Something on the player was refused or repaired (a card entry that led
  // elsewhere, files an interrupted change left behind): for the user.
  virtual void OnWarning(const std::string& /*text*/) {}
  // `throwException` starts true; a handler that has dealt with the error
  // sets it to false.
  virtual void OnError(int /*error*/, const std::string& /*errorText*/, const std::string& /*description*/,
                       bool& /*throwException*/) {}
  virtual void OnModeChanged(int /*mode*/) {}
  virtual void OnPlayStarted(int /*id*/) {}
  virtual void OnPlayProgress(int /*seconds*/) {}
  virtual void OnPlayCompleted() {}
  virtual void OnQueueChanged() {}
};

// Events a backend raises, held until the program pumps. A backend may post
// from a worker thread; delivery happens only in Deliver, on the thread
// that calls it, so no handler ever runs outside a pump.
class EventQueue {
 public:
  using Event = std::function<void(DeviceEventSink&)>;

  void Post(Event event);
  // Runs the events posted so far, in order, on `sink`; events posted by a
  // handler wait for the next delivery. Returns how many ran.
  int Deliver(DeviceEventSink& sink);
  bool Empty() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

}  // namespace tonvault::device
