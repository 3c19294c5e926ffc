#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace tonvault::catalogue {

using Clock = std::function<std::chrono::steady_clock::time_point()>;

// The remaining-time estimate of a long operation: the time spent so far,
// scaled by the share of the work done.
class TimeEstimate {
 public:
  explicit TimeEstimate(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

  void Restart() { start_ = clock_(); }
  // "Est.:  HH:mm:ss" or "Est.:  > 1 day"; `done` must be above 0.
  std::string Text(std::size_t total, std::size_t done) const;

 private:
  Clock clock_;
  std::chrono::steady_clock::time_point start_{};
};

}  // namespace tonvault::catalogue
