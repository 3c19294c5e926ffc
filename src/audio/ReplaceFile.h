#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tonvault::audio {

// For tests: make the writing of a replacement fail after this many bytes.
struct ReplaceFault {
  std::size_t failAfterBytes = 0;
};

// Writes a replacement for the file at `path` through `produce`, which
// writes the new content with the `write` callback it is given (returning
// false on failure). The content goes to a unique temporary file in the same
// folder, is flushed and renamed over the original in one step, keeping the
// original's permissions; so a failure at any point leaves the original
// whole, and the temporary file is removed. Returns an error text on failure.
using WriteCallback = std::function<bool(const char* data, std::size_t size)>;
std::optional<std::string> ReplaceFile(const std::string& path, const std::function<bool(const WriteCallback&)>& produce,
                                       const ReplaceFault* fault = nullptr);

}  // namespace tonvault::audio
