#include <gtest/gtest.h>

#include "ScanSupport.h"
#include "audio/StreamScan.h"
#include "support/MpegSynth.h"

namespace tonvault::audio {
namespace {

using namespace tonvault::testing;

const FrameShape k128{1, 3, 128, 44100, 0, 1};
const FrameShape k160{1, 3, 160, 44100, 0, 1};

StreamScanResult Scan(const Bytes& bytes, ScanOptions options = {}, FrameSink* sink = nullptr) {
  MemoryByteSource source(bytes);
  RecordingHost host;
  return ScanMpegStream(&source, options, host, sink);
}

ScanOptions FullScan(int tolerated = 0) {
  ScanOptions options;
  options.fullScan = true;
  options.toleratedErrors = tolerated;
  return options;
}

// Alternating 128 and 160 kbit/s frames: a VBR stream without a VBR header.
Bytes VbrFrames(int count) {
  Bytes bytes;
  for (int i = 0; i < count; ++i) Append(bytes, Frame(i % 2 == 0 ? k128 : k160));
  return bytes;
}

TEST(ScanMpegStream, ConstantBitrateIsDecidedAfter81Frames) {
  const StreamScanResult r = Scan(Frames(k128, 200));
  EXPECT_EQ(r.validFrames, 81);
  EXPECT_EQ(r.bitrate, 128000);
  EXPECT_FALSE(r.vbr);
  EXPECT_FALSE(r.corrupt);
  EXPECT_EQ(r.badPlaces, 0);
  EXPECT_EQ(r.sampleRate, 44100);
  EXPECT_EQ(r.versionLayerText, "M1  L3");
  EXPECT_EQ(r.modeText, "J. Stereo");
  EXPECT_EQ(r.audioBytes, 200 * 417);
  EXPECT_EQ(r.result, 0);

  ScanOptions oneSecond;
  oneSecond.cbrSeconds = 1;
  EXPECT_EQ(Scan(Frames(k128, 200), oneSecond).validFrames, 41);
  EXPECT_EQ(Scan(Frames(k128, 200), FullScan()).validFrames, 200);
}

TEST(ScanMpegStream, ChangingBitrateIsVbrAndWalkedToTheEnd) {
  const StreamScanResult r = Scan(VbrFrames(301));
  EXPECT_TRUE(r.vbr);
  EXPECT_EQ(r.validFrames, 301);
  EXPECT_EQ(r.bitrate, 143947) << "(151 x 128 + 150 x 160) / 301 kbit/s, rounded";
}

TEST(ScanMpegStream, XingHeaderInTheFirstFrameEndsTheWalk) {
  Bytes file = XingFrame(k128, 100, 41700);
  Append(file, Frames(k128, 150));
  const StreamScanResult r = Scan(file);
  EXPECT_TRUE(r.vbr);
  EXPECT_EQ(r.validFrames, 1);
  EXPECT_EQ(r.bitrate, 127706) << "41700 / 1152 x 44100 / 100 x 8";

  Bytes vbri = VbriFrame(k128, 100, 41700);
  Append(vbri, Frames(k128, 150));
  EXPECT_EQ(Scan(vbri).bitrate, 127706);
}

TEST(ScanMpegStream, XingHeaderIsIgnoredWhenItCannotBeUsed) {
  // A frame count of 0: the walk goes on and the changes decide.
  Bytes zeroFrames = XingFrame(k128, 0, 41700);
  Append(zeroFrames, VbrFrames(120));
  StreamScanResult r = Scan(zeroFrames);
  EXPECT_TRUE(r.vbr);
  EXPECT_EQ(r.validFrames, 121);

  // MPEG-2 files are never checked for a VBR header.
  const FrameShape mpeg2{2, 3, 64, 22050, 0, 1};
  Bytes mpeg2File = XingFrame(mpeg2, 100, 20000);
  Append(mpeg2File, Frames(mpeg2, 150));
  r = Scan(mpeg2File);
  EXPECT_FALSE(r.vbr);
  EXPECT_EQ(r.validFrames, 81);

  // Neither with the option off, nor in a full scan.
  Bytes file = XingFrame(k128, 100, 41700);
  Append(file, Frames(k128, 150));
  ScanOptions off;
  off.readVbrHeader = false;
  EXPECT_FALSE(Scan(file, off).vbr);
  EXPECT_FALSE(Scan(file, FullScan()).vbr);
}

TEST(ScanMpegStream, GarbageBeforeTheFirstFrameIsNotABadPlace) {
  Bytes file = Id3v2Tag(200);
  Append(file, Junk(333));
  Append(file, Frames(k128, 50));
  const StreamScanResult r = Scan(file, FullScan());
  EXPECT_EQ(r.badPlaces, 0);
  EXPECT_FALSE(r.corrupt);
  EXPECT_EQ(r.audioBytes, static_cast<std::int64_t>(file.size()) - 200);
}

TEST(ScanMpegStream, OneBadPlacePerLostSynchronisation) {
  Bytes file = Frames(k128, 30);
  Append(file, Junk(50));
  Append(file, Frames(k128, 30));
  Append(file, Junk(7));
  Append(file, Frames(k128, 30));
  const StreamScanResult r = Scan(file, FullScan(2));
  EXPECT_EQ(r.badPlaces, 2);
  EXPECT_FALSE(r.corrupt) << "two bad places are tolerated";
  EXPECT_EQ(Scan(file, FullScan(1)).corrupt, true);
  EXPECT_EQ(Scan(file, FullScan(0)).corrupt, true);
}

TEST(ScanMpegStream, ToleranceCountsBadPlaces) {
  Bytes file;
  for (int i = 0; i < 3; ++i) {
    Append(file, Frames(k128, 20));
    Append(file, Junk(40));
  }
  Append(file, Frames(k128, 20));
  EXPECT_EQ(Scan(file, FullScan(2)).badPlaces, 3);
  EXPECT_TRUE(Scan(file, FullScan(2)).corrupt) << "three bad places exceed two tolerated";
  EXPECT_FALSE(Scan(file, FullScan(3)).corrupt);
}

TEST(ScanMpegStream, DamageInTheLast600BytesIsNotCounted) {
  Bytes file = Frames(k128, 20);
  Append(file, Junk(128, 'T'));  // an ID3v1 tag follows the audio
  StreamScanResult r = Scan(file, FullScan());
  EXPECT_EQ(r.badPlaces, 0);
  EXPECT_FALSE(r.corrupt);

  Bytes early = Frames(k128, 20);
  Append(early, Junk(128));
  Append(early, Frames(k128, 2));  // 834 bytes follow the damage
  EXPECT_EQ(Scan(early, FullScan()).badPlaces, 1);
}

TEST(ScanMpegStream, NoValidFrameIsCorrupt) {
  const StreamScanResult r = Scan(Junk(5000));
  EXPECT_TRUE(r.corrupt);
  EXPECT_EQ(r.bitrate, 0);
  EXPECT_EQ(r.result, 0) << "corrupt, but read without error";
  EXPECT_TRUE(Scan({}).corrupt);
}

TEST(ScanMpegStream, DamagedStreamReportsTheEleventhFrame) {
  const FrameShape later{1, 3, 128, 48000, 0, 3};
  Bytes file = Frames(k128, 15);
  Append(file, Junk(40));
  Append(file, Frames(later, 30));
  StreamScanResult r = Scan(file, FullScan(5));
  EXPECT_EQ(r.badPlaces, 1);
  EXPECT_EQ(r.sampleRate, 44100);
  EXPECT_EQ(r.modeText, "J. Stereo");
  EXPECT_EQ(r.versionLayerText, "M1  L3");

  Bytes clean = Frames(k128, 15);
  Append(clean, Frames(later, 30));
  r = Scan(clean, FullScan());
  EXPECT_EQ(r.sampleRate, 48000) << "without damage the last frame speaks";
  EXPECT_EQ(r.modeText, "Mono");
}

TEST(ScanMpegStream, AnalysisModeReportsEveryFrameAndBadPlace) {
  Bytes file = Id3v2Tag(100);
  Append(file, Frames(k128, 5));
  Append(file, Junk(20));
  Append(file, Frames(k128, 5));
  ScanOptions options;
  options.analysisMode = options.fullScan = true;
  options.toleratedErrors = 9;
  RecordingSink sink;
  const StreamScanResult r = Scan(file, options, &sink);
  EXPECT_EQ(r.validFrames, 10);
  ASSERT_EQ(sink.frames.size(), 10u);
  EXPECT_EQ(sink.frames[0].position, 100);
  EXPECT_EQ(sink.frames[5].position, 100 + 5 * 417 + 20);
  EXPECT_EQ(sink.frames[0].frameLength, 417);
  EXPECT_EQ(sink.frames[0].mode, "J. Stereo");
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"begin", "tag 100 2.3.0", "first 100",
                                                   "bad " + std::to_string(100 + 5 * 417)}));
}

TEST(ScanMpegStream, AnalysisAsksAboutStoppingEvery1000Records) {
  ScanOptions options;
  options.analysisMode = options.fullScan = true;
  const Bytes file = Frames(k128, 2500);
  MemoryByteSource source(file);
  RecordingSink sink;
  RecordingHost host;
  StreamScanResult r = ScanMpegStream(&source, options, host, &sink);
  EXPECT_EQ(host.stopChecks, 2);
  EXPECT_EQ(host.pumps, 2);
  EXPECT_EQ(r.validFrames, 2500);

  host = RecordingHost();
  host.confirmStopAtCheck = 1;
  r = ScanMpegStream(&source, options, host, &sink);
  EXPECT_EQ(r.validFrames, 999) << "the walk ends as if the file ended";
}

TEST(ScanMpegStream, ReadFailuresMarkTheFileUnreadable) {
  RecordingHost host;
  StreamScanResult r = ScanMpegStream(static_cast<ByteSource*>(nullptr), {}, host);
  EXPECT_EQ(r.result, -1);
  EXPECT_TRUE(r.corrupt);
  EXPECT_EQ(host.openFailures, 1);

  // Larger than one block of the reader, so the walk reads again and fails.
  const Bytes file = Frames(k128, 1000);
  FailingSource failing(file, 2);
  r = ScanMpegStream(&failing, FullScan(), host);
  EXPECT_EQ(r.result, -1);
  EXPECT_TRUE(r.corrupt);
  EXPECT_EQ(host.openFailures, 1) << "no question during the walk";
}

TEST(ScanMpegStream, HostileTagSizeEndsWithoutReading) {
  Bytes file = Id3v2Tag(20);
  file[6] = file[7] = file[8] = file[9] = 0xFF;
  Append(file, Frames(k128, 5));
  const StreamScanResult r = Scan(file);
  EXPECT_TRUE(r.corrupt);
  EXPECT_EQ(r.audioBytes, 0);
}

}  // namespace
}  // namespace tonvault::audio
