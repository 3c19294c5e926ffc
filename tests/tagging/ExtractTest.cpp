#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/Id3v2Tag.h"
#include "tagging/EditorFixture.h"
#include "tagging/extract/ExtractEntry.h"
#include "tagging/extract/SplitFileName.h"

namespace tonvault::tagging {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

TEST(SplitFileName, EarliestSeparatorWinsAndTheLowerNumberOnATie) {
  EXPECT_EQ(SplitFileName("07 - ABBA - Waterloo", "-", "", ""), (Items{"07", "ABBA", "Waterloo"}));
  EXPECT_EQ(SplitFileName("07 - ABBA - Waterloo", " - ", "", ""), (Items{"07", "ABBA", "Waterloo"}));
  EXPECT_EQ(SplitFileName("07 - ABBA - Waterloo", "_", "", ""), (Items{"07 - ABBA - Waterloo"}));
  EXPECT_EQ(SplitFileName("A - B", "-", " - ", ""), (Items{"A", "B"}));
  EXPECT_EQ(SplitFileName("A-B - C", "-", " - ", ""), (Items{"A", "B", "C"}));
  EXPECT_EQ(SplitFileName("Artist--Title", "-", "", ""), (Items{"Artist", "", "Title"}));
  // Both start at the same place: separator 1 is taken, so "_" is left over.
  EXPECT_EQ(SplitFileName("a-_b", "-", "-_", ""), (Items{"a", "_b"}));
  EXPECT_EQ(SplitFileName("a-_b", "-_", "-", ""), (Items{"a", "b"}));
  EXPECT_EQ(SplitFileName("x_y.z", "", "", "."), (Items{"x_y", "z"})) << "empty separators never match";
  EXPECT_EQ(SplitFileName("Low-HIGH", "h", "", ""), (Items{"Low-HIGH"})) << "case-sensitive";
  EXPECT_EQ(SplitFileName("-", "-", "", ""), (Items{"", ""}));
  EXPECT_EQ(SplitFileName("", "-", "", ""), (Items{""}));
}

TEST(SplitFileName, BaseNameIsCutAtTheFirstOccurrenceOfTheExtension) {
  EXPECT_EQ(BaseNameForItems("/m/live.mp3.mp3"), "live");
  EXPECT_EQ(BaseNameForItems("/m.mp3/ a b .mp3"), "a b");
  EXPECT_EQ(BaseNameForItems("/m/no extension"), "no extension");
  EXPECT_EQ(BaseNameForItems("/m/Take.Five.mp2"), "Take.Five");
}

class ExtractTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    app.options.id3.nextSave = false;
  }
};

TEST_F(ExtractTest, DefaultsFillV1TrackArtistTitleAndSaveIt) {
  const std::string file = AddFile("07 - ABBA - Waterloo.mp3", {.v1 = true, .title = "old", .artist = "old"});
  app.results.push_back(app.files[0]);
  Open();
  ExtractSingleFile(editor);
  const audio::Id3v1Tag tag = audio::ReadId3v1Tag(file);
  EXPECT_EQ(tag.track, 7);
  EXPECT_EQ(tag.artist, "ABBA");
  EXPECT_EQ(tag.title, "Waterloo");
  EXPECT_EQ(tag.album, "Album") << "fields without an item are untouched";
  EXPECT_FALSE(audio::ReadId3v2Tag(file).present) << "only the chosen version is written";
  EXPECT_EQ(app.columnMap.Get(app.results[0], Column::Artist), "ABBA") << "the rows are refilled";
  EXPECT_TRUE(frontend.Log("message").empty());
}

TEST_F(ExtractTest, V1TrackAndGenreTakeOnlyWhatTheTagCanHold) {
  const std::string file = AddFile("x.mp3", {.v1 = true, .title = "t", .v1Track = 9});
  app.options.rename.extractSeparators = {"_", "", ""};
  app.options.rename.extractOrder = {" Track ", " Genre ", " Year ", " ------ Separator ------", " Title ",
                                     " Artist ", " Album ", " Comment "};
  const auto extract = [&](const std::string& name) {
    fs::rename(file, Path(name));
    editor.EntryRenamed(Path(name));
    editor.ReadAgain();
    EXPECT_TRUE(ExtractEntry(editor));
    fs::rename(Path(name), file);
    editor.EntryRenamed(file);
    return audio::ReadId3v1Tag(file);
  };
  Open();
  audio::Id3v1Tag tag = extract("12a_Rock_2001_extra.mp3");
  EXPECT_EQ(tag.track, -1) << "not a number empties the track";
  EXPECT_EQ(tag.genre, 17) << "Rock";
  EXPECT_EQ(tag.year, "2001");
  EXPECT_EQ(tag.title, "t") << "items beyond the separator row are dropped";
  tag = extract("128_rock_1999.mp3");
  EXPECT_EQ(tag.track, -1);
  EXPECT_EQ(tag.genre, 255) << "the genre must match exactly";
  tag = extract(" 0012 _Pop_19999.mp3");
  EXPECT_EQ(tag.track, 12);
  EXPECT_EQ(tag.year, "1999") << "the writer cuts to the field's width";
}

TEST_F(ExtractTest, WithoutOverrideAFieldWithTextKeepsIt) {
  const std::string file = AddFile("07 - ABBA - Waterloo.mp3", {.v2 = true, .title = "Kept"});
  app.options.rename.extractTagVersion = 1;
  app.options.rename.extractOverride = false;
  app.options.rename.extractSeparators = {" - ", "", ""};
  Open();
  ExtractSingleFile(editor);
  const audio::Id3v2Values tag = audio::ReadId3v2Tag(file);
  EXPECT_EQ(tag.title, "Kept");
  EXPECT_EQ(tag.artist, "ABBA");
  EXPECT_EQ(tag.track, "07") << "V2 takes the item's text as it is";
}

TEST_F(ExtractTest, EmptyItemEmptiesItsField) {
  const std::string file = AddFile("Artist--Title.mp3", {.v2 = true, .title = "x", .artist = "y"});
  app.options.rename.extractTagVersion = 1;
  app.options.rename.extractOrder = {" Artist ", " Album ", " Title ", " ------ Separator ------", " Track ",
                                     " Year ", " Comment ", " Genre "};
  Open();
  ExtractSingleFile(editor);
  const audio::Id3v2Values tag = audio::ReadId3v2Tag(file);
  EXPECT_EQ(tag.artist, "Artist");
  EXPECT_EQ(tag.album, "");
  EXPECT_EQ(tag.title, "Title");
}

// mutagen reads what the writers wrote, as other players will.
std::string MutagenPython() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string check = std::string(python) + " -c 'import mutagen' >/dev/null 2>&1";
    if (std::system(check.c_str()) == 0) return python;
  }
  return {};
}

std::string MutagenTags(const std::string& python, const std::string& file) {
  const std::string command = python +
                              " -c 'import sys; from mutagen.id3 import ID3; t = ID3(sys.argv[1]); "
                              "print(\"|\".join(str(t.get(k, \"\")) for k in (\"TRCK\", \"TPE1\", \"TIT2\")))' '" +
                              file + "'";
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

TEST_F(ExtractTest, ExtractAllOverRealFilesReadsBackWithMutagen) {
  AddFile("01 - ABBA - Waterloo.mp3", {});
  AddFile("02 - Björk - Jóga.mp3", {});
  AddFile("03 - Cher - Believe.mp3", {});
  app.options.rename.extractTagVersion = 1;
  Open();
  ExtractAllFiles(editor);
  EXPECT_EQ(frontend.LastCommandState().code, 9);
  EXPECT_EQ(audio::ReadId3v2Tag(Path("02 - Björk - Jóga.mp3")).title, "Jóga");
  const std::string python = MutagenPython();
  if (python.empty()) GTEST_SKIP() << "mutagen is not installed";
  EXPECT_EQ(MutagenTags(python, Path("01 - ABBA - Waterloo.mp3")), "01|ABBA|Waterloo\n");
  EXPECT_EQ(MutagenTags(python, Path("02 - Björk - Jóga.mp3")), "02|Björk|Jóga\n");
  EXPECT_EQ(MutagenTags(python, Path("03 - Cher - Believe.mp3")), "03|Cher|Believe\n");
}

TEST_F(ExtractTest, ExtractAllStopsAtTheFirstFailedWrite) {
  AddFile("1 - A - B.mp3", {});
  AddRow("gone - C - D.mp3");
  AddFile("3 - E - F.mp3", {});
  Open();
  frontend.Answer(catalogue::Button::Ok);
  ExtractAllFiles(editor);
  EXPECT_EQ(audio::ReadId3v1Tag(Path("1 - A - B.mp3")).artist, "A");
  EXPECT_FALSE(audio::ReadId3v1Tag(Path("3 - E - F.mp3")).present);
  EXPECT_EQ(editor.EditIndex(), 1u);
  EXPECT_EQ(frontend.LastCommandState().code, 9);
}

}  // namespace
}  // namespace tonvault::tagging
