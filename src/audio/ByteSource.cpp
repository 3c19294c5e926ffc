#include "audio/ByteSource.h"

#include "files/OpenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tonvault::audio {

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path, files::FileStatus* why) {
  files::OpenedFile file;
  const files::FileStatus error = files::OpenForReading(path, file);
  if (why != nullptr) *why = error;
  if (error) return nullptr;
  ::posix_fadvise(file.descriptor.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  const std::int64_t size = file.info.st_size;
  return std::unique_ptr<FileByteSource>(new FileByteSource(file.descriptor.Release(), size));
}

FileByteSource::~FileByteSource() { ::close(descriptor_); }

std::int64_t DescriptorSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
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

void DescriptorSource::WillRead(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || offset >= size_ || count <= 0) return;
  ::posix_fadvise(descriptor_, offset, count, POSIX_FADV_WILLNEED);
}

std::int64_t MemoryByteSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
  if (offset < 0) return -1;
  if (offset >= Size() || out.empty()) return 0;
  const auto count = std::min<std::size_t>(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(out.data(), bytes_.data() + offset, count);
  return static_cast<std::int64_t>(count);
}

}  // namespace tonvault::audio

namespace tonvault::audio {

namespace {
constexpr std::int64_t kTailBytes = 128;
}  // namespace

PrefetchedSource::PrefetchedSource(ByteSource& source, std::size_t headBytes) : source_(source) {
  const std::int64_t size = source.Size();
  head_.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(size, 0, static_cast<std::int64_t>(headBytes))));
  const std::int64_t got = source.ReadAt(0, head_);
  readable_ = got >= 0;
  head_.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
  if (readable_ && size > static_cast<std::int64_t>(head_.size())) {
    tailStart_ = std::max<std::int64_t>(static_cast<std::int64_t>(head_.size()), size - kTailBytes);
    tail_.resize(static_cast<std::size_t>(size - tailStart_));
    const std::int64_t tailGot = source.ReadAt(tailStart_, tail_);
    tail_.resize(static_cast<std::size_t>(std::max<std::int64_t>(tailGot, 0)));
  }
}

bool PrefetchedSource::Serve(const std::vector<std::uint8_t>& kept, std::int64_t keptStart, std::int64_t offset,
                             std::span<std::uint8_t> out, std::int64_t count) {
  const std::int64_t keptEnd = keptStart + static_cast<std::int64_t>(kept.size());
  if (kept.empty() || offset < keptStart || offset + count > keptEnd) return false;
  std::memcpy(out.data(), kept.data() + (offset - keptStart), static_cast<std::size_t>(count));
  return true;
}

std::int64_t PrefetchedSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
  if (offset < 0) return -1;
  if (!readable_) return source_.ReadAt(offset, out);
  if (offset >= Size() || out.empty()) return 0;
  // What exists at `offset`: the request, cut at the end of the data.
  const std::int64_t count = std::min(static_cast<std::int64_t>(out.size()), Size() - offset);
  if (Serve(head_, 0, offset, out, count) || Serve(tail_, tailStart_, offset, out, count) ||
      Serve(last_, lastStart_, offset, out, count)) {
    return count;
  }
  const std::int64_t got = source_.ReadAt(offset, out);
  if (last_.empty() && got > 0 && static_cast<std::size_t>(got) <= kMostRemembered) {
    last_.assign(out.begin(), out.begin() + got);
    lastStart_ = offset;
  }
  return got;
}

}  // namespace tonvault::audio
