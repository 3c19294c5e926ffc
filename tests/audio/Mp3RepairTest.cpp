#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "audio/analysis/Mp3Analysis.h"
#include "audio/analysis/Mp3Rebuild.h"
#include "files/FileTestSupport.h"
#include "support/FileContents.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::audio {
namespace {

using testing::Append;
using testing::Bytes;
using testing::Contents;
using testing::FrameShape;
using testing::Frames;
using testing::Id3v1Tag;
using testing::Junk;

const FrameShape kStereo128{1, 3, 128, 44100, 0, 0};
const FrameShape kJoint160{1, 3, 160, 44100, 0, 1};
const FrameShape kMono64At32k{1, 3, 64, 32000, 0, 3};

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

Mp3Analysis Analyze(const std::string& path) {
  SilentScanHost host;
  return AnalyzeMp3(path, 0, host);
}

// The bytes of every valid frame of an analysed file, in order.
std::vector<std::string> FrameBytes(const std::string& path) {
  const Mp3Analysis analysis = Analyze(path);
  const std::string content = Contents(path);
  std::vector<std::string> frames;
  for (const FrameRecord& record : analysis.frames.Records()) {
    if (!record.IsBad()) frames.push_back(content.substr(static_cast<std::size_t>(record.position), record.length));
  }
  return frames;
}

// The original's frames that a rebuild keeps, in order.
std::vector<std::string> KeptFrameBytes(const Mp3Analysis& analysis) {
  const std::string content = Contents(analysis.path);
  std::vector<std::string> frames;
  for (const FrameRecord& record : analysis.frames.Records()) {
    if (!record.IsBad() && !record.remove) {
      frames.push_back(content.substr(static_cast<std::size_t>(record.position), record.length));
    }
  }
  return frames;
}

class Mp3RepairTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  std::string Make(const std::string& name, const Bytes& bytes) {
    WriteBytes(Path(name), bytes);
    return Path(name);
  }
  // A repair that must work: the kept frames come out byte for byte.
  void RebuildAndCompare(Mp3Analysis& analysis, const RebuildRequest& request) {
    const auto kept = KeptFrameBytes(analysis);
    const RebuildResult result = RebuildMp3(analysis, request);
    ASSERT_TRUE(result.Ok()) << static_cast<int>(result.failure);
    EXPECT_EQ(FrameBytes(analysis.path), kept);
  }
  testing::TempFolder folder;
};

TEST_F(Mp3RepairTest, GroupsAppearInOrderOfFirstOccurrenceWithBadPlacesAtTheEndOfThePreviousFrame) {
  Bytes bytes = Frames(kJoint160, 3);
  Append(bytes, Frames(kStereo128, 4));
  Append(bytes, Junk(100));
  Append(bytes, Frames(kJoint160, 2));
  Append(bytes, Frames(kMono64At32k, 30));
  const Mp3Analysis analysis = Analyze(Make("a.mp3", bytes));
  const auto& groups = analysis.frames.Groups();
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].bitrate, 160);
  EXPECT_EQ(groups[0].count, 5);
  EXPECT_EQ(FrameModeText(groups[0].mode), "J. Stereo");
  EXPECT_EQ(groups[1].bitrate, 128);
  EXPECT_EQ(FrameModeText(groups[2].mode), "- BAD -");
  EXPECT_EQ(MpegText(groups[2].version), "0");
  EXPECT_EQ(groups[3].sampleRate, 32000);
  EXPECT_EQ(analysis.frames.BadCount(), 1);
  const FrameRecord& bad = analysis.frames.Records()[7];
  EXPECT_TRUE(bad.IsBad());
  EXPECT_EQ(bad.position, 3 * 522 + 4 * 417) << "the end of the frame before it";
  EXPECT_EQ(analysis.frames.LargestBitrate(), 160);
}

TEST_F(Mp3RepairTest, FiguresOfTagsAndSpaces) {
  Bytes bytes = testing::Id3v2Tag(1000);
  Append(bytes, Bytes(20, 0));
  Append(bytes, Frames(kStereo128, 20));
  Append(bytes, Junk(50));
  Append(bytes, Id3v1Tag());
  const Mp3Analysis analysis = Analyze(Make("a.mp3", bytes));
  EXPECT_EQ(analysis.TagLength(), 1000);
  EXPECT_EQ(analysis.FirstFrame(), 1020);
  EXPECT_EQ(analysis.SpaceBefore(), 20);
  EXPECT_EQ(analysis.id3v1Version, 10);
  EXPECT_EQ(analysis.SpaceAfter(), 50) << "the space ends where the ID3v1 tag begins";
  EXPECT_EQ(analysis.PlayingSeconds(), 1) << "8538 audio bytes at 128 kbit/s, rounded";
}

TEST_F(Mp3RepairTest, PositionsBeyondTwoGigabytesKeepTheirValue) {
  const std::string path = Path("large.mp3");
  Bytes head = {'I', 'D', '3', 3, 0, 0, 0x80, 0, 0, 0};  // plain big-endian size 2^31
  WriteBytes(path, head);
  const std::int64_t audioStart = (std::int64_t{1} << 31) + 10;
  Bytes frames = Frames(kStereo128, 5);
  const int file = ::open(path.c_str(), O_WRONLY);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::pwrite(file, frames.data(), frames.size(), audioStart), static_cast<ssize_t>(frames.size()));
  ::close(file);
  const Mp3Analysis analysis = Analyze(path);
  ASSERT_EQ(analysis.frames.Records().size(), 5u);
  EXPECT_EQ(analysis.FirstFrame(), audioStart);
  EXPECT_EQ(analysis.frames.Records()[4].position, audioStart + 4 * 417);
}

TEST_F(Mp3RepairTest, EachDeleteOptionDropsOnlyItsBytes) {
  Bytes bytes = testing::Id3v2Tag(1000);
  Append(bytes, Bytes(20, 0));
  Append(bytes, Frames(kStereo128, 40));
  Append(bytes, Junk(100));
  Append(bytes, Frames(kStereo128, 40));
  Append(bytes, Junk(50));
  Append(bytes, Id3v1Tag());
  const std::string original(bytes.begin(), bytes.end());
  {
    Mp3Analysis analysis = Analyze(Make("head.mp3", bytes));
    RebuildAndCompare(analysis, {.dropSpaceBefore = true});
    const std::string now = Contents(analysis.path);
    EXPECT_EQ(now, original.substr(0, 1000) + original.substr(1020)) << "the tag stays, the 20 bytes go";
  }
  {
    Mp3Analysis analysis = Analyze(Make("tail.mp3", bytes));
    RebuildAndCompare(analysis, {.dropSpaceAfter = true});
    const std::size_t tagAt = original.size() - 128;
    EXPECT_EQ(Contents(analysis.path), original.substr(0, tagAt - 50) + original.substr(tagAt));
  }
  {
    Mp3Analysis analysis = Analyze(Make("bad.mp3", bytes));
    for (FrameRecord& record : analysis.frames.Records()) record.remove = record.IsBad();
    RebuildAndCompare(analysis, {});
    const std::size_t junkAt = 1020 + 40 * 417;
    EXPECT_EQ(Contents(analysis.path), original.substr(0, junkAt) + original.substr(junkAt + 100));
    EXPECT_EQ(Analyze(analysis.path).frames.BadCount(), 0);
  }
}

TEST_F(Mp3RepairTest, DeletedGroupsLeaveTheOtherFramesByteIdentical) {
  Bytes bytes;
  for (int i = 0; i < 6; ++i) {
    Bytes frame = testing::Frame(i % 2 == 0 ? kStereo128 : kJoint160);
    frame[100] = static_cast<std::uint8_t>(i);  // tells the frames apart
    Append(bytes, frame);
  }
  Append(bytes, Frames(kStereo128, 30));
  Mp3Analysis analysis = Analyze(Make("a.mp3", bytes));
  for (FrameRecord& record : analysis.frames.Records()) record.remove = record.bitrate == 160;
  RebuildAndCompare(analysis, {});
  EXPECT_EQ(Analyze(analysis.path).frames.Groups().size(), 1u);
}

TEST_F(Mp3RepairTest, KeepsPermissionsAndOnRequestTheDate) {
  const std::string path = Make("a.mp3", [] {
    Bytes b = Frames(kStereo128, 30);
    Append(b, Junk(40));
    Append(b, Id3v1Tag());
    return b;
  }());
  ::chmod(path.c_str(), 0640);
  files::test::SetTimes(path, 1'000'000'000);
  Mp3Analysis analysis = Analyze(path);
  ASSERT_TRUE(RebuildMp3(analysis, {.dropSpaceAfter = true, .keepFileDate = true}).Ok());
  EXPECT_EQ(files::test::Info(path).st_mode & 07777, 0640u);
  EXPECT_EQ(files::test::Info(path).st_mtim.tv_sec, 1'000'000'000);
  analysis = Analyze(path);
  ASSERT_TRUE(RebuildMp3(analysis, {.dropSpaceAfter = true}).Ok());
  EXPECT_NE(files::test::Info(path).st_mtim.tv_sec, 1'000'000'000) << "without the option the date is new";
}

// Every way a repair can fail leaves the original byte-identical and no
// temporary file beside it.
class Mp3RepairFailureTest : public Mp3RepairTest {
 protected:
  void SetUp() override {
    Bytes bytes = testing::Id3v2Tag(300);
    Append(bytes, Junk(20));
    Append(bytes, Frames(kStereo128, 6000));  // 2.5 MB: several copy blocks
    Append(bytes, Junk(60));
    path = Make("song.mp3", bytes);
    original = Contents(path);
    analysis = Analyze(path);
  }
  void ExpectUntouched() {
    EXPECT_EQ(Contents(path), original);
    EXPECT_EQ(files::test::Names(folder.Path()), std::vector<std::string>{"song.mp3"});
  }
  std::string path;
  std::string original;
  Mp3Analysis analysis;
};

TEST_F(Mp3RepairFailureTest, AWriteFailureAnywhereChangesNothing) {
  for (const std::size_t failAt : {std::size_t{0}, std::size_t{299}, std::size_t{1} << 20, original.size() - 100}) {
    const files::WriteFault fault{.failAfterBytes = failAt};
    const RebuildResult result = RebuildMp3(analysis, {.dropSpaceBefore = true, .dropSpaceAfter = true, .fault = &fault});
    EXPECT_EQ(result.failure, RebuildFailure::Write) << failAt;
    ExpectUntouched();
  }
}

TEST_F(Mp3RepairFailureTest, AKilledRepairChangesNothing) {
  const std::int64_t half = static_cast<std::int64_t>(original.size() / 2);
  const auto exit = files::test::RunInChild([&] {
    RebuildRequest request{.dropSpaceBefore = true};
    request.progress = [half](std::int64_t written) {
      if (written >= half) ::kill(::getpid(), SIGKILL);
    };
    (void)RebuildMp3(analysis, request);
    return 0;
  });
  EXPECT_FALSE(exit.has_value()) << "the child died of the signal";
  ExpectUntouched();
}

TEST_F(Mp3RepairFailureTest, AResultWithoutTheExpectedFramesIsNotUsed) {
  analysis.frames.Records()[10].length += 1;  // a plan the file does not bear out
  EXPECT_EQ(RebuildMp3(analysis, {.dropSpaceBefore = true}).failure, RebuildFailure::Check);
  ExpectUntouched();
}

TEST_F(Mp3RepairFailureTest, AFileChangedSinceTheAnalysisIsRefused) {
  files::test::SetTimes(path, 1'234'567);
  EXPECT_EQ(RebuildMp3(analysis, {.dropSpaceBefore = true}).failure, RebuildFailure::Changed);
  EXPECT_EQ(Contents(path), original);
}

TEST_F(Mp3RepairTest, FfmpegDecodesARepairedEncoderFileWithoutErrors) {
  if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string clean = Path("clean.mp3");
  const std::string encode = "ffmpeg -v error -f lavfi -i sine=frequency=440:duration=4 -c:a libmp3lame -b:a 128k '" +
                             clean + "' 2>&1";
  if (std::system(encode.c_str()) != 0) GTEST_SKIP() << "ffmpeg cannot encode MP3";
  // Junk in the middle, between two frames.
  const Mp3Analysis cleanAnalysis = Analyze(clean);
  ASSERT_GT(cleanAnalysis.frames.Records().size(), 100u);
  const std::string content = Contents(clean);
  const auto cut = static_cast<std::size_t>(cleanAnalysis.frames.Records()[60].position);
  const std::string damaged = content.substr(0, cut) + std::string(700, '\x55') + content.substr(cut);
  const std::string path = Path("damaged.mp3");
  std::ofstream(path, std::ios::binary) << damaged;

  Mp3Analysis analysis = Analyze(path);
  ASSERT_EQ(analysis.frames.BadCount(), 1);
  for (FrameRecord& record : analysis.frames.Records()) record.remove = record.IsBad();
  RebuildAndCompare(analysis, {});
  EXPECT_EQ(Contents(path), content);
  const std::string decode = "ffmpeg -v error -i '" + path + "' -f null - 2>&1";
  FILE* pipe = ::popen(decode.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string errors;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) errors += buffer;
  EXPECT_EQ(::pclose(pipe), 0);
  EXPECT_EQ(errors, "");
}

}  // namespace
}  // namespace tonvault::audio
