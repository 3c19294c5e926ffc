// tonvault-cli player sync over a player folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "CommandOutcome.h"
#include "cli/Commands.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

std::string DataFile(const std::string& name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

Outcome Quietly(const Arguments& arguments, int (*command)(const Arguments&)) { return Capture(command, arguments); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

TEST(PlayerSyncCommand, OneJsonLinePerResultLineFilteredByShow) {
  testing::TempFolder card, pc;
  std::filesystem::create_directories(card.Path() + "/Music");
  std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), card.Path() + "/Music/waterloo.mp3");
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), card.Path() + "/Music/other.mp3");
  std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), pc.Path() + "/waterloo.mp3");
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), pc.Path() + "/mono.mp3");
  const std::string catalogue = pc.Path() + "/music.tvd";
  ASSERT_EQ(Quietly({pc.Path(), "-o", catalogue}, ImportCommand).status, 0);
  const std::string player = "folder:" + card.Path();

  Outcome run = Quietly({"sync", catalogue, "--player", player}, PlayerCommand);
  EXPECT_EQ(run.status, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0].rfind(R"({"category": "Only on PC", "pc": {"album": "", )", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(R"("filename": ")" + pc.Path() + R"(/mono.mp3"}})"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind(R"({"category": "PC and NJB", "pc": {"album": "Gold", "artist": "ABBA", )", 0), 0u);
  EXPECT_NE(lines[1].find(R"("njb": {"album": "Gold", "artist": "ABBA", "title": "Waterloo", "track": "3", )"),
            std::string::npos)
      << lines[1];
  EXPECT_EQ(lines[2].rfind(R"({"category": "Only on NJB", "njb": {)", 0), 0u) << lines[2];

  // What is missing on the player, by file name without case.
  run = Quietly({"sync", catalogue, "--player", player, "--show", "pc", "--criteria", "filename", "--mode",
                 "filename=Case insen."},
                PlayerCommand);
  EXPECT_EQ(Lines(run.out).size(), 1u) << run.out;
  EXPECT_NE(run.out.find("/mono.mp3"), std::string::npos);

  EXPECT_EQ(Quietly({"sync", catalogue, "--show", "pc,all"}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"sync", catalogue, "--length-tolerance", "121"}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"sync", "--player", player}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"sync", pc.Path() + "/none.tvd", "--player", player}, PlayerCommand).status, 1);
}

}  // namespace
}  // namespace tonvault::cli
