#include <gtest/gtest.h>

#include <filesystem>

#include "audio/Id3v2Tag.h"
#include "app/CommandOutcome.h"
#include "cli/Commands.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

namespace fs = std::filesystem;
using testing::Contents;

Outcome Transform(const Arguments& arguments) { return Capture(TransformCommand, arguments); }

class TransformCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = folder.Path() + "/a.mp3";
    fs::copy_file(std::string(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3", file);  // ABBA, Waterloo
  }
  std::string Line(const std::string& old, const std::string& now, bool changed) const {
    return "{\"file\": \"" + file + "\", \"field\": \"v2:title\", \"old\": \"" + old + "\", \"new\": \"" + now +
           "\", \"changed\": " + (changed ? "true" : "false") + "}\n";
  }
  testing::TempFolder folder;
  std::string file;
};

TEST_F(TransformCommandTest, DryRunPreviewsAndTheRunWritesOnlyChangedValues) {
  const std::string bytes = Contents(file);
  const Outcome dry = Transform({file, "--field", "v2:title", "--upper", "--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, Line("Waterloo", "WATERLOO", true));
  EXPECT_EQ(Contents(file), bytes);

  const Outcome same = Transform({file, "--first"});
  EXPECT_EQ(same.out, Line("Waterloo", "Waterloo", false));
  EXPECT_EQ(Contents(file), bytes) << "an unchanged value is not written";

  const Outcome replaced = Transform({file, "--replace", "o", "0"});
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(replaced.out, Line("Waterloo", "Waterl00", true));
  EXPECT_EQ(audio::ReadId3v2Tag(file).title, "Waterl00");
  EXPECT_EQ(audio::ReadId3v2Tag(file).album, "Gold") << "the other fields stay";
}

TEST_F(TransformCommandTest, JoinAndSplitTurnBackIntoEachOther) {
  const Outcome joined = Transform({file, "--join"});
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(joined.out, "{\"file\": \"" + file + "\", \"field\": \"v2:title\", \"old\": \"Waterloo\", "
                        "\"new\": \"Waterloo - ABBA\", \"oldArtist\": \"ABBA\", \"newArtist\": \"\", "
                        "\"changed\": true}\n");
  Outcome split = Transform({file, "--split", "--separator", " - "});
  EXPECT_EQ(split.status, 0) << split.err;
  const audio::Id3v2Values tag = audio::ReadId3v2Tag(file);
  EXPECT_EQ(tag.title, "Waterloo");
  EXPECT_EQ(tag.artist, "ABBA");
  split = Transform({file, "--split"});
  EXPECT_NE(split.out.find("\"changed\": false"), std::string::npos) << "no separator left: " << split.out;
}

TEST_F(TransformCommandTest, WrongLinesAndMissingFiles) {
  for (const Arguments& wrong : std::vector<Arguments>{{file, "--replace", "a", "aa"},
                                                       {file, "--replace", "", "x"},
                                                       {file, "--replace", "a"},
                                                       {file},
                                                       {file, "--lower", "--upper"},
                                                       {file, "--lower", "--replace", "a", "b"},
                                                       {file, "--join", "--field", "v1:title"},
                                                       {file, "--lower", "--field", "v1:genre"},
                                                       {"--lower"}}) {
    EXPECT_EQ(Transform(wrong).status, 2) << ::testing::PrintToString(wrong);
  }
  const Outcome missing = Transform({folder.Path() + "/gone.mp3", file, "--lower", "--dry-run"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("gone.mp3: not a file"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, Line("Waterloo", "waterloo", true)) << "the other files are still done";
}

}  // namespace
}  // namespace tonvault::cli
