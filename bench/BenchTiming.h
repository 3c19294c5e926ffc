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

}  // namespace tonvault::bench
