#include <gtest/gtest.h>

#include <filesystem>

#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "app/CommandOutcome.h"
#include "cli/Commands.h"
#include "cli/FileNameSession.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

namespace fs = std::filesystem;
using testing::Contents;

class FileNameCommands : public ::testing::Test {
 protected:
  std::string Copy(const std::string& name) {
    const std::string path = folder.Path() + "/" + name;
    fs::copy_file(std::string(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3", path);  // ABBA, Waterloo, track 3/12
    return path;
  }
  testing::TempFolder folder;
};

TEST(ItemRowsFromList, NamedItemsComeFirstThenTheSeparatorThenTheRest) {
  const auto rows = ItemRowsFromList("Title,track");
  ASSERT_TRUE(rows);
  EXPECT_EQ((*rows)[0], " Title ");
  EXPECT_EQ((*rows)[1], " Track ");
  EXPECT_EQ((*rows)[2], catalogue::kItemSeparator);
  EXPECT_EQ((*rows)[3], " Artist ");
  EXPECT_EQ((*rows)[7], " Genre ");
  for (const char* wrong : {"", "title,", "title,title", "tracks", "title, artist"}) {
    EXPECT_FALSE(ItemRowsFromList(wrong)) << wrong;
  }
}

TEST_F(FileNameCommands, RenameDryRunPrintsTheNewNameAndChangesNothing) {
  const std::string file = Copy("a.mp3");
  const Outcome dry = Capture(RenameCommand, {file, "--v2", "--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, "{\"file\": \"" + file + "\", \"newName\": \"" + folder.Path() +
                         "/03 - ABBA - Waterloo.mp3\", \"nameTaken\": false}\n");
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

  const Outcome done = Capture(RenameCommand, {file, "--v2", "--format", "%a/%t %T", "--digits", "3",
                                           "--substitute", "+"});
  EXPECT_EQ(done.status, 0) << done.err;
  EXPECT_TRUE(fs::exists(folder.Path() + "/ABBA+Waterloo 003.mp3"));
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(FileNameCommands, RenameNeverReplacesAFileAndGoesOnWithTheNext) {
  const std::string first = Copy("a.mp3");
  const std::string taken = Copy("Waterloo.mp3");
  const std::string second = Copy("b.mp3");
  fs::resize_file(taken, 1000);
  const std::string takenBytes = Contents(taken), firstBytes = Contents(first);
  const Outcome dry = Capture(RenameCommand, {first, "--v2", "--items", "title", "--dry-run"});
  EXPECT_EQ(dry.status, 1);
  EXPECT_NE(dry.out.find("\"nameTaken\": true"), std::string::npos);
  const Outcome run = Capture(RenameCommand, {first, second, "--v2", "--items", "title,artist", "--separator", "_"});
  EXPECT_EQ(run.status, 1) << "one file was refused";
  EXPECT_TRUE(fs::exists(folder.Path() + "/Waterloo_ABBA.mp3"));
  EXPECT_NE(run.err.find("Cannot rename  " + second), std::string::npos) << "the second has the same tags";
  EXPECT_EQ(Contents(taken), takenBytes);
  EXPECT_EQ(Contents(second), firstBytes);
}

TEST_F(FileNameCommands, UsageErrorsAndFilesItCannotTag) {
  EXPECT_EQ(Capture(RenameCommand, {}).status, 2);
  EXPECT_EQ(Capture(RenameCommand, {"x.mp3", "--digits", "5"}).status, 2);
  EXPECT_EQ(Capture(RenameCommand, {"x.mp3", "--substitute", "?"}).status, 2);
  EXPECT_EQ(Capture(RenameCommand, {"x.mp3", "--items", "bpm"}).status, 2);
  EXPECT_EQ(Capture(ExtractCommand, {"x.mp3", "--separators", "a|b|c|d"}).status, 2);
  EXPECT_EQ(Capture(ExtractCommand, {"x.mp3", "--format"}).status, 2);
  const std::string wav = Copy("song.wav");
  const Outcome run = Capture(RenameCommand, {wav, folder.Path() + "/missing.mp3"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("song.wav: Wave-files cannot be tagged."), std::string::npos);
  EXPECT_NE(run.err.find("missing.mp3: not a file"), std::string::npos);
  EXPECT_TRUE(fs::exists(wav));
}

TEST_F(FileNameCommands, ExtractDryRunShowsTheFieldsAndWritingStoresThem) {
  const std::string file = Copy("7_Cher - Believe.mp3");
  const std::string bytes = Contents(file);
  const Outcome dry = Capture(ExtractCommand, {file, "--separators", " - |_", "--items", "track,artist,title", "--v2",
                                           "--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out, "{\"file\": \"" + file + "\", \"version\": 2, \"title\": \"Believe\", \"artist\": \"Cher\", "
                     "\"album\": \"Gold\", \"year\": \"1974\", \"comment\": \"first single\", \"track\": \"7\", "
                     "\"genre\": \"Pop\"}\n");
  EXPECT_EQ(Contents(file), bytes);

  const Outcome kept = Capture(ExtractCommand, {file, "--separators", " - |_", "--v2", "--no-override"});
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(audio::ReadId3v2Tag(file).artist, "ABBA") << "fields with text are kept";
  const Outcome v1 = Capture(ExtractCommand, {file, "--separators", " - |_", "--v1"});
  EXPECT_EQ(v1.status, 0) << v1.err;
  EXPECT_NE(v1.out.find("\"track\": \"7\""), std::string::npos) << v1.out;
  const audio::Id3v1Tag tag = audio::ReadId3v1Tag(file);
  EXPECT_EQ(tag.track, 7);
  EXPECT_EQ(tag.artist, "Cher");
  EXPECT_EQ(tag.title, "Believe");
}

TEST_F(FileNameCommands, ExtractDryRunShowsV1TextsAsTheTagStoresThem) {
  const std::string file = Copy("A title much longer than thirty characters - Ärger.mp3");
  const Outcome dry = Capture(ExtractCommand, {file, "--items", "title,artist", "--dry-run"});
  EXPECT_NE(dry.out.find("\"title\": \"A title much longer than thirt\", \"artist\": \"Ärger\""), std::string::npos)
      << dry.out;
}

}  // namespace
}  // namespace tonvault::cli
