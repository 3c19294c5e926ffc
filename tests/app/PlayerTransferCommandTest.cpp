// tonvault-cli player send and get over a player folder: an album goes to
// the player and comes back with every file accounted for.
#include <gtest/gtest.h>

#include <filesystem>

#include "CommandOutcome.h"
#include "audio/Id3v1.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

std::string DataFile(const std::string& name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

class PlayerTransferCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"id3lib-v23.mp3", "vbr-xing-32000-mono.mp3", "stereo-44100-16bit.wav"}) {
      std::filesystem::copy_file(DataFile(name), pc_.Path() + "/" + name);
    }
  }
  std::string Player() const { return "folder:" + card_.Path(); }
  std::string Pc(const std::string& name) const { return pc_.Path() + "/" + name; }
  Outcome Send(Arguments arguments) {
    arguments.insert(arguments.begin(), "send");
    arguments.insert(arguments.end(), {"--player", Player()});
    return Capture(PlayerCommand, arguments);
  }
  Outcome Get(Arguments arguments) {
    arguments.insert(arguments.begin(), "get");
    arguments.insert(arguments.end(), {"-o", out_.Path(), "--player", Player()});
    return Capture(PlayerCommand, arguments);
  }

  testing::TempFolder card_, pc_, out_;
};

TEST_F(PlayerTransferCommandTest, AnAlbumGoesToThePlayerAndComesBackWhole) {
  const Outcome sent = Send({Pc("id3lib-v23.mp3"), Pc("vbr-xing-32000-mono.mp3"), Pc("stereo-44100-16bit.wav")});
  EXPECT_EQ(sent.status, 1);  // one file refused
  const auto lines = Lines(sent.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "{\"id\": 1, \"file\": \"" + Pc("id3lib-v23.mp3") +
                          "\", \"album\": \"Gold\", \"artist\": \"ABBA\", \"title\": \"Waterloo\", \"sizeKB\": \"4\", "
                          "\"state\": \"Done\"}");
  EXPECT_NE(lines[1].find("\"title\": \"vbr-xing-32000-mono\""), std::string::npos);  // no title: the file name
  EXPECT_NE(lines[2].find("\"state\": \"ERROR (Length 0 sec)\""), std::string::npos);  // 0.05 s long

  const Outcome got = Get({"1", "2", "--id3v1", "create"});
  ASSERT_EQ(got.status, 0) << got.err;
  ASSERT_EQ(Lines(got.out).size(), 2u);
  EXPECT_EQ(Lines(got.out)[0], "{\"id\": 1, \"file\": \"" + out_.Path() +
                                   "/id3lib-v23.mp3\", \"album\": \"Gold\", \"artist\": \"ABBA\", \"title\": "
                                   "\"Waterloo\", \"sizeKB\": \"2\", \"state\": \"Done\"}");
  EXPECT_EQ(audio::ReadId3v1Tag(out_.Path() + "/vbr-xing-32000-mono.mp3").title, "vbr-xing-32000-mono");
  EXPECT_EQ(audio::ReadId3v1Tag(out_.Path() + "/id3lib-v23.mp3").title, "Waterloo");
}

TEST_F(PlayerTransferCommandTest, ExistingFilesAreKeptUnlessAskedOtherwise) {
  ASSERT_EQ(Send({Pc("id3lib-v23.mp3")}).status, 0);
  Outcome again = Send({Pc("id3lib-v23.mp3")});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.out.find("\"state\": \"File exists\""), std::string::npos);
  again = Send({Pc("id3lib-v23.mp3"), "--existing", "always"});
  EXPECT_EQ(again.status, 0);
  // The replaced track keeps its ID.
  EXPECT_NE(again.out.find("\"id\": 1"), std::string::npos);

  ASSERT_EQ(Get({"1"}).status, 0);
  const std::string target = out_.Path() + "/id3lib-v23.mp3";
  std::filesystem::resize_file(target, 10);
  const std::string mine = testing::Contents(target);
  Outcome got = Get({"1"});
  EXPECT_EQ(got.status, 1);
  EXPECT_NE(got.out.find("\"state\": \"File exists\""), std::string::npos);
  EXPECT_EQ(testing::Contents(target), mine);
  got = Get({"1", "--existing", "always"});
  EXPECT_EQ(got.status, 0);
  EXPECT_NE(got.out.find("\"state\": \"Replaced\""), std::string::npos);
  EXPECT_NE(testing::Contents(target), mine);
}

TEST_F(PlayerTransferCommandTest, MistakesAreRefusedBeforeAnythingMoves) {
  EXPECT_EQ(Send({}).status, 2);
  EXPECT_EQ(Send({Pc("id3lib-v23.mp3"), "--existing", "sometimes"}).status, 2);
  EXPECT_EQ(Send({Pc("id3lib-v23.mp3"), "--min-free"}).status, 2);
  const Outcome missing = Send({Pc("id3lib-v23.mp3"), Pc("gone.mp3")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Not found !"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(card_.Path() + "/Music"));
  EXPECT_EQ(Get({"x"}).status, 2);
  EXPECT_EQ(Get({"1", "--id3v2", "maybe"}).status, 2);
  EXPECT_EQ(Capture(PlayerCommand, {"get", "1", "--player", Player()}).status, 2);  // no -o
  const Outcome unknown = Get({"7"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("\"state\": \"ERROR (File not found)\""), std::string::npos);
}

}  // namespace
}  // namespace tonvault::cli
