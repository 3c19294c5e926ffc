#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cli/Commands.h"

namespace tonvault::cli {

// What a command printed and returned.
struct Outcome {
  int status;
  std::string out, err;
};

inline Outcome Capture(int (*command)(const Arguments&), const Arguments& arguments) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = command(arguments);
  std::string out = ::testing::internal::GetCapturedStdout();
  return {status, out, ::testing::internal::GetCapturedStderr()};
}

}  // namespace tonvault::cli
