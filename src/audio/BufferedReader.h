#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "audio/ByteSource.h"

namespace tonvault::audio {

// Serves small reads (16 bytes, 4 KB) from one large block read, so a walk
// over a file costs memory reads rather than a system call per frame. The
// memory used is the block size, whatever the file's size.
class BufferedReader {
 public:
  static constexpr std::size_t kDefaultBlockSize = 128 * 1024;

  explicit BufferedReader(ByteSource& source, std::size_t blockSize = kDefaultBlockSize);

  // The bytes at [offset, offset + count), fewer at the end of the data.
  // The view stays valid until the next call. `failed` is set when the
  // underlying read failed; the view is then empty.
  std::span<const std::uint8_t> Read(std::int64_t offset, std::size_t count, bool& failed);

  std::int64_t Size() const { return size_; }

 private:
  bool Fill(std::int64_t offset, std::size_t count);

  ByteSource& source_;
  std::int64_t size_;
  std::vector<std::uint8_t> block_;
  std::int64_t blockStart_ = 0;
  std::size_t blockLength_ = 0;
};

}  // namespace tonvault::audio
