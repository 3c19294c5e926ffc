#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace tonvault::testing {

// Expects `text` to equal the recorded file at `path`. With
// TONVAULT_WRITE_GOLDEN=1 the file is recorded anew instead and the test
// is skipped.
inline void ExpectAsRecorded(const std::string& text, const std::string& path) {
  if (const char* write = std::getenv("TONVAULT_WRITE_GOLDEN"); write != nullptr && *write == '1') {
    std::ofstream(path, std::ios::binary) << text;
    GTEST_SKIP() << "recorded " << path;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string recorded{std::istreambuf_iterator<char>(in), {}};
  ASSERT_FALSE(recorded.empty()) << path << " is missing";
  EXPECT_EQ(text, recorded);
}

}  // namespace tonvault::testing
