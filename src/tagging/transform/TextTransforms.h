#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tonvault::tagging {

// The four case changes of a field; they touch ASCII letters only.
enum class CaseMode {
  Lower,      // every letter lower case
  Upper,      // every letter upper case
  FirstWord,  // lower case, then the first character upper case
  EveryWord,  // lower case, every word's first character upper case, one blank between words
};

// A replacement stops after this many steps, so that a replacement that
// keeps producing the searched text cannot run for ever.
inline constexpr int kMaxReplacements = 100;

// True when "Search:" and "Replace by:" make a replacement the dialog
// accepts: a search text that does not occur inside the replacement.
bool ReplaceAllowed(std::string_view search, std::string_view replaceBy);

struct Replaced {
  std::string text;  // trimmed of blanks
  int count = 0;     // replacements made
  // The field takes the result only when something was replaced and the
  // limit was not reached.
  bool Wanted() const { return count > 0 && count < kMaxReplacements; }
};

// Removes the first occurrence of `search` and puts `replaceBy` in its
// place, as long as one occurs and at most kMaxReplacements times.
Replaced ReplaceText(std::string_view text, std::string_view search, std::string_view replaceBy);

std::string ChangeCase(std::string_view text, CaseMode mode);

// "Title + Artist => Title": the title, the separator, the artist.
std::string JoinedTitle(std::string_view title, std::string_view separator, std::string_view artist);

// "Title => Title + Artist": the text before and after the first
// occurrence of `separator`, each trimmed; none when it does not occur or
// is empty.
std::optional<std::pair<std::string, std::string>> SplitTitle(std::string_view title, std::string_view separator);

}  // namespace tonvault::tagging
