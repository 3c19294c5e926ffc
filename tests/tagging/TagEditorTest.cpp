#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/Id3v2Writer.h"
#include "catalogue/PageChange.h"
#include "support/FileContents.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"
#include "tagging/EditorFixture.h"
#include "tagging/editor/TagEditor.h"

namespace tonvault::tagging {
namespace {

namespace fs = std::filesystem;

using testing::Contents;

using TagEditorTest = EditorFixture;

TEST_F(TagEditorTest, CopyToV1CutsEachFieldToWhatTheV1TagHolds) {
  AddFile("a.mp3", {});
  Open();
  ASSERT_TRUE(editor.IsOpen());
  const std::string longTitle = "  A title that is much longer than thirty characters  ";
  const auto copy = [&](Field field, const std::string& v2) {
    editor.TypeValue(Version::V2, field, v2);
    editor.CopyField(Version::V2, field);
    return editor.V1().Value(field);
  };
  EXPECT_EQ(copy(Field::Title, longTitle), "A title that is much longer th");
  EXPECT_EQ(copy(Field::Year, "19999"), "1999");
  EXPECT_EQ(copy(Field::Comment, "0123456789012345678901234567890"), "0123456789012345678901234567");
  EXPECT_EQ(copy(Field::Track, "12a"), "");
  EXPECT_EQ(copy(Field::Track, "0012"), "12");
  EXPECT_EQ(copy(Field::Track, "128"), "");
  EXPECT_EQ(copy(Field::Genre, " rock "), "Rock");
  EXPECT_EQ(copy(Field::Genre, "Nu Metal"), "");
  EXPECT_TRUE(editor.V1().saveChanges);

  // The empty genre entry is written as 255, not as the first genre.
  editor.SetSaveChanges(Version::V2, false);
  editor.Save();
  const audio::Id3v1Tag tag = audio::ReadId3v1Tag(Path("a.mp3"));
  ASSERT_TRUE(tag.present);
  EXPECT_EQ(tag.genre, 255);
  EXPECT_EQ(tag.title, "A title that is much longer th");
  EXPECT_FALSE(audio::ReadId3v2Tag(Path("a.mp3")).present) << "V2 was not armed";
}

TEST_F(TagEditorTest, V1FieldRefusesTextBeyondItsSingleByteWidth) {
  AddFile("a.mp3", {});
  Open();
  editor.TypeValue(Version::V1, Field::Year, "2001");
  editor.TypeValue(Version::V1, Field::Year, "20012");
  EXPECT_EQ(editor.V1().Value(Field::Year), "2001");
  // Thirty "é" are 60 UTF-8 bytes but 30 bytes in the tag.
  std::string accents;
  for (int i = 0; i < 30; ++i) accents += "é";
  editor.TypeValue(Version::V1, Field::Title, accents);
  EXPECT_EQ(editor.V1().Value(Field::Title), accents);
  editor.TypeValue(Version::V1, Field::Title, accents + "e");
  EXPECT_EQ(editor.V1().Value(Field::Title), accents);
}

TEST_F(TagEditorTest, AutoNumberingCountsFromStartWithAndPadsOnlyV2) {
  for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) AddFile(name, {.v1 = true, .v2 = true, .title = name});
  Open();
  editor.SetStartWith(5);
  editor.SetDigits(3);
  editor.ClickTrackBox(Version::V2);
  EXPECT_EQ(editor.V2().trackBox, TrackBox::Clear);
  frontend.ClearLog();
  editor.ClickTrackBox(Version::V2);
  EXPECT_EQ(TrackBoxCaption(editor.V2().trackBox), "auto number");
  EXPECT_EQ(frontend.Log("message").at(0), "message(warning): Auto numbering starts with 5 [OK]");
  editor.ClickTrackBox(Version::V1);
  editor.ClickTrackBox(Version::V1);
  editor.Next();
  editor.Next();
  EXPECT_EQ(editor.V2().Value(Field::Track), "007");
  EXPECT_EQ(editor.V1().Value(Field::Track), "7");
  EXPECT_EQ(editor.V1().Value(Field::Title), "3.mp3") << "other fields come from the file on display";
}

TEST_F(TagEditorTest, V1AutoNumberStopsBelow128AndKeepsTheLastNumber) {
  for (int i = 0; i < 10; ++i) AddFile(std::to_string(i) + ".mp3", {.v1 = true, .v1Track = 3});
  Open();
  editor.SetStartWith(120);
  editor.ClickTrackBox(Version::V1);
  editor.ClickTrackBox(Version::V1);
  for (int i = 0; i < 7; ++i) editor.Next();
  EXPECT_EQ(editor.V1().Value(Field::Track), "127");
  editor.Next();
  EXPECT_EQ(editor.V1().Value(Field::Track), "127") << "neither numbered nor taken from the tag";
  editor.Next();
  EXPECT_EQ(editor.V1().Value(Field::Track), "127");
  EXPECT_EQ(editor.V1().MarkOf(Field::Track), Mark::Changed) << "the file says 3";
}

TEST_F(TagEditorTest, V1TrackAbove127IsShownButNotTaken) {
  AddFile("a.mp3", {.v1 = true, .v1Track = 0});
  std::string bytes = Contents(Path("a.mp3"));
  bytes[bytes.size() - 2] = static_cast<char>(200);  // ID3v1.1 track byte
  std::ofstream(Path("a.mp3"), std::ios::binary) << bytes;
  Open();
  EXPECT_EQ(editor.V1().Panel(Field::Track), "200");
  EXPECT_EQ(editor.V1().Value(Field::Track), "");
}

TEST_F(TagEditorTest, KeptArtistGoesIntoEveryFileWithSaveAll) {
  for (int i = 0; i < 3; ++i) {
    AddFile(std::to_string(i) + ".mp3",
            {.v1 = true, .v2 = true, .title = "Song " + std::to_string(i), .artist = "Old", .v2Track = "4"});
  }
  app.results.push_back(app.files[1]);  // a copy of the second row
  Open();
  editor.TypeValue(Version::V2, Field::Artist, "Björk & 東京");
  editor.ClickKeep(Version::V2, Field::Artist);
  editor.TypeValue(Version::V1, Field::Artist, "Bjork");
  editor.ClickKeep(Version::V1, Field::Artist);
  editor.SaveAll();

  for (int i = 0; i < 3; ++i) {
    const std::string path = Path(std::to_string(i) + ".mp3");
    const audio::Id3v2Values v2 = audio::ReadId3v2Tag(path);
    EXPECT_EQ(v2.artist, "Björk & 東京");
    EXPECT_EQ(v2.title, "Song " + std::to_string(i));
    EXPECT_EQ(v2.track, "4");
    const audio::Id3v1Tag v1 = audio::ReadId3v1Tag(path);
    EXPECT_EQ(v1.artist, "Bjork");
    EXPECT_EQ(v1.title, "Song " + std::to_string(i));
    EXPECT_EQ(v1.genre, 17);
    EXPECT_EQ(Artist(app.files[static_cast<std::size_t>(i)]), "Björk & 東京") << "row refilled";
  }
  EXPECT_EQ(Artist(app.results[0]), "Björk & 東京") << "the copy in RESULTS is refilled too";
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_FALSE(editor.V2().Keep(Field::Artist)) << "Save All releases the keep boxes";
  EXPECT_EQ(frontend.LastCommandState().code, 9);
  EXPECT_EQ(frontend.ProgressHigh(), 0);

  if (std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3-mutagen";
  const std::string command = "/usr/bin/python3 -c \"import sys; from mutagen.id3 import ID3; t = ID3(sys.argv[1]); "
                              "print(t['TPE1'].text[0] + '|' + t['TIT2'].text[0])\" " + Path("2.mp3");
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[256] = {};
  ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
  ::pclose(pipe);
  EXPECT_EQ(std::string(line), "Björk & 東京|Song 2\n");
}

TEST_F(TagEditorTest, SaveAllStoppedWithEscKeepsTheFilesSavedBefore) {
  for (int i = 0; i < 4; ++i) AddFile(std::to_string(i) + ".mp3", {.v2 = true, .title = "T", .artist = "Old"});
  Open();
  editor.TypeValue(Version::V2, Field::Artist, "New");
  editor.ClickKeep(Version::V2, Field::Artist);
  // Pump 1 starts the operation; pump n + 1 follows file n.
  frontend.AtPump(3, [this] { app.stopRequest = true; });
  frontend.Answer(catalogue::Button::Yes);
  editor.SaveAll();
  EXPECT_EQ(audio::ReadId3v2Tag(Path("0.mp3")).artist, "New");
  EXPECT_EQ(audio::ReadId3v2Tag(Path("1.mp3")).artist, "New");
  EXPECT_EQ(audio::ReadId3v2Tag(Path("2.mp3")).artist, "Old");
  EXPECT_EQ(audio::ReadId3v2Tag(Path("3.mp3")).artist, "Old");
  EXPECT_FALSE(editor.SaveAllRunning());
  EXPECT_EQ(editor.EditIndex(), 1u) << "the last file saved stays on display";
  EXPECT_FALSE(editor.V2().Keep(Field::Artist)) << "a stop releases the keep boxes too";
}

TEST_F(TagEditorTest, FailingWriteLeavesRowsFileAndTypedValues) {
  AddFile("good.mp3", {.v2 = true, .title = "Good"});
  std::ofstream(Path("bad.mp3"), std::ios::binary) << std::string(3000, 'x');  // not MPEG audio
  AddRow("bad.mp3");
  AddFile("last.mp3", {.v2 = true, .title = "Last"});
  app.options.id3.nextSave = true;
  Open();
  editor.Next();
  ASSERT_EQ(editor.EditIndex(), 1u);
  const std::vector<catalogue::TrackRecord> rowsBefore = app.files;
  editor.TypeValue(Version::V2, Field::Title, "Typed");
  editor.Save();
  EXPECT_EQ(frontend.Log("message(error)").size(), 1u);
  EXPECT_EQ(editor.EditIndex(), 1u) << "no move to the next file";
  EXPECT_EQ(editor.V2().Value(Field::Title), "Typed");
  EXPECT_EQ(Contents(Path("bad.mp3")), std::string(3000, 'x'));
  EXPECT_TRUE(catalogue::RowsEqual(app.files[1], rowsBefore[1]));
  EXPECT_FALSE(app.catalogueModified);

  // Save All stops at the same file with the writer's message and leaves it on display.
  editor.ClickKeep(Version::V2, Field::Title);
  frontend.ClearLog();
  editor.SaveAll();
  EXPECT_EQ(frontend.Log("message(error)").size(), 1u);
  EXPECT_EQ(audio::ReadId3v2Tag(Path("good.mp3")).title, "Typed");
  EXPECT_EQ(audio::ReadId3v2Tag(Path("last.mp3")).title, "Last") << "nothing after the failure";
  EXPECT_EQ(editor.EditIndex(), 1u);
  EXPECT_EQ(frontend.Panel(1), "On display:  2") << "the operation's end does not empty the status texts";
  EXPECT_TRUE(editor.V2().Keep(Field::Title));
  EXPECT_EQ(editor.V2().Value(Field::Title), "Typed");
  EXPECT_EQ(frontend.LastCommandState().code, 9);
}

TEST_F(TagEditorTest, WriteProtectedFileIsRefusedAndLeftAsItWas) {
  AddFile("ro.mp3", {.v1 = true, .v2 = true, .title = "Kept"});
  fs::permissions(Path("ro.mp3"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string before = Contents(Path("ro.mp3"));
  Open();
  const catalogue::TrackRecord rowBefore = app.files[0];
  editor.SetCopyToV1(true);
  editor.TypeValue(Version::V2, Field::Title, "Changed");
  editor.Save();
  EXPECT_EQ(frontend.Log("message(error)").size(), 1u) << "one message, though both versions were armed";
  EXPECT_EQ(Contents(Path("ro.mp3")), before);
  EXPECT_TRUE(catalogue::RowsEqual(app.files[0], rowBefore));
  EXPECT_EQ(editor.V2().Value(Field::Title), "Changed");
  EXPECT_EQ(editor.V1().Value(Field::Title), "Changed") << "the copy made before saving stays too";
  EXPECT_TRUE(editor.CopyToV1());
}

TEST_F(TagEditorTest, RemoveTagTakesOnlyThatVersionOffAndSaveMovesOn) {
  AddFile("0.mp3", {.v1 = true, .v2 = true, .title = "Zero"});
  AddFile("1.mp3", {.v1 = true, .v2 = true, .title = "One"});
  app.options.id3.nextSave = true;
  Open();
  editor.SetRemoveTag(Version::V1, true);
  editor.Save();
  EXPECT_FALSE(audio::ReadId3v1Tag(Path("0.mp3")).present);
  EXPECT_EQ(audio::ReadId3v2Tag(Path("0.mp3")).title, "Zero") << "V2 was not armed";
  EXPECT_EQ(editor.EditIndex(), 1u);
  EXPECT_EQ(app.files[0].icon, catalogue::StatusIcon::Id3v2) << "row refilled";

  // Another command's save of one version writes it even with its button
  // up, and never removes.
  editor.SetSaveChanges(Version::V1, false);
  editor.TypeValue(Version::V2, Field::Title, "Uno");
  editor.SetSaveChanges(Version::V2, false);
  ASSERT_TRUE(editor.SaveEditEntry(2));
  EXPECT_EQ(audio::ReadId3v2Tag(Path("1.mp3")).title, "Uno");
  EXPECT_TRUE(audio::ReadId3v1Tag(Path("1.mp3")).present);
  editor.Next();
  EXPECT_EQ(frontend.Log().back(), "beep: default") << "no file after the last";
}

TEST_F(TagEditorTest, MissingFileIsShownAndCannotBeSaved) {
  AddRow("gone.mp3");
  Open();
  EXPECT_EQ(editor.FileLine(), "File   " + Path("gone.mp3") + "   NOT FOUND");
  EXPECT_TRUE(editor.FileMissing());
  editor.TypeValue(Version::V2, Field::Title, "x");
  EXPECT_FALSE(editor.SaveEnabled());
  EXPECT_FALSE(fs::exists(Path("gone.mp3")));
}

TEST_F(TagEditorTest, OpeningChoosesTheListOrAsks) {
  AddFile("f.mp3", {.v2 = true, .title = "in files"});
  AddFile("r.mp3", {.v2 = true, .title = "in results"});
  app.results.push_back(app.files[1]);
  app.files[1].selected = false;
  catalogue::ChangePage(app, Page::Results);
  Open();
  EXPECT_EQ(editor.EditSource(), catalogue::ListId::Results) << "the list of the page the user came from";
  catalogue::ChangePage(app, Page::Search);

  // From a third page with both lists selected: the question; Cancel opens nothing and says nothing more.
  frontend.ClearLog();
  frontend.Answer(catalogue::Button::Cancel);
  Open();
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_EQ(app.currentPage, Page::Files);
  EXPECT_EQ(frontend.Log("message").size(), 1u);
  EXPECT_EQ(frontend.Log("beep").size(), 1u) << "only the question's sound";

  catalogue::ChangePage(app, Page::Search);
  frontend.Answer(catalogue::Button::No);
  Open();
  ASSERT_TRUE(editor.IsOpen());
  EXPECT_EQ(editor.V2().Value(Field::Title), "in results");
  EXPECT_EQ(frontend.LastCommandState().code, 9);
  EXPECT_EQ(frontend.Panel(0), "Files to tag:  1");
}

TEST_F(TagEditorTest, OpeningRefusesRowsItCannotTagInOrder) {
  const auto refusal = [&] {
    catalogue::ChangePage(app, Page::Search);
    frontend.ClearLog();
    Open();
    EXPECT_FALSE(editor.IsOpen());
    EXPECT_EQ(app.currentPage, Page::Files);
    const auto messages = frontend.Log("message");
    return messages.size() == 1 ? messages[0] : std::string("several messages");
  };
  EXPECT_EQ(refusal(), "message(information): Please select lines in FILES or RESULTS first. [OK]");
  AddFile("a.mp3", {});
  AddRow("b.wav");
  app.columnMap.Set(app.files.back(), Column::Codec, "WAV PCM");
  AddRow("c.wma");
  app.columnMap.Set(app.files.back(), Column::Codec, "WMA 9");
  EXPECT_EQ(refusal(), "message(information): WMA-files cannot be tagged. [OK]");
  app.files.pop_back();
  EXPECT_EQ(refusal(), "message(information): Wave-files cannot be tagged. [OK]");
  app.files.pop_back();
  catalogue::TrackRecord jukebox = catalogue::TrackRecord::ForPlayer();
  jukebox.selected = true;
  app.columnMap.Set(jukebox, Column::Path, "--- NJB ---");
  app.files.push_back(jukebox);
  EXPECT_EQ(refusal(), "message(information): No mixed tagging of PC- and NJB-files. [OK]");
  app.files.erase(app.files.begin());
  EXPECT_EQ(refusal(), std::string("message(information): ") + kOnlyLoadedJukeboxFiles + " [OK]");
}

TEST_F(TagEditorTest, ToggleRulesReleaseWhatCannotGoTogether) {
  AddFile("a.mp3", {.v1 = true, .v2 = true, .title = "V1 and V2", .v2Genre = "Rock"});
  Open();
  editor.SetKeepOldContent(true);
  EXPECT_TRUE(editor.V2().saveChanges);
  editor.SetRemoveTag(Version::V2, true);
  EXPECT_FALSE(editor.KeepOldContent());
  editor.SetCopyToV2(true);
  EXPECT_FALSE(editor.V2().removeTag);
  editor.SetCopyToV1(true);
  EXPECT_FALSE(editor.CopyToV2());
  EXPECT_TRUE(editor.V1().saveChanges);
  EXPECT_EQ(editor.V1().Value(Field::Genre), "Rock");
  editor.SetSaveChanges(Version::V1, false);
  EXPECT_FALSE(editor.CopyToV1());
  editor.SetSaveChanges(Version::V2, false);
  EXPECT_FALSE(editor.SaveEnabled());

  editor.TypeValue(Version::V2, Field::Title, "V1 and V2");
  EXPECT_EQ(editor.V2().MarkOf(Field::Title), Mark::Equal);
  editor.TypeValue(Version::V2, Field::Title, "other");
  EXPECT_EQ(editor.V2().MarkOf(Field::Title), Mark::Changed);
  EXPECT_EQ(editor.V2().MarkOf(Field::Comment), Mark::None) << "the file has no comment";

  catalogue::ChangePage(app, Page::Files);
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_TRUE(editor.V2().saveChanges) << "Save changes survives leaving";
}

}  // namespace
}  // namespace tonvault::tagging
