#include "audio/BufferedReader.h"

#include <algorithm>
#include <utility>

namespace tonvault::audio {

BufferedReader::Block& BufferedReader::Spare() {
  thread_local Block spare;
  return spare;
}

BufferedReader::BufferedReader(ByteSource& source, std::size_t maxBlockSize)
    : source_(source), size_(source.Size()), maxBlockSize_(std::max<std::size_t>(maxBlockSize, 64)),
      block_(std::exchange(Spare(), Block{})) {}

BufferedReader::~BufferedReader() {
  Block& spare = Spare();
  if (block_.capacity > spare.capacity) spare = std::move(block_);
}

bool BufferedReader::Fill(std::int64_t offset, std::size_t count) {
  // A walk steps from frame to frame, so its next read may start a little
  // past the end of the block (a frame that straddled it): that still
  // continues the walk. A jump further than a block (over a picture) does
  // not.
  const std::int64_t blockEnd = blockStart_ + static_cast<std::int64_t>(blockLength_);
  const bool continues = blockLength_ > 0 && offset >= blockStart_ &&
                         offset <= blockEnd + static_cast<std::int64_t>(blockLength_);
  std::size_t size = continues ? nextBlockSize_ : std::min(kFirstBlockSize, maxBlockSize_);
  nextBlockSize_ = std::min(size * 2, maxBlockSize_);
  // Never more than the file holds from here (a small file needs no more
  // memory than its own size), never less than the caller asked for.
  size = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), size_ - offset));
  size = std::max(size, count);
  if (block_.capacity < size) {
    block_ = {std::make_unique_for_overwrite<std::uint8_t[]>(size), size};
  }
  const std::int64_t got = source_.ReadAt(offset, std::span<std::uint8_t>(block_.bytes.get(), size));
  if (got < 0) {
    blockLength_ = 0;
    return false;
  }
  blockStart_ = offset;
  blockLength_ = static_cast<std::size_t>(got);
  // A walk this long goes on to the end most of the time: have the next
  // block fetched while this one is walked.
  if (continues && size >= kAnnounceFrom) source_.WillRead(offset + got, static_cast<std::int64_t>(kAheadBlocks * nextBlockSize_));
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
  return {block_.bytes.get() + start, std::min(wanted, blockLength_ - start)};
}

}  // namespace tonvault::audio
