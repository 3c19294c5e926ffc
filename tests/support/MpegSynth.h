#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/ByteSource.h"

namespace tonvault::testing {

using Bytes = std::vector<std::uint8_t>;

// Builds MPEG audio streams byte by byte, so tests state exactly what a
// file holds.
struct FrameShape {
  int version = 1;  // 1, 2, or 3 for MPEG-2.5
  int layer = 3;
  int bitrateKbps = 128;
  int sampleRate = 44100;
  int padding = 0;
  int mode = 1;  // joint stereo
};

// The four header bytes of a frame.
Bytes FrameHeaderBytes(const FrameShape& shape);
// A whole frame: header, then zero bytes up to the frame length.
Bytes Frame(const FrameShape& shape);
// `count` equal frames.
Bytes Frames(const FrameShape& shape, int count);
// A first frame carrying a Xing (or VBRI) header with the given counts.
Bytes XingFrame(const FrameShape& shape, std::int32_t frames, std::int32_t bytes);
Bytes VbriFrame(const FrameShape& shape, std::int32_t frames, std::int32_t bytes);
// An ID3v2.3 tag of `totalLength` bytes with a syncsafe size.
Bytes Id3v2Tag(std::size_t totalLength);
// An ID3v1.0 tag: "TAG", blank fields, genre 12.
Bytes Id3v1Tag();
// Bytes that never contain 0xFF, so no frame header can appear in them.
Bytes Junk(std::size_t count, std::uint8_t value = 0x55);

void Append(Bytes& to, const Bytes& more);

// A source whose reads start failing after a number of successful ones.
class FailingSource : public audio::ByteSource {
 public:
  FailingSource(const Bytes& bytes, int successfulReads) : memory_(bytes), left_(successfulReads) {}
  std::int64_t Size() const override { return memory_.Size(); }
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override {
    if (left_-- <= 0) return -1;
    return memory_.ReadAt(offset, out);
  }

 private:
  audio::MemoryByteSource memory_;
  int left_;
};

}  // namespace tonvault::testing
