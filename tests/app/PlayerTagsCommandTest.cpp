// tonvault-cli player update-tags over a player folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/Commands.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

std::string DataFile(const std::string& name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

struct Outcome {
  int status;
  std::string out;
};

Outcome Quietly(const Arguments& arguments, int (*command)(const Arguments&)) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = command(arguments);
  Outcome run{status, ::testing::internal::GetCapturedStdout()};
  ::testing::internal::GetCapturedStderr();
  return run;
}

// A folder of every file of a folder player, with its contents.
std::string FolderContent(const std::string& root) {
  std::string all;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) all += entry.path().string() + "\n" + testing::Contents(entry.path().string());
  }
  return all;
}

class PlayerUpdateTagsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(card_.Path() + "/Music");
    std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), card_.Path() + "/Music/waterloo.mp3");
    std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), pc_.Path() + "/waterloo.mp3");
    // The player learns its tracks on the first look.
    Quietly({"info", "--player", Player()}, PlayerCommand);
  }
  std::string Player() const { return "folder:" + card_.Path(); }
  std::string Catalogue() {
    const std::string path = pc_.Path() + "/music.tvd";
    std::filesystem::remove(path);
    Quietly({pc_.Path() + "/waterloo.mp3", "-o", path}, ImportCommand);
    return path;
  }

  testing::TempFolder card_, pc_;
};

TEST_F(PlayerUpdateTagsTest, DryRunCountsAndWritesNothingTheRealRunWrites) {
  const std::string catalogue = Catalogue();
  const std::string before = FolderContent(card_.Path());

  Outcome run = Quietly({"update-tags", catalogue, "--player", Player(), "--dry-run"}, PlayerCommand);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(R"("dryRun": true, "notFound": 0, "tooDifferent": 0, "equal": 0, "toUpdate": 1)"),
            std::string::npos)
      << run.out;
  // The player keeps no bitrate for this file; the row's "3/12" is track 3
  // as on the player.
  EXPECT_NE(run.out.find(R"("years": 0, "trackNumbers": 0, "bitrates": 1})"), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
  EXPECT_EQ(FolderContent(card_.Path()), before);

  run = Quietly({"update-tags", catalogue, "--player", Player()}, PlayerCommand);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(R"("dryRun": false, "notFound": 0, "tooDifferent": 0, "equal": 0, "toUpdate": 1)"),
            std::string::npos)
      << run.out;
  run = Quietly({"update-tags", catalogue, "--player", Player(), "--dry-run"}, PlayerCommand);
  EXPECT_NE(run.out.find(R"("equal": 1, "toUpdate": 0)"), std::string::npos) << run.out;
}

TEST_F(PlayerUpdateTagsTest, WrongUsageAndAMissingPlayerOrCatalogue) {
  const std::string catalogue = Catalogue();
  EXPECT_EQ(Quietly({"update-tags"}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"update-tags", catalogue, "--bogus"}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"update-tags", catalogue, catalogue}, PlayerCommand).status, 2);
  EXPECT_EQ(Quietly({"update-tags", pc_.Path() + "/none.tvd", "--player", Player()}, PlayerCommand).status, 1);
  EXPECT_EQ(Quietly({"update-tags", catalogue, "--player", Player() + "/missing"}, PlayerCommand).status, 1);
}

}  // namespace
}  // namespace tonvault::cli
