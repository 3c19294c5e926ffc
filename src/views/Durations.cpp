#include "views/Durations.h"

#include <charconv>
#include <cstdio>

#include "audio/TextEncoding.h"

namespace tonvault::views {

namespace {

constexpr long long kDay = 86400;

long long LeadingInteger(std::string_view text) {
  text = audio::TrimControl(text);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::string TimeText(long long seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

// A time text as the sum reads it: empty, "(" or unreadable is 0.
long long TimeOrZero(std::string_view text) {
  text = audio::TrimControl(text);
  long long seconds = 0;
  if (text.empty() || text.find('(') != std::string_view::npos || !ParseTimeOfDay(text, seconds)) return 0;
  return seconds;
}

}  // namespace

bool ParseTimeOfDay(std::string_view text, long long& seconds) {
  int parts[3] = {0, 0, 0};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? text.find(':', at) : text.size();
    if (end == std::string_view::npos) return false;
    const std::string_view part = text.substr(at, end - at);
    const auto [stop, error] = std::from_chars(part.data(), part.data() + part.size(), parts[i]);
    if (part.empty() || error != std::errc() || stop != part.data() + part.size() || parts[i] < 0) return false;
    at = end + 1;
  }
  if (parts[1] > 59 || parts[2] > 59 || parts[0] > 23) return false;
  seconds = parts[0] * 3600LL + parts[1] * 60LL + parts[2];
  return true;
}

std::string AddDuration(std::string_view total, std::string_view length) {
  long long days = 0;
  std::string_view time = total;
  if (const std::size_t dot = total.find('.'); dot != std::string_view::npos) {
    days = LeadingInteger(total.substr(0, total.find(' ')));
    time = total.substr(dot + 1);
  }
  long long sum = TimeOrZero(time) + TimeOrZero(length);
  if (sum >= kDay) {
    ++days;
    sum -= kDay;
  }
  return days > 0 ? std::to_string(days) + " d." + TimeText(sum) : TimeText(sum);
}

double DurationSeconds(std::string_view text) {
  double days = 0;
  std::string_view time = text;
  if (const std::size_t mark = text.find("d."); mark != std::string_view::npos) {
    days = static_cast<double>(LeadingInteger(text.substr(0, mark)));
    time = text.substr(mark + 2);
  }
  long long seconds = 0;
  if (!ParseTimeOfDay(audio::TrimControl(time), seconds)) seconds = 0;
  return days * kDay + static_cast<double>(seconds);
}

}  // namespace tonvault::views
