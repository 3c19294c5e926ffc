#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tonvault::catalogue {

// For tests: make the write fail after this many bytes, as a full disk would.
struct WriteFault {
  std::size_t failAfterBytes = 0;
};

// Replaces the file at `path` with `content` so that a crash, a full disk or
// a killed process leaves either the old file or the new one whole: the new
// content goes to a unique temporary file beside it, is flushed to disk and
// is then renamed over the old file in one step. An existing file's
// permissions are kept. Returns the system's error text on failure; the old
// file is then untouched and no temporary file is left behind.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view content,
                                               const WriteFault* fault = nullptr);

}  // namespace tonvault::catalogue
