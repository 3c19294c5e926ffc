#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tonvault::audio {

// The size of an ID3v2 tag from its four size bytes (file bytes 6 to 9):
// syncsafe when every byte is at most 0x7F, else plain big-endian. The total
// tag length is this plus the 10-byte header.
std::int64_t DecodeTagSize(std::uint8_t b6, std::uint8_t b7, std::uint8_t b8, std::uint8_t b9);

// True for the four bytes of a usable MPEG audio frame header: sync, a known
// version and layer, a bitrate index 1..14 and a sample-rate index 0..2.
inline bool IsFrameHeader(const std::uint8_t* b) {
  return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && (b[1] & 0x18) != 0x08 && (b[1] & 0x06) != 0 &&
         (b[2] & 0xF0) != 0xF0 && (b[2] & 0xF0) != 0 && (b[2] & 0x0C) != 0x0C;
}

// A decoded frame header. Only call Decode on bytes that pass IsFrameHeader.
struct FrameHeader {
  int version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  int layer = 0;    // 1, 2 or 3
  int bitrateKbps = 0;
  int sampleRate = 0;
  int padding = 0;
  int channelMode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono

  static FrameHeader Decode(const std::uint8_t* b);
};

// The frame's length in bytes, in exact integer arithmetic.
int FrameLength(const FrameHeader& header);

// Bitrate in kbit/s for a version, layer and bitrate index (0 outside 1..14).
int BitrateKbps(int version, int layer, int bitrateIndex);
// Sample rate in Hz for a version and sample-rate index (0 outside 0..2).
int SampleRateHz(int version, int sampleRateIndex);

// "M1  L3", "M2  L2", "M2.5  L3", ...
std::string VersionLayerText(int version, int layer);
// "Stereo", "J. Stereo", "Dual Ch." or "Mono".
std::string_view ModeText(int channelMode);

}  // namespace tonvault::audio
