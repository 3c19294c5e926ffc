#include <gtest/gtest.h>

#include <algorithm>

#include "audio/BufferedReader.h"
#include "audio/MpegHeader.h"
#include "ScanSupport.h"
#include "support/MpegSynth.h"

namespace tonvault::audio {
namespace {

using namespace tonvault::testing;

MpegHeaderInfo Read(const Bytes& bytes, RecordingHost& host) {
  MemoryByteSource source(bytes);
  return ReadMpegHeader(&source, host);
}

TEST(ReadMpegHeader, SkipsTheId3v2TagAndDecodesTheFirstHeader) {
  Bytes file = Id3v2Tag(300);
  Append(file, Junk(20));
  Append(file, Frames({1, 3, 192, 48000, 0, 0}, 3));
  RecordingHost host;
  const MpegHeaderInfo info = Read(file, host);
  EXPECT_FALSE(info.error);
  EXPECT_TRUE(info.hasId3v2);
  EXPECT_EQ(info.fileSize, static_cast<std::int64_t>(file.size()));
  EXPECT_EQ(info.audioBytes, static_cast<std::int64_t>(file.size()) - 300);
  EXPECT_EQ(info.bitrateKbps, 192);
  EXPECT_EQ(info.sampleRate, 48000);
  EXPECT_EQ(info.versionLayerText, "M1  L3");
  EXPECT_EQ(info.modeText, "Stereo");
}

TEST(ReadMpegHeader, PlainBigEndianTagSizeWhenAByteIsAbove7F) {
  Bytes file = Id3v2Tag(10 + 0x80);  // syncsafe bytes 00 00 01 00
  file[8] = 0x00, file[9] = 0x80;    // plain: 0x80 bytes, same tag length
  Append(file, Frame({}));
  RecordingHost host;
  const MpegHeaderInfo info = Read(file, host);
  EXPECT_FALSE(info.error);
  EXPECT_EQ(info.audioBytes, 417);
}

TEST(ReadMpegHeader, WindowsOverlapByThreeBytes) {
  for (std::size_t at : {4092u, 4093u, 4094u, 4095u, 8189u}) {
    Bytes file = Junk(at);
    Append(file, Frame({2, 3, 64, 22050}));
    RecordingHost host;
    const MpegHeaderInfo info = Read(file, host);
    EXPECT_FALSE(info.error) << "header at " << at;
    EXPECT_EQ(info.versionLayerText, "M2  L3") << at;
  }
}

TEST(ReadMpegHeader, NoHeaderIsASilentError) {
  RecordingHost host;
  EXPECT_TRUE(Read(Junk(10000), host).error);
  EXPECT_TRUE(Read({}, host).error);
  EXPECT_TRUE(Read({0xFF, 0xFB, 0x90}, host).error) << "three bytes are not a header";
  EXPECT_EQ(host.openFailures + host.readFailures, 0);
}

TEST(ReadMpegHeader, UnreadableFilesAskAndCountAsErrors) {
  RecordingHost host;
  EXPECT_TRUE(ReadMpegHeader(static_cast<ByteSource*>(nullptr), host).error);
  EXPECT_EQ(host.openFailures, 1);
  EXPECT_TRUE(ReadMpegHeader("/nonexistent/x.mp3", host).error);
  EXPECT_EQ(host.openFailures, 2);

  const Bytes file = Frames({}, 3);
  FailingSource failing(file, 1);
  EXPECT_TRUE(ReadMpegHeader(&failing, host).error);
  EXPECT_EQ(host.readFailures, 1);
}

TEST(ReadMpegHeader, HostileTagSizeNeverReadsOutside) {
  Bytes file = Id3v2Tag(20);
  file[6] = file[7] = file[8] = file[9] = 0xFF;
  Append(file, Frames({}, 2));
  RecordingHost host;
  const MpegHeaderInfo info = Read(file, host);
  EXPECT_TRUE(info.error);
  EXPECT_TRUE(info.hasId3v2);
  EXPECT_EQ(info.audioBytes, 0);
}

TEST(BufferedReader, ServesSmallReadsAcrossBlocksAndStopsAtTheEnd) {
  Bytes data(1000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  MemoryByteSource source(data);
  BufferedReader reader(source, 64);
  bool failed = true;
  for (std::int64_t at : {0, 60, 61, 500, 990}) {
    const auto view = reader.Read(at, 16, failed);
    EXPECT_FALSE(failed);
    ASSERT_EQ(view.size(), at == 990 ? 10u : 16u) << at;
    for (std::size_t i = 0; i < view.size(); ++i) EXPECT_EQ(view[i], data[static_cast<std::size_t>(at) + i]);
  }
  EXPECT_TRUE(reader.Read(1000, 16, failed).empty());
  EXPECT_EQ(reader.Read(10, 200, failed).size(), 200u) << "a read larger than the block grows it";
}

// Counts the reads that reach the data and remembers the size of the last.
class CountingSource : public MemoryByteSource {
 public:
  using MemoryByteSource::MemoryByteSource;
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override {
    ++reads;
    lastAsked = out.size();
    return MemoryByteSource::ReadAt(offset, out);
  }
  int reads = 0;
  std::size_t lastAsked = 0;
};

TEST(BufferedReader, AWalkGetsGrowingBlocksAndAJumpStartsSmallAgain) {
  const Bytes data(8 * 1024 * 1024, 0x5A);
  CountingSource source(data);
  BufferedReader reader(source);
  bool failed = false;
  // Frames of 1045 bytes, read 16 bytes each: most block ends fall inside
  // a frame, so the next read starts past the end of the block.
  std::int64_t at = 0;
  for (; at + 16 <= 4 * 1024 * 1024; at += 1045) ASSERT_EQ(reader.Read(at, 16, failed).size(), 16u);
  EXPECT_LE(source.reads, 10) << "a walk reads in growing blocks";
  EXPECT_EQ(source.lastAsked, BufferedReader::kDefaultBlockSize);

  // Stepping over a picture of 2 MB is no walk: the next block is small.
  ASSERT_EQ(reader.Read(at + 2 * 1024 * 1024, 16, failed).size(), 16u);
  EXPECT_EQ(source.lastAsked, BufferedReader::kFirstBlockSize);
}

TEST(BufferedReader, ReadersAliveAtOnceAndOneAfterAnotherEachSeeTheirOwnBytes) {
  Bytes first(100 * 1024, 0x11), second(100 * 1024, 0x22), third(40 * 1024, 0x33);
  MemoryByteSource a(first), b(second), c(third);
  bool failed = false;
  {
    BufferedReader outer(a);
    ASSERT_EQ(outer.Read(0, 16, failed)[0], 0x11);
    {
      BufferedReader inner(b);  // another reader while the first is alive
      ASSERT_EQ(inner.Read(50000, 16, failed)[0], 0x22);
      EXPECT_EQ(outer.Read(8, 8, failed)[7], 0x11);
    }
    EXPECT_EQ(outer.Read(90000, 16, failed)[15], 0x11);
  }
  BufferedReader later(c);  // takes a block left behind: sees only its file
  const auto view = later.Read(0, 40 * 1024, failed);
  ASSERT_EQ(view.size(), third.size());
  EXPECT_EQ(std::count(view.begin(), view.end(), 0x33), static_cast<std::ptrdiff_t>(third.size()));
  EXPECT_TRUE(later.Read(40 * 1024, 16, failed).empty());
}

TEST(PrefetchedSource, ServesHeadTailAndTheAudioStartFromMemoryAndEveryByteRight) {
  Bytes data(300 * 1024);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 13 + i / 251);
  CountingSource file(data);
  PrefetchedSource source(file);
  EXPECT_EQ(file.reads, 2) << "the head and the last 128 bytes";
  auto expectBytes = [&](std::int64_t at, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    ASSERT_EQ(source.ReadAt(at, out), static_cast<std::int64_t>(std::min<std::size_t>(count, data.size() - at)));
    for (std::size_t i = 0; i < out.size() && at + static_cast<std::int64_t>(i) < static_cast<std::int64_t>(data.size()); ++i) {
      ASSERT_EQ(out[i], data[static_cast<std::size_t>(at) + i]) << at << "+" << i;
    }
  };
  expectBytes(100, 4096);
  expectBytes(static_cast<std::int64_t>(data.size()) - 128, 128);
  EXPECT_EQ(file.reads, 2);

  expectBytes(70000, 16384);  // the quick header read at the audio start
  expectBytes(70000, 16384);  // the scan starts there again
  expectBytes(70000 + 100, 16);
  EXPECT_EQ(file.reads, 3);

  expectBytes(86384, 32768);  // the walk goes on: read, not remembered
  expectBytes(70000, 16384);
  EXPECT_EQ(file.reads, 4) << "the audio start stays in memory";
  expectBytes(static_cast<std::int64_t>(data.size()) - 200, 300);  // across the tail, cut at the end
}

}  // namespace
}  // namespace tonvault::audio
