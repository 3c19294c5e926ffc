#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "audio/ByteSource.h"

namespace tonvault::audio {

// Serves small reads (16 bytes, 4 KB) from block reads, so a walk over a
// file costs memory reads rather than a system call per frame. The first
// block is small, as most walks end after a few frames (a header, the
// frames up to the constant-bitrate decision); each block that continues
// where the last one ended is twice as large, up to `maxBlockSize`, so a
// walk over a whole file still reads in large pieces. So little more is
// read than the walk uses, and the memory used stays bounded by the
// largest block, whatever the file's size.
class BufferedReader {
 public:
  static constexpr std::size_t kFirstBlockSize = 16 * 1024;
  static constexpr std::size_t kDefaultBlockSize = 1024 * 1024;
  // From this block size on, the next block is announced to the source.
  static constexpr std::size_t kAnnounceFrom = 128 * 1024;
  // How many blocks ahead of the walk the system is asked to read.
  static constexpr std::size_t kAheadBlocks = 4;

  explicit BufferedReader(ByteSource& source, std::size_t maxBlockSize = kDefaultBlockSize);
  ~BufferedReader();
  BufferedReader(const BufferedReader&) = delete;
  BufferedReader& operator=(const BufferedReader&) = delete;

  // The bytes at [offset, offset + count), fewer at the end of the data.
  // The view stays valid until the next call. `failed` is set when the
  // underlying read failed; the view is then empty.
  std::span<const std::uint8_t> Read(std::int64_t offset, std::size_t count, bool& failed);

  std::int64_t Size() const { return size_; }

 private:
  bool Fill(std::int64_t offset, std::size_t count);

  ByteSource& source_;
  std::int64_t size_;
  std::size_t maxBlockSize_;
  std::size_t nextBlockSize_ = kFirstBlockSize;
  // Grown without keeping or clearing its old bytes: each fill overwrites
  // it. A reader takes its thread's spare block when it starts and leaves
  // its block there when it ends, so an import of many files allocates its
  // large block once, not once per file (a reader started while another is
  // alive simply allocates its own).
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t capacity = 0;
  };
  static Block& Spare();
  Block block_;
  std::int64_t blockStart_ = 0;
  std::size_t blockLength_ = 0;
};

}  // namespace tonvault::audio
