#include <gtest/gtest.h>

#include <fstream>

#include "catalogue/DatabaseCommands.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "device/FatCard.h"
#include "support/FileContents.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

using tonvault::testing::Append;
using tonvault::testing::Bytes;
using tonvault::testing::Contents;
using tonvault::testing::FrameShape;
using tonvault::testing::Frames;
using tonvault::testing::Junk;

const FrameShape kStereo128{1, 3, 128, 44100, 0, 0};
const FrameShape kMono64{1, 3, 64, 44100, 0, 3};

struct Output {
  int status;
  std::string out, err;
};

Output RunCli(int (*command)(const Arguments&), const Arguments& arguments) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = command(arguments);
  std::string out = ::testing::internal::GetCapturedStdout();
  return {status, out, ::testing::internal::GetCapturedStderr()};
}

class Mp3CliTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = folder.Path() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  // A tag, 20 bytes of space, two kinds of frames with junk between, and
  // space at the end.
  Bytes Damaged() const {
    Bytes bytes = tonvault::testing::Id3v2Tag(1000);
    Append(bytes, Bytes(20, 0));
    Append(bytes, Frames(kStereo128, 30));
    Append(bytes, Junk(100));
    Append(bytes, Frames(kMono64, 30));
    Append(bytes, Junk(40));
    return bytes;
  }
  tonvault::testing::TempFolder folder;
};

TEST_F(Mp3CliTest, AnalyzePrintsFiguresGroupsInListOrderAndTheVerdict) {
  const std::string path = Write("a.mp3", Damaged());
  const Output result = RunCli(AnalyzeCommand, {path, "--json"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            R"({"Filename": ")" + path + R"(", "File size": 19910, "ID3 V1 tag": "none", )"
            R"("ID3 V2 tag": "Length:  1000  bytes", "ID3 V2 version": "Version:  2.3.0", "ID3 V2 length": 1000, )"
            R"("First valid frame at": 1020, "BAD frames": 1, "Space before first": 20, "Space after last": 40, )"
            R"("Records": 61, "Largest bitrate": 128, "Playing time": 2, "groups": [)"
            R"({"Frames": 30, "MPEG": "1", "Layer": 3, "Bitrate": 128, "Frequency": 44100, "Mode": "Stereo"}, )"
            R"({"Frames": 1, "MPEG": "0", "Layer": 0, "Bitrate": 0, "Frequency": 0, "Mode": "- BAD -"}, )"
            R"({"Frames": 30, "MPEG": "1", "Layer": 3, "Bitrate": 64, "Frequency": 44100, "Mode": "Mono"}], )"
            R"("problem": true, "verdict": "Space at beginning"})"
            "\n");
  EXPECT_EQ(RunCli(AnalyzeCommand, {}).status, 2);
  EXPECT_EQ(RunCli(AnalyzeCommand, {folder.Path() + "/missing.mp3"}).status, 1);
}

TEST_F(Mp3CliTest, RepairDropsWhatItIsToldAndKeepsABackupOnce) {
  const std::string path = Write("a.mp3", Damaged());
  const std::string original = Contents(path);
  const Output repaired = RunCli(RepairCommand, {path, "--before", "--after", "--groups", "2,3"});
  ASSERT_EQ(repaired.status, 0) << repaired.err;
  EXPECT_EQ(Contents(path), original.substr(0, 1000) + original.substr(1020, 30 * 417));
  EXPECT_EQ(Contents(folder.Path() + "/a.bak"), original);
  EXPECT_NE(repaired.out.find(R"("Records": 30)"), std::string::npos) << repaired.out;

  const Output again = RunCli(RepairCommand, {path, "--after"});
  EXPECT_EQ(again.status, 1) << "an existing backup is never replaced";
  EXPECT_NE(again.err.find("a.bak exists"), std::string::npos);
  EXPECT_EQ(RunCli(RepairCommand, {path}).status, 2);
  EXPECT_EQ(RunCli(RepairCommand, {path, "--groups", "0"}).status, 2);
  EXPECT_EQ(RunCli(RepairCommand, {path, "--no-backup", "--groups", "9"}).status, 2);
}

// On a FAT card mounted through FUSE (no hard links, no exclusive rename,
// stale reads through a writing descriptor) a repair keeps its backup
// there and writes what it checked.
TEST_F(Mp3CliTest, RepairOnAFatCardKeepsItsBackupBesideTheFile) {
  const std::string card = folder.Path() + "/card";
  device::test::FatCard fat(card);
  if (!fat.Mounted()) GTEST_SKIP() << "no FAT card: " << fat.Why();
  const std::string path = Write("card/a.mp3", Damaged());
  const std::string original = Contents(path);
  const Output repaired = RunCli(RepairCommand, {path, "--before", "--after", "--groups", "2,3"});
  ASSERT_EQ(repaired.status, 0) << repaired.err;
  EXPECT_EQ(Contents(path), original.substr(0, 1000) + original.substr(1020, 30 * 417));
  EXPECT_EQ(Contents(card + "/a.bak"), original);
  EXPECT_EQ(RunCli(RepairCommand, {path, "--after"}).status, 1);
  EXPECT_EQ(Contents(card + "/a.bak"), original);
}

TEST_F(Mp3CliTest, BatchWritesTheFilesWithProblemsAndFixesTheEndsWhenAsked) {
  const std::string damaged = Write("damaged.mp3", Damaged());
  Write("clean.mp3", Frames(kStereo128, 30));
  const std::string catalogue = folder.Path() + "/all.tvd";
  ASSERT_EQ(RunCli(ImportCommand, {folder.Path(), "-o", catalogue}).status, 1) << "one file is corrupt";
  const std::string results = folder.Path() + "/results.tvd";
  const Output batch = RunCli(AnalyzeCommand, {"--batch", catalogue, "--auto-fix-begin", "-o", results});
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_NE(batch.err.find("2  MP3s analyzed."), std::string::npos) << batch.err;
  EXPECT_NE(batch.err.find("1\tMP3s fixed."), std::string::npos);
  Session session;
  ASSERT_TRUE(session.Load(results));
  ASSERT_EQ(session.app.files.size(), 1u) << "the end's space and the bad place remain";
  EXPECT_EQ(session.app.columnMap.Get(session.app.files[0], catalogue::Column::Filename), "damaged.mp3");
  EXPECT_EQ(Contents(damaged).size(), Damaged().size() - 20);
  EXPECT_EQ(Contents(folder.Path() + "/damaged.bak").size(), Damaged().size());
}

}  // namespace
}  // namespace tonvault::cli
