#include "support/MpegSynth.h"

#include <stdexcept>

#include "audio/MpegFrames.h"

namespace tonvault::testing {

namespace {

int BitrateIndex(const FrameShape& shape) {
  for (int i = 1; i <= 14; ++i) {
    if (audio::BitrateKbps(shape.version, shape.layer, i) == shape.bitrateKbps) return i;
  }
  throw std::invalid_argument("no such bitrate");
}

int SampleRateIndex(const FrameShape& shape) {
  for (int i = 0; i <= 2; ++i) {
    if (audio::SampleRateHz(shape.version, i) == shape.sampleRate) return i;
  }
  throw std::invalid_argument("no such sample rate");
}

int Length(const FrameShape& shape) {
  audio::FrameHeader header;
  header.version = shape.version;
  header.layer = shape.layer;
  header.bitrateKbps = shape.bitrateKbps;
  header.sampleRate = shape.sampleRate;
  header.padding = shape.padding;
  return audio::FrameLength(header);
}

void PutBigEndian(Bytes& bytes, std::size_t at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  bytes[at] = static_cast<std::uint8_t>(v >> 24);
  bytes[at + 1] = static_cast<std::uint8_t>(v >> 16);
  bytes[at + 2] = static_cast<std::uint8_t>(v >> 8);
  bytes[at + 3] = static_cast<std::uint8_t>(v);
}

}  // namespace

Bytes FrameHeaderBytes(const FrameShape& shape) {
  const int versionBits = shape.version == 1 ? 3 : shape.version == 2 ? 2 : 0;
  const int layerBits = 4 - shape.layer;
  return {0xFF, static_cast<std::uint8_t>(0xE0 | versionBits << 3 | layerBits << 1 | 1),
          static_cast<std::uint8_t>(BitrateIndex(shape) << 4 | SampleRateIndex(shape) << 2 | shape.padding << 1),
          static_cast<std::uint8_t>(shape.mode << 6)};
}

Bytes Frame(const FrameShape& shape) {
  Bytes frame = FrameHeaderBytes(shape);
  frame.resize(static_cast<std::size_t>(Length(shape)), 0);
  return frame;
}

Bytes Frames(const FrameShape& shape, int count) {
  const Bytes one = Frame(shape);
  Bytes all;
  all.reserve(one.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) Append(all, one);
  return all;
}

Bytes XingFrame(const FrameShape& shape, std::int32_t frames, std::int32_t bytes) {
  Bytes frame = Frame(shape);
  const std::size_t at = 36;  // after the side information of a stereo MPEG-1 frame
  frame[at] = 'X', frame[at + 1] = 'i', frame[at + 2] = 'n', frame[at + 3] = 'g';
  PutBigEndian(frame, at + 4, 3);
  PutBigEndian(frame, at + 8, frames);
  PutBigEndian(frame, at + 12, bytes);
  return frame;
}

Bytes VbriFrame(const FrameShape& shape, std::int32_t frames, std::int32_t bytes) {
  Bytes frame = Frame(shape);
  const std::size_t at = 36;
  frame[at] = 'V', frame[at + 1] = 'B', frame[at + 2] = 'R', frame[at + 3] = 'I';
  PutBigEndian(frame, at + 10, bytes);
  PutBigEndian(frame, at + 14, frames);
  return frame;
}

Bytes Id3v2Tag(std::size_t totalLength) {
  Bytes tag(totalLength, 0);
  const std::size_t size = totalLength - 10;
  tag[0] = 'I', tag[1] = 'D', tag[2] = '3', tag[3] = 3, tag[4] = 0;
  tag[6] = static_cast<std::uint8_t>(size >> 21 & 0x7F);
  tag[7] = static_cast<std::uint8_t>(size >> 14 & 0x7F);
  tag[8] = static_cast<std::uint8_t>(size >> 7 & 0x7F);
  tag[9] = static_cast<std::uint8_t>(size & 0x7F);
  return tag;
}

Bytes Junk(std::size_t count, std::uint8_t value) { return Bytes(count, value); }

Bytes Id3v1Tag() {
  Bytes tag(128, 0x20);
  tag[0] = 'T';
  tag[1] = 'A';
  tag[2] = 'G';
  tag[127] = 12;
  return tag;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace tonvault::testing
