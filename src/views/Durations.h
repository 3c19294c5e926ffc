#pragma once

#include <string>
#include <string_view>

namespace tonvault::views {

// Playing times of the views: "HH:mm:ss", or a day count, " d." and the time
// of day once a total reaches one day ('1 d.06:00:00').

// The sum of a line's duration text and a row's Length text. A text that is
// empty, holds "(" or does not read as a time counts as "00:00:00".
std::string AddDuration(std::string_view total, std::string_view length);

// A duration text in seconds, for sorting: days plus the time of day; an
// unreadable part counts as 0.
double DurationSeconds(std::string_view text);

// "HH:mm:ss" as seconds of the day, or nothing.
bool ParseTimeOfDay(std::string_view text, long long& seconds);

}  // namespace tonvault::views
