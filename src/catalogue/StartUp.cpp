#include "catalogue/StartUp.h"

#include <algorithm>
#include <chrono>

namespace tonvault::catalogue {

std::int64_t TickMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t SplashCloseDelayMs(std::int64_t splashSecond, std::int64_t nowMs) {
  return std::max<std::int64_t>(0, (splashSecond + 3) * 1000 - nowMs);
}

}  // namespace tonvault::catalogue
