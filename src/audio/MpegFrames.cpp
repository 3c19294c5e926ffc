#include "audio/MpegFrames.h"

#include <array>

namespace tonvault::audio {

namespace {

using Table = std::array<int, 16>;

// Bitrates in kbit/s by index, ISO/IEC 11172-3 and 13818-3.
constexpr Table kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0};
constexpr Table kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr Table kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr Table kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr Table kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

constexpr std::array<std::array<int, 3>, 3> kSampleRates = {{
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
}};

constexpr std::array<std::string_view, 4> kModeTexts = {"Stereo", "J. Stereo", "Dual Ch.", "Mono"};

}  // namespace

std::int64_t DecodeTagSize(std::uint8_t b6, std::uint8_t b7, std::uint8_t b8, std::uint8_t b9) {
  if (b6 <= 0x7F && b7 <= 0x7F && b8 <= 0x7F && b9 <= 0x7F) {
    return (std::int64_t{b6} << 21) | (std::int64_t{b7} << 14) | (std::int64_t{b8} << 7) | b9;
  }
  return (std::int64_t{b6} << 24) | (std::int64_t{b7} << 16) | (std::int64_t{b8} << 8) | b9;
}

int BitrateKbps(int version, int layer, int bitrateIndex) {
  if (bitrateIndex < 0 || bitrateIndex > 15) return 0;
  const auto i = static_cast<std::size_t>(bitrateIndex);
  if (version == 1) {
    if (layer == 1) return kMpeg1Layer1[i];
    if (layer == 2) return kMpeg1Layer2[i];
    if (layer == 3) return kMpeg1Layer3[i];
    return 0;
  }
  if (version == 2 || version == 3) {
    if (layer == 1) return kMpeg2Layer1[i];
    if (layer == 2 || layer == 3) return kMpeg2Layer23[i];
  }
  return 0;
}

int SampleRateHz(int version, int sampleRateIndex) {
  if (version < 1 || version > 3 || sampleRateIndex < 0 || sampleRateIndex > 2) return 0;
  return kSampleRates[static_cast<std::size_t>(version - 1)][static_cast<std::size_t>(sampleRateIndex)];
}

FrameHeader FrameHeader::Decode(const std::uint8_t* b) {
  FrameHeader h;
  const int versionBits = (b[1] >> 3) & 0x03;
  h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 3;
  h.layer = 4 - ((b[1] >> 1) & 0x03);
  h.bitrateKbps = BitrateKbps(h.version, h.layer, b[2] >> 4);
  h.sampleRate = SampleRateHz(h.version, (b[2] >> 2) & 0x03);
  h.padding = (b[2] >> 1) & 0x01;
  h.channelMode = b[3] >> 6;
  return h;
}

int FrameLength(const FrameHeader& h) {
  if (h.sampleRate <= 0) return 0;
  if (h.layer == 1) return 4 * (12000 * h.bitrateKbps / h.sampleRate + h.padding);
  if (h.layer == 2 || h.version == 1) return 144000 * h.bitrateKbps / h.sampleRate + h.padding;
  return 72000 * h.bitrateKbps / h.sampleRate + h.padding;
}

std::string VersionLayerText(int version, int layer) {
  const std::string versionText = version == 3 ? "2.5" : std::to_string(version);
  return "M" + versionText + "  L" + std::to_string(layer);
}

std::string_view ModeText(int channelMode) { return kModeTexts[static_cast<std::size_t>(channelMode & 0x03)]; }

}  // namespace tonvault::audio
