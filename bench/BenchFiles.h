#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tonvault::bench {

// Reads every byte of a file in 256 KB blocks and does nothing with them:
// the floor any reader of the whole file is measured against.
inline void ReadOnly(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  std::vector<std::uint8_t> block(256 * 1024);
  std::int64_t offset = 0;
  for (ssize_t got; (got = ::pread(fd, block.data(), block.size(), offset)) > 0;) offset += got;
  ::close(fd);
}

// The process's peak resident memory so far, in KB.
inline long PeakRssKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace tonvault::bench
