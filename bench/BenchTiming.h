#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace tonvault::bench {

// The shortest of `repeats` runs of `work`, in seconds: the run least
// disturbed by the rest of the machine.
inline double BestSeconds(const std::function<void()>& work, int repeats) {
  double best = 1e30;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// The time of one run of `work`, in milliseconds.
inline double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tonvault::bench
