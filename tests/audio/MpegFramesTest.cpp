#include <gtest/gtest.h>

#include "audio/MpegFrames.h"
#include "support/MpegSynth.h"

namespace tonvault::audio {
namespace {

using testing::FrameHeaderBytes;
using testing::FrameShape;

TEST(DecodeTagSize, SyncsafeUnlessAByteHasItsTopBitSet) {
  EXPECT_EQ(DecodeTagSize(0, 0, 2, 1), 257);
  EXPECT_EQ(DecodeTagSize(0x7F, 0x7F, 0x7F, 0x7F), 0x0FFFFFFF);
  EXPECT_EQ(DecodeTagSize(0, 0, 0x80, 0), 0x8000) << "plain big-endian";
  EXPECT_EQ(DecodeTagSize(0xFF, 0xFF, 0xFF, 0xFF), 0xFFFFFFFFLL) << "no overflow into negative sizes";
}

TEST(IsFrameHeader, EveryFieldRuleRejects) {
  const std::uint8_t good[] = {0xFF, 0xFB, 0x90, 0x44};
  EXPECT_TRUE(IsFrameHeader(good));
  struct Case {
    std::uint8_t b[4];
    const char* why;
  };
  const Case bad[] = {
      {{0xFE, 0xFB, 0x90, 0x44}, "byte 0 not 0xFF"},   {{0xFF, 0xDB, 0x90, 0x44}, "sync bits"},
      {{0xFF, 0xEB, 0x90, 0x44}, "version 01"},        {{0xFF, 0xF9, 0x90, 0x44}, "layer 00"},
      {{0xFF, 0xFB, 0xF0, 0x44}, "bitrate index 15"},  {{0xFF, 0xFB, 0x00, 0x44}, "free format"},
      {{0xFF, 0xFB, 0x9C, 0x44}, "sample-rate index 3"},
  };
  for (const Case& c : bad) EXPECT_FALSE(IsFrameHeader(c.b)) << c.why;
}

TEST(FrameLength, KnownFrameSizes) {
  auto length = [](const FrameShape& shape) { return FrameLength(FrameHeader::Decode(FrameHeaderBytes(shape).data())); };
  EXPECT_EQ(length({1, 3, 128, 44100, 0}), 417);
  EXPECT_EQ(length({1, 3, 128, 44100, 1}), 418);
  EXPECT_EQ(length({1, 3, 56, 32000, 0}), 252);
  EXPECT_EQ(length({1, 2, 192, 48000, 0}), 576);
  EXPECT_EQ(length({1, 1, 384, 44100, 1}), 4 * (12000 * 384 / 44100 + 1));
  EXPECT_EQ(length({2, 3, 64, 22050, 0}), 208) << "MPEG-2 Layer III uses 72000";
  EXPECT_EQ(length({2, 2, 64, 22050, 0}), 417) << "Layer II keeps 144000 in MPEG-2";
  EXPECT_EQ(length({3, 3, 8, 8000, 0}), 72);
}

TEST(FrameHeader, DecodesVersionLayerRatesAndMode) {
  const FrameHeader h = FrameHeader::Decode(FrameHeaderBytes({3, 2, 160, 12000, 1, 3}).data());
  EXPECT_EQ(h.version, 3);
  EXPECT_EQ(h.layer, 2);
  EXPECT_EQ(h.bitrateKbps, 160);
  EXPECT_EQ(h.sampleRate, 12000);
  EXPECT_EQ(h.padding, 1);
  EXPECT_EQ(ModeText(h.channelMode), "Mono");
  EXPECT_EQ(BitrateKbps(2, 1, 14), 256);
  EXPECT_EQ(BitrateKbps(1, 1, 15), 0);
}

TEST(FrameTexts, VersionLayerAndModeAsTheListsShowThem) {
  EXPECT_EQ(VersionLayerText(1, 3), "M1  L3");
  EXPECT_EQ(VersionLayerText(2, 1), "M2  L1");
  EXPECT_EQ(VersionLayerText(3, 3), "M2.5  L3");
  EXPECT_EQ(ModeText(0), "Stereo");
  EXPECT_EQ(ModeText(1), "J. Stereo");
  EXPECT_EQ(ModeText(2), "Dual Ch.");
}

}  // namespace
}  // namespace tonvault::audio
