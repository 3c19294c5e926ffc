#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace tonvault::testing {

// The bytes of a file ("" when it cannot be read).
inline std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace tonvault::testing
