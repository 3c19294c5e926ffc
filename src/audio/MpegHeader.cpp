#include "audio/MpegHeader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "audio/BufferedReader.h"
#include "audio/MpegFrames.h"

namespace tonvault::audio {

namespace {

constexpr std::size_t kWindow = 4096;

// The first offset in `bytes` where a frame header starts, or -1. Offsets
// run from 0 to size - 4, so every candidate has its four bytes.
std::ptrdiff_t FindFrameHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return -1;
  const std::uint8_t* begin = bytes.data();
  const std::uint8_t* last = begin + bytes.size() - 4;
  for (const std::uint8_t* p = begin; p <= last;) {
    p = static_cast<const std::uint8_t*>(std::memchr(p, 0xFF, static_cast<std::size_t>(last - p) + 1));
    if (p == nullptr) return -1;
    if (IsFrameHeader(p)) return p - begin;
    ++p;
  }
  return -1;
}

void TakeHeader(MpegHeaderInfo& info, const std::uint8_t* bytes) {
  const FrameHeader header = FrameHeader::Decode(bytes);
  info.version = header.version;
  info.layer = header.layer;
  info.bitrateKbps = header.bitrateKbps;
  info.sampleRate = header.sampleRate;
  info.modeText = ModeText(header.channelMode);
  info.versionLayerText = VersionLayerText(header.version, header.layer);
}

}  // namespace

std::int64_t AudioStart(const std::uint8_t* first, std::size_t count) {
  if (count < 10 || std::memcmp(first, "ID3", 3) != 0) return 0;
  return DecodeTagSize(first[6], first[7], first[8], first[9]) + 10;
}

MpegHeaderInfo ReadMpegHeader(ByteSource* source, ScanHost& host) {
  MpegHeaderInfo info;
  std::array<std::uint8_t, kWindow> first{};
  const std::int64_t firstCount = source != nullptr ? source->ReadAt(0, first) : -1;
  if (firstCount < 0) {
    host.OpenFailed();
    info.error = true;
    return info;
  }
  info.fileSize = source->Size();
  std::int64_t start = AudioStart(first.data(), static_cast<std::size_t>(firstCount));
  info.hasId3v2 = start > 0;
  info.audioBytes = std::max<std::int64_t>(0, info.fileSize - start);

  BufferedReader reader(*source);
  for (;;) {
    bool failed = false;
    const auto window = reader.Read(start, kWindow, failed);
    if (failed) {
      host.ReadFailed();
      info.error = true;
      return info;
    }
    if (const std::ptrdiff_t at = FindFrameHeader(window); at >= 0) {
      TakeHeader(info, window.data() + at);
      return info;
    }
    if (window.size() < 4) break;
    start += static_cast<std::int64_t>(window.size()) - 3;
  }
  info.error = true;
  return info;
}

MpegHeaderInfo ReadMpegHeader(const std::string& path, ScanHost& host) {
  host.SetFile(path);
  auto source = FileByteSource::Open(path);
  return ReadMpegHeader(source.get(), host);
}

}  // namespace tonvault::audio
