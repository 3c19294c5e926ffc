#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tonvault::testing {

// Joins texts: Cat({"Album ", std::to_string(i)}). Used instead of
// "literal" + std::string, which draws a false -Wrestrict warning from GCC 12.
inline std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

}  // namespace tonvault::testing
