#include "catalogue/TextFormats.h"

#include <cmath>
#include <cstdio>

#include "audio/Rounding.h"

namespace tonvault::catalogue {

std::string FormatLength(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "00:00:00";
  const std::int64_t milliseconds = audio::RoundHalfEven(seconds * 1000.0);
  const std::int64_t ofDay = (milliseconds / 1000) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ofDay / 3600),
                static_cast<int>(ofDay / 60 % 60), static_cast<int>(ofDay % 60));
  return text;
}

std::string FormatThousands(std::int64_t value) {
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -(value + 1) + 1ULL : static_cast<unsigned long long>(value));
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  const std::size_t lead = digits.size() % 3;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (i + 3 - lead) % 3 == 0) out += '.';
    out += digits[i];
  }
  if (negative) out.insert(out.begin(), '-');
  return out;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  double scale = std::pow(10.0, decimals);
  const std::int64_t scaled = audio::RoundHalfEven(value * scale);
  const bool negative = scaled < 0;
  const std::uint64_t magnitude = negative ? 0ULL - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  const auto divisor = static_cast<std::uint64_t>(scale);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / divisor);
  if (decimals > 0) {
    std::string fraction = std::to_string(magnitude % divisor);
    out += ',' + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
  }
  return out;
}

}  // namespace tonvault::catalogue
