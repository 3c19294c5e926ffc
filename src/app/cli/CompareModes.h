#pragma once

#include <optional>
#include <string>

namespace tonvault::cli {

// A compare mode named on the command line: its caption ("Case sen.",
// "80 %", also written "80%") or its index 0..8.
std::optional<int> CompareModeOf(std::string text);

}  // namespace tonvault::cli
