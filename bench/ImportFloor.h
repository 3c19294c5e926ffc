#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tonvault::bench {

// The least any import must do per file: open it, read its first 4 KB and
// its last 128 bytes, close it. The import benchmarks compare with this.
inline void ReadHeadsAndTails(const std::vector<std::string>& files) {
  char head[4096], tail[128];
  for (const std::string& file : files) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (::pread(fd, head, sizeof head, 0) < 0 || ::pread(fd, tail, sizeof tail, std::max<off_t>(0, size - 128)) < 0) {
      std::perror("pread");
    }
    ::close(fd);
  }
}

}  // namespace tonvault::bench
