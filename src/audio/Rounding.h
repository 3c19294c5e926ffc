#pragma once

#include <cstdint>

namespace tonvault::audio {

// Rounds to the nearest integer; a value exactly halfway between two integers
// goes to the even one (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Every rounding of a
// real number to an integer in the program uses this rule.
std::int64_t RoundHalfEven(double value);

// Drops the fraction (2.9 -> 2, -2.9 -> -2).
std::int64_t Truncate(double value);

}  // namespace tonvault::audio
