#include "audio/Rounding.h"

#include <cmath>

namespace tonvault::audio {

std::int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  auto result = static_cast<std::int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0))) ++result;
  return result;
}

std::int64_t Truncate(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<std::int64_t>(std::trunc(value));
}

}  // namespace tonvault::audio
