#pragma once

#include <cstdint>

namespace tonvault::catalogue {

// Milliseconds since an arbitrary fixed moment (system start), from the
// monotonic clock.
std::int64_t TickMilliseconds();

// The splash window stays until the tick count in whole seconds has advanced
// by 3 since it appeared: the delay left at `nowMs`, 0 when it may close.
std::int64_t SplashCloseDelayMs(std::int64_t splashSecond, std::int64_t nowMs);

}  // namespace tonvault::catalogue
