#include "audio/WavHeader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/LittleEndian.h"
#include "audio/Rounding.h"
#include "audio/TextEncoding.h"

namespace tonvault::audio {

namespace {
constexpr std::int64_t kSearchBytes = 4096;
constexpr std::size_t kMinimumFormat = 32;
}  // namespace

std::string ChannelsText(int channels) {
  if (channels == 1) return "Mono";
  if (channels == 2) return "Stereo";
  return std::to_string(channels) + " Channels";
}

MediaHeader ReadWavHeader(ByteSource* source) {
  MediaHeader header;
  if (source == nullptr) {
    header.result = false;
    return header;
  }
  header.fileSize = source->Size();
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::clamp<std::int64_t>(header.fileSize, 0, kSearchBytes)));
  const std::int64_t got = source->ReadAt(0, bytes);
  if (got < 0) {
    header.result = false;
    return header;
  }
  bytes.resize(static_cast<std::size_t>(got));
  if (bytes.size() < kMinimumFormat) return header;
  for (std::size_t d = 0; d + kMinimumFormat <= bytes.size(); ++d) {
    if (std::memcmp(&bytes[d], "WAVEfmt ", 8) != 0) continue;
    header.codecText = "WAV";
    header.modeText = ChannelsText(ReadLe16(&bytes[d + 14]));
    header.sampleRate = static_cast<int>(ReadLe32(&bytes[d + 16]));
    header.bitrateKbps = static_cast<int>(RoundHalfEven(static_cast<double>(ReadLe32(&bytes[d + 20])) / 1024.0 * 8.0));
    break;
  }
  return header;
}

MediaHeader ReadWavHeader(const std::string& path) {
  auto source = FileByteSource::Open(path);
  return ReadWavHeader(source.get());
}

}  // namespace tonvault::audio
