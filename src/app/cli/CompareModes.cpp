#include "cli/CompareModes.h"

#include "views/TextsMatch.h"

namespace tonvault::cli {

std::optional<int> CompareModeOf(std::string text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '8') return text[0] - '0';
  if (text.size() >= 2 && text.back() == '%' && text[text.size() - 2] != ' ') {
    std::string spaced(text, 0, text.size() - 1);  // "80%" is written "80 %" in the lists
    spaced += " %";
    text = spaced;
  }
  for (int mode = 0; mode < 9; ++mode) {
    if (text == views::kCompareModeTexts[mode]) return mode;
  }
  return std::nullopt;
}

}  // namespace tonvault::cli
