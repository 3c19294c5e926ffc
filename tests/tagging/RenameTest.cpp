#include <gtest/gtest.h>

#include <filesystem>

#include "support/FileContents.h"
#include "tagging/EditorFixture.h"
#include "tagging/rename/NewName.h"
#include "tagging/rename/RenameEntry.h"

namespace tonvault::tagging {
namespace {

namespace fs = std::filesystem;
using testing::Contents;

FieldValues Values(const std::string& track, const std::string& artist, const std::string& title) {
  FieldValues values;
  values[static_cast<std::size_t>(Field::Track)] = track;
  values[static_cast<std::size_t>(Field::Artist)] = artist;
  values[static_cast<std::size_t>(Field::Title)] = title;
  return values;
}

catalogue::RenameOptions DefaultRenaming() { return catalogue::Options().rename; }

TEST(NewName, StandardItemsAndAdvancedFormat) {
  catalogue::RenameOptions options = DefaultRenaming();
  const FieldValues abba = Values("03", "ABBA", "Waterloo");
  EXPECT_EQ(NewFullName("/music/x.mp3", abba, options), "/music/03 - ABBA - Waterloo.mp3");
  // Only the last separator goes, so empty items leave theirs.
  EXPECT_EQ(NewFullName("/music/x.mp3", Values("00", "", ""), options), "/music/00 -  - .mp3");
  // The folder is everything up to the last "/"; a dot in it is kept.
  EXPECT_EQ(NewFullName("/a.b/c d/song.mp2", abba, options), "/a.b/c d/03 - ABBA - Waterloo.mp3");
  // The item order is the row order above the separator row.
  options.order = {" Title ", " Track ", " ------ Separator ------", " Artist ", " Album ", " Year ", " Comment ",
                   " Genre "};
  options.separator = "_";
  EXPECT_EQ(NewFullName("/m/x.mp3", abba, options), "/m/Waterloo_03.mp3");

  options.advanced = true;
  options.format = "%T_%a_%t";
  EXPECT_EQ(NewFullName("/m/x.mp3", abba, options), "/m/03_ABBA_Waterloo.mp3");
  options.format = "%t%T";
  EXPECT_EQ(NewFullName("/m/x.mp3", abba, options), "/m/Waterloo03.mp3");
  // The title is put in first, so a placeholder inside it is replaced later.
  options.format = "%t (%T)";
  EXPECT_EQ(NewFullName("/m/x.mp3", Values("1", "ABBA", "Best of %a"), options), "/m/Best of ABBA (1).mp3");
  // Placeholders in tag texts cannot make the name grow without bound.
  std::string manyPlaceholders;
  for (int i = 0; i < 20000; ++i) manyPlaceholders += "%a";
  EXPECT_LT(NewFullName("/m/x.mp3", Values("1", std::string(20000, 'x'), manyPlaceholders), options).size(), 100000u)
      << "four hundred million bytes without a bound";
  // Text that is no placeholder stays, "%%" and "%x" included.
  options.format = "%%x %y%";
  EXPECT_EQ(NewFullName("/m/x.mp3", abba, options), "/m/%%x %.mp3");
}

TEST(NewName, CharactersAFatNameCannotHoldAreReplaced) {
  catalogue::RenameOptions options = DefaultRenaming();
  options.advanced = true;
  options.format = "%t";
  EXPECT_EQ(NewFullName("/m/x.mp3", Values("", "", "AC/DC: Live?"), options), "/m/AC_DC_ Live_.mp3");
  EXPECT_EQ(NewFullName("/m/x.mp3", Values("", "", "a*b\\c<d>e|f\"g\""), options), "/m/a_b_c_d_e_f'g'.mp3");
  options.substitute = "#";
  EXPECT_EQ(NewFullName("/m/x.mp3", Values("", "", "../up"), options), "/m/..#up.mp3")
      << "a tag never moves the file out of its folder";
  options.substitute = "/";
  EXPECT_EQ(NewFullName("/m/x.mp3", Values("", "", "a/b"), options), "/m/a_b.mp3") << "an unusable substitute";
}

TEST(NewName, TrackIsReadAsANumberAndPadded) {
  VersionState v2;
  v2.Value(Field::Track) = "07";
  EXPECT_EQ(NameValues(v2, Version::V2, 1)[static_cast<std::size_t>(Field::Track)], "7");
  EXPECT_EQ(NameValues(v2, Version::V2, 3)[static_cast<std::size_t>(Field::Track)], "007");
  v2.Value(Field::Track) = "3/12";
  EXPECT_EQ(NameValues(v2, Version::V2, 2)[static_cast<std::size_t>(Field::Track)], "03");
  for (const char* foreign : {"12a", "", "3/", "/3", "x/12", "99999999999"}) {
    v2.Value(Field::Track) = foreign;
    EXPECT_EQ(NameValues(v2, Version::V2, 2)[static_cast<std::size_t>(Field::Track)], "00") << foreign;
  }
  VersionState v1;  // V1 holds "" for track 0
  EXPECT_EQ(NameValues(v1, Version::V1, 2)[static_cast<std::size_t>(Field::Track)], "00");
  v1.Value(Field::Track) = "12";
  v1.Value(Field::Genre) = "Rock";
  const FieldValues values = NameValues(v1, Version::V1, 4);
  EXPECT_EQ(values[static_cast<std::size_t>(Field::Track)], "0012");
  EXPECT_EQ(values[static_cast<std::size_t>(Field::Genre)], "Rock");
}

class RenameTest : public EditorFixture {
 protected:
  std::string Filename(const catalogue::TrackRecord& row) const { return app.columnMap.Get(row, Column::Filename); }
  std::vector<std::string> Messages() const { return frontend.Log("message"); }
};

TEST_F(RenameTest, RenamedFileRefillsItsRowAndTheTwinInResults) {
  AddFile("x.mp2", {.v1 = true, .title = "Waterloo", .artist = "ABBA", .v1Track = 3});
  app.results.push_back(app.files[0]);
  app.results[0].selected = false;
  Open();
  ASSERT_TRUE(editor.ShowsDiskFiles());
  RenameSingleFile(editor);
  const std::string renamed = Path("03 - ABBA - Waterloo.mp3");
  EXPECT_TRUE(fs::exists(renamed));
  EXPECT_FALSE(fs::exists(Path("x.mp2")));
  EXPECT_EQ(Filename(app.files[0]), "03 - ABBA - Waterloo.mp3");
  EXPECT_EQ(Filename(app.results[0]), "03 - ABBA - Waterloo.mp3");
  EXPECT_EQ(app.columnMap.Get(app.files[0], Column::Title), "Waterloo");
  EXPECT_EQ(editor.EditList()[0].fileName, renamed);
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RenameTest, RenameUsesTheTypedValuesOfTheChosenVersion) {
  AddFile("x.mp3", {.v1 = true, .v2 = true, .title = "Old", .artist = "A", .v1Track = 1, .v2Track = "07"});
  app.options.rename.tagVersion = 1;
  app.options.rename.trackDigits = 1;
  Open();
  editor.TypeValue(Version::V2, Field::Title, "New");
  RenameSingleFile(editor);
  EXPECT_TRUE(fs::exists(Path("7 - A - New.mp3")));
  EXPECT_EQ(audio::ReadId3v2Tag(Path("7 - A - New.mp3")).title, "Old") << "renaming writes no tag";
}

TEST_F(RenameTest, ExistingTargetIsNeverReplaced) {
  const std::string source = AddFile("x.mp3", {.v1 = true, .title = "Waterloo", .artist = "ABBA", .v1Track = 3});
  const std::string target = AddFile("03 - ABBA - Waterloo.mp3", {.v1 = true, .title = "Other"});
  app.files[1].selected = false;
  const std::string sourceBytes = Contents(source), targetBytes = Contents(target);
  const auto rowsBefore = app.files;
  Open();
  frontend.ClearLog();
  RenameSingleFile(editor);
  EXPECT_EQ(Contents(source), sourceBytes);
  EXPECT_EQ(Contents(target), targetBytes);
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): Cannot rename  " + source + "\n\r" + "to  " +
                                                 target + "\n\r\r(Write protected, in use or filename invalid) [OK]"});
  EXPECT_EQ(frontend.Log("beep").at(0), "beep: exclamation");
  EXPECT_EQ(Filename(app.files[0]), Filename(rowsBefore[0]));
  EXPECT_EQ(editor.EditList()[0].fileName, source);
  EXPECT_FALSE(app.catalogueModified);
}

TEST_F(RenameTest, OwnNameIsSuccessAndTooLongNameIsRefusedWhole) {
  const std::string same = AddFile("03 - ABBA - Waterloo.mp3", {.v1 = true, .title = "Waterloo", .artist = "ABBA", .v1Track = 3});
  const std::string bytes = Contents(same);
  Open();
  frontend.ClearLog();
  EXPECT_TRUE(RenameEntry(editor));
  EXPECT_EQ(Contents(same), bytes);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(app.catalogueModified) << "nothing changed";

  app.options.rename.advanced = true;
  app.options.rename.format = std::string(300, 'n') + "%t";
  EXPECT_FALSE(RenameEntry(editor));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("message(error): Cannot rename  " + same, 0), 0u);
  EXPECT_EQ(Contents(same), bytes);
  app.options.rename.format = "%c";  // an empty comment: the name would be only ".mp3"
  EXPECT_FALSE(RenameEntry(editor));
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(RenameTest, RenameAllStopsAtTheFirstRefusal) {
  for (int n = 1; n <= 3; ++n) {
    AddFile(std::to_string(n) + ".mp3", {.v1 = true, .title = "T" + std::to_string(n), .artist = "A", .v1Track = n});
  }
  AddFile("02 - A - T2.mp3", {});
  app.files[3].selected = false;
  Open();
  frontend.ClearLog();
  RenameAllFiles(editor);
  EXPECT_TRUE(fs::exists(Path("01 - A - T1.mp3")));
  EXPECT_TRUE(fs::exists(Path("2.mp3")));
  EXPECT_TRUE(fs::exists(Path("3.mp3"))) << "the run ended at the refusal";
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(frontend.LastCommandState().code, 9);
  EXPECT_FALSE(editor.SaveAllRunning());
  EXPECT_EQ(editor.EditIndex(), 1u) << "the refused file stays on display";
  EXPECT_EQ(Filename(app.files[0]), "01 - A - T1.mp3");
  EXPECT_EQ(Filename(app.files[1]), "2.mp3");
}

TEST_F(RenameTest, SingleRenameMovesOnAndNothingRunsWithoutFilesOnDisplay) {
  AddFile("1.mp3", {.v1 = true, .title = "One", .v1Track = 1});
  AddFile("2.mp3", {.v1 = true, .title = "Two", .v1Track = 2});
  app.options.id3.nextSave = true;
  RenameSingleFile(editor);  // the editor is not open
  RenameAllFiles(editor);
  EXPECT_TRUE(fs::exists(Path("1.mp3")));
  Open();
  RenameSingleFile(editor);
  EXPECT_TRUE(fs::exists(Path("01 -  - One.mp3")));
  EXPECT_EQ(editor.EditIndex(), 1u);
  // Without moving on, the entry on display shows its new name.
  app.options.id3.nextSave = false;
  editor.First();
  editor.TypeValue(Version::V1, Field::Title, "Uno");
  RenameSingleFile(editor);
  EXPECT_EQ(editor.EditIndex(), 0u);
  EXPECT_EQ(editor.FileLine(), "Filename:   " + Path("01 -  - Uno.mp3"));
}

}  // namespace
}  // namespace tonvault::tagging
