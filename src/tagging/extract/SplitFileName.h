#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tonvault::tagging {

// Cuts `baseName` into items: at each step the separator whose next
// occurrence starts earliest (the lower number on a tie) ends the next
// item. Empty separators never match, matching is case-sensitive, and every
// item is trimmed of blanks; two separators in a row give an empty item.
std::vector<std::string> SplitFileName(std::string_view baseName, std::string_view separator1,
                                       std::string_view separator2, std::string_view separator3);

// The name of `fullName` without its folder, cut at the first occurrence
// of its extension (from the last dot), trimmed: "live.mp3.mp3" is "live".
std::string BaseNameForItems(const std::string& fullName);

}  // namespace tonvault::tagging
