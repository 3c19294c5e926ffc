#include "device/DeviceEvents.h"

namespace tonvault::device {

void EventQueue::Post(Event event) {
  std::lock_guard lock(mutex_);
  events_.push_back(std::move(event));
}

int EventQueue::Deliver(DeviceEventSink& sink) {
  std::vector<Event> due;
  {
    std::lock_guard lock(mutex_);
    due.swap(events_);
  }
  for (auto& event : due) event(sink);
  return static_cast<int>(due.size());
}

bool EventQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return events_.empty();
}

}  // namespace tonvault::device
