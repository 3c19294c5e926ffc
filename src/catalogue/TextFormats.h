#pragma once

#include <cstdint>
#include <string>

namespace tonvault::catalogue {

// A playing time as "HH:mm:ss": rounded to the millisecond, the fraction of a
// second dropped, shown as a time of day (24 hours or more wrap around).
// Negative or non-finite values show "00:00:00".
std::string FormatLength(double seconds);

// An integer with '.' between groups of three digits: 1234567 -> "1.234.567".
std::string FormatThousands(std::int64_t value);

// A real number with `decimals` digits after a ',' decimal separator, the last
// digit rounded half to even: FormatFixed(66.66, 1) -> "66,7".
std::string FormatFixed(double value, int decimals);

}  // namespace tonvault::catalogue
