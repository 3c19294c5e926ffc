// Files made by a real encoder (LAME 3.100, see tests/data/README.md), read
// back with the values a user would see in the lists.
#include <gtest/gtest.h>

#include "audio/MpegHeader.h"
#include "audio/StreamScan.h"

namespace tonvault::audio {
namespace {

std::string DataFile(const char* name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

struct Expected {
  const char* file;
  std::int64_t size;
  std::int64_t audioBytes;
  int headerKbps;
  int sampleRate;
  const char* codec;
  const char* mode;
  bool vbr;
  int bitrate;  // bit/s from the scan
};

TEST(EncodedFiles, QuickReadAndScanGiveTheEncodersValues) {
  const Expected files[] = {
      {"cbr-32k-32000-mono.mp3", 12960, 12960, 32, 32000, "M1  L3", "Mono", false, 32000},
      // The quick read sees the Xing frame, which LAME writes at 128 kbit/s.
      {"vbr-xing-32000-mono.mp3", 14652, 14652, 128, 32000, "M1  L3", "Mono", true, 36178},
      {"mpeg2-24k-22050-mono.mp3", 9796, 9796, 24, 22050, "M2  L3", "Mono", false, 24000},
      {"id3v2-cbr-32k.mp3", 13410, 13410 - 450, 32, 32000, "M1  L3", "Mono", false, 32000},
  };
  SilentScanHost host;
  for (const Expected& e : files) {
    SCOPED_TRACE(e.file);
    const MpegHeaderInfo header = ReadMpegHeader(DataFile(e.file), host);
    ASSERT_FALSE(header.error);
    EXPECT_EQ(header.fileSize, e.size);
    EXPECT_EQ(header.audioBytes, e.audioBytes);
    EXPECT_EQ(header.hasId3v2, e.audioBytes != e.size);
    EXPECT_EQ(header.bitrateKbps, e.headerKbps);
    EXPECT_EQ(header.sampleRate, e.sampleRate);
    EXPECT_EQ(header.versionLayerText, e.codec);
    EXPECT_EQ(header.modeText, e.mode);

    const StreamScanResult scan = ScanMpegStream(DataFile(e.file), {}, host);
    EXPECT_FALSE(scan.corrupt);
    EXPECT_EQ(scan.badPlaces, 0);
    EXPECT_EQ(scan.vbr, e.vbr);
    EXPECT_EQ(scan.bitrate, e.bitrate);
    EXPECT_EQ(scan.sampleRate, e.sampleRate);
    EXPECT_EQ(scan.audioBytes, e.audioBytes);
  }
}

TEST(EncodedFiles, FullScanOfAVbrFileWalksEveryFrame) {
  ScanOptions full;
  full.fullScan = true;
  SilentScanHost host;
  const StreamScanResult scan = ScanMpegStream(DataFile("vbr-xing-32000-mono.mp3"), full, host);
  EXPECT_TRUE(scan.vbr) << "the bitrate changes between frames";
  EXPECT_EQ(scan.validFrames, 91) << "the Xing frame and the 90 audio frames it counts";
  EXPECT_EQ(scan.vbrHeaderFrames, 0) << "a full scan does not use the header";
  EXPECT_FALSE(scan.corrupt);
}

}  // namespace
}  // namespace tonvault::audio
