#include "audio/BufferedReader.h"

#include <algorithm>

namespace tonvault::audio {

BufferedReader::BufferedReader(ByteSource& source, std::size_t blockSize)
    : source_(source),
      size_(source.Size()),
      // A small file needs no more memory than its own size.
      block_(static_cast<std::size_t>(std::clamp<std::int64_t>(size_, 64, static_cast<std::int64_t>(std::max<std::size_t>(blockSize, 64))))) {}

bool BufferedReader::Fill(std::int64_t offset, std::size_t count) {
  if (count > block_.size()) block_.resize(count);
  const std::int64_t got = source_.ReadAt(offset, block_);
  if (got < 0) {
    blockLength_ = 0;
    return false;
  }
  blockStart_ = offset;
  blockLength_ = static_cast<std::size_t>(got);
  return true;
}

std::span<const std::uint8_t> BufferedReader::Read(std::int64_t offset, std::size_t count, bool& failed) {
  failed = false;
  if (offset < 0 || offset >= size_ || count == 0) return {};
  const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(count), size_ - offset));
  const bool inside = offset >= blockStart_ &&
                      static_cast<std::uint64_t>(offset - blockStart_) + wanted <= blockLength_;
  if (!inside && !Fill(offset, wanted)) {
    failed = true;
    return {};
  }
  const auto start = static_cast<std::size_t>(offset - blockStart_);
  return {block_.data() + start, std::min(wanted, blockLength_ - start)};
}

}  // namespace tonvault::audio
