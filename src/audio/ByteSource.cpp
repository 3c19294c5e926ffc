#include "audio/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tonvault::audio {

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::unique_ptr<FileByteSource>(new FileByteSource(descriptor, info.st_size));
}

FileByteSource::~FileByteSource() { ::close(descriptor_); }

std::int64_t FileByteSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
  if (offset < 0) return -1;
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(descriptor_, out.data() + done, out.size() - done, offset + static_cast<std::int64_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::int64_t>(done);
}

std::int64_t MemoryByteSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
  if (offset < 0) return -1;
  if (offset >= Size() || out.empty()) return 0;
  const auto count = std::min<std::size_t>(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(out.data(), bytes_.data() + offset, count);
  return static_cast<std::int64_t>(count);
}

}  // namespace tonvault::audio
