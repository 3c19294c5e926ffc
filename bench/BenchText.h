#pragma once

#include <string>

namespace tonvault::bench {

// "Title " + 12 as one text, for generated rows.
inline std::string Numbered(const char* prefix, long long number) {
  std::string text(prefix);
  text += std::to_string(number);
  return text;
}

}  // namespace tonvault::bench
