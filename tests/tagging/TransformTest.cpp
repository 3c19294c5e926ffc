#include <gtest/gtest.h>

#include "audio/Id3v2Tag.h"
#include "tagging/EditorFixture.h"
#include "tagging/transform/FieldTransforms.h"
#include "tagging/transform/TagStore.h"
#include "tagging/transform/TextTransforms.h"

namespace tonvault::tagging {
namespace {

TEST(TextTransforms, ReplaceRuleAndLimit) {
  EXPECT_FALSE(ReplaceAllowed("a", "aa")) << "the replacement would grow for ever";
  EXPECT_TRUE(ReplaceAllowed("aa", "a"));
  EXPECT_FALSE(ReplaceAllowed("", "x"));
  EXPECT_TRUE(ReplaceAllowed(" ", ""));

  const Replaced blanks = ReplaceText("A B C", " ", "");
  EXPECT_EQ(blanks.text, "ABC");
  EXPECT_EQ(blanks.count, 2);
  EXPECT_TRUE(blanks.Wanted());
  EXPECT_FALSE(ReplaceText("ABC", " ", "").Wanted());
  EXPECT_EQ(ReplaceText("x_-_y", "_", " ").text, "x - y");
  EXPECT_EQ(ReplaceText("_Title_", "_", " ").text, "Title") << "the result is trimmed";
  // "aa" → "a" shrinks a run of 'a' one step at a time: 150 of them need
  // 149 steps, more than the limit allows.
  const Replaced run = ReplaceText(std::string(150, 'a'), "aa", "a");
  EXPECT_EQ(run.count, kMaxReplacements);
  EXPECT_FALSE(run.Wanted());
  // Search text that the replacement joins with its neighbours again.
  EXPECT_EQ(ReplaceText("abb", "ab", "a").text, "a");
}

TEST(TextTransforms, CaseModesTouchAsciiLettersOnly) {
  EXPECT_EQ(ChangeCase("the  BEATLES (live)", CaseMode::EveryWord), "The Beatles (live)");
  EXPECT_EQ(ChangeCase("  a   b ", CaseMode::EveryWord), "A B");
  EXPECT_EQ(ChangeCase("hELLO wORLD", CaseMode::FirstWord), "Hello world");
  EXPECT_EQ(ChangeCase("Ä", CaseMode::Lower), "Ä");
  EXPECT_EQ(ChangeCase("äbc", CaseMode::Upper), "äBC");
  EXPECT_EQ(ChangeCase("éCOLE", CaseMode::FirstWord), "école") << "a first byte outside ASCII stays";
  EXPECT_EQ(ChangeCase("AbC 1", CaseMode::Lower), "abc 1");
  EXPECT_EQ(ChangeCase("", CaseMode::EveryWord), "");
}

TEST(TextTransforms, SplitAndJoinTurnBackIntoEachOther) {
  const auto parts = SplitTitle("Waterloo - ABBA", "-");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->first, "Waterloo");
  EXPECT_EQ(parts->second, "ABBA");
  EXPECT_EQ(JoinedTitle(parts->first, " - ", parts->second), "Waterloo - ABBA");
  EXPECT_FALSE(SplitTitle("Waterloo", "-"));
  EXPECT_FALSE(SplitTitle("Waterloo - ABBA", "")) << "an empty separator never matches";
  EXPECT_EQ(SplitTitle("A - B - C", " - ")->second, "B - C") << "only the first occurrence cuts";
}

class TransformTest : public EditorFixture {
 protected:
  std::string TitleColumn(std::size_t row) const { return app.columnMap.Get(app.files.at(row), Column::Title); }
  std::string V2Title(const std::string& name) const { return audio::ReadId3v2Tag(Path(name)).title; }
  // Opens the editor again over the rows selected now.
  void Reopen() {
    catalogue::ChangePage(app, Page::Files);
    Open();
  }
};

TEST_F(TransformTest, EntriesAreSavedOnlyWhenTheStepChangedThem) {
  AddFile("1.mp3", {.v1 = true, .title = "A B C"});
  AddFile("2.mp3", {.v1 = true, .title = "ABC"});
  Open();
  ReplaceInAll(editor, {Version::V1, Field::Title}, " ", "");
  EXPECT_EQ(audio::ReadId3v1Tag(Path("1.mp3")).title, "ABC");
  EXPECT_EQ(TitleColumn(0), "ABC") << "the saved entry's row follows";
  EXPECT_EQ(TitleColumn(1), "") << "nothing replaced: not saved, so the row was never refilled";
  EXPECT_FALSE(audio::ReadId3v2Tag(Path("1.mp3")).present) << "only version 1 is written";

  AddFile("3.mp3", {.v2 = true, .title = "hELLO wORLD"});
  AddFile("4.mp3", {.v2 = true, .title = "Hello world"});
  Reopen();
  ChangeCaseInAll(editor, {Version::V2, Field::Title}, CaseMode::FirstWord);
  EXPECT_EQ(V2Title("3.mp3"), "Hello world");
  EXPECT_EQ(TitleColumn(3), "") << "already in that case: not saved again";
  EXPECT_EQ(frontend.LastCommandState().code, 9);
  EXPECT_FALSE(editor.SaveAllRunning());
}

TEST_F(TransformTest, RefusedReplacementChangesNothing) {
  const std::string file = AddFile("1.mp3", {.v2 = true, .title = "banana"});
  Open();
  frontend.ClearLog();
  ReplaceInAll(editor, {Version::V2, Field::Title}, "a", "aa");
  ReplaceInAll(editor, {Version::V2, Field::Title}, "", "x");
  EXPECT_EQ(V2Title("1.mp3"), "banana");
  EXPECT_TRUE(frontend.Log("state").empty()) << "no run was started";
}

TEST_F(TransformTest, SplitThenJoinRoundTripWithTheRowsFollowing) {
  AddFile("1.mp3", {.v2 = true, .title = "Waterloo - ABBA", .artist = "Old"});
  AddFile("2.mp3", {.v2 = true, .title = "No separator", .artist = "Kept"});
  app.options.rename.extractSeparators = {"-", "", ""};
  app.options.rename.separator = " - ";
  Open();
  SplitTitleAndArtist(editor);
  audio::Id3v2Values tag = audio::ReadId3v2Tag(Path("1.mp3"));
  EXPECT_EQ(tag.title, "Waterloo");
  EXPECT_EQ(tag.artist, "ABBA");
  EXPECT_EQ(Artist(app.files[0]), "ABBA");
  EXPECT_EQ(audio::ReadId3v2Tag(Path("2.mp3")).artist, "Kept");
  EXPECT_EQ(TitleColumn(1), "") << "no separator: left alone";

  JoinTitleAndArtist(editor);
  tag = audio::ReadId3v2Tag(Path("1.mp3"));
  EXPECT_EQ(tag.title, "Waterloo - ABBA");
  EXPECT_EQ(tag.artist, "");
  EXPECT_EQ(V2Title("2.mp3"), "No separator - Kept") << "join saves every entry";
}

TEST_F(TransformTest, EscKeepsWhatWasSavedAndAFailedSaveEndsTheRun) {
  for (int i = 0; i < 4; ++i) AddFile(std::to_string(i) + ".mp3", {.v2 = true, .title = "LOUD"});
  Open();
  // Pump 1 starts the operation; pump n + 1 follows entry n.
  frontend.AtPump(3, [this] { app.stopRequest = true; });
  frontend.Answer(catalogue::Button::Yes);
  ChangeCaseInAll(editor, {Version::V2, Field::Title}, CaseMode::Lower);
  EXPECT_EQ(V2Title("0.mp3"), "loud");
  EXPECT_EQ(V2Title("1.mp3"), "loud");
  EXPECT_EQ(V2Title("2.mp3"), "LOUD");
  EXPECT_EQ(V2Title("3.mp3"), "LOUD");
  EXPECT_EQ(frontend.LastCommandState().code, 9);

  app.files.clear();
  AddFile("good.mp3", {.v2 = true, .title = "good", .artist = "A"});
  std::ofstream(Path("bad.mp3"), std::ios::binary) << std::string(3000, 'x');  // not MPEG audio
  AddRow("bad.mp3");
  AddFile("last.mp3", {.v2 = true, .title = "last"});
  Reopen();
  frontend.ClearLog();
  JoinTitleAndArtist(editor);
  EXPECT_EQ(frontend.Log("message(error)").size(), 1u);
  EXPECT_EQ(V2Title("good.mp3"), "good - A");
  EXPECT_EQ(V2Title("last.mp3"), "last") << "nothing after the failure";
  EXPECT_EQ(editor.EditIndex(), 1u);
  EXPECT_FALSE(editor.SaveAllRunning());
}

TEST_F(TransformTest, RamCarriesRowTextsByPositionAndRefusesAnotherCount) {
  for (int i = 0; i < 3; ++i) {
    AddRow("row" + std::to_string(i));
    app.columnMap.Set(app.files.back(), Column::Title, "Song " + std::to_string(i));
    app.columnMap.Set(app.files.back(), Column::Artist, i == 1 ? "" : "Band");
    app.columnMap.Set(app.files.back(), Column::Album, "Stored album");
    app.columnMap.Set(app.files.back(), Column::Track, std::to_string(10 + i));
  }
  TagStore store;
  SelectionToRam(app, store);
  EXPECT_EQ(frontend.Log().back(), "message(information): 3  Tags copied to RAM. [OK]");
  app.files.clear();
  for (int i = 0; i < 4; ++i) AddFile(std::to_string(i) + ".mp3", {.v2 = true, .title = "T", .artist = "Old"});
  Open();
  frontend.ClearLog();
  RamToTags(editor, store);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: exclamation",
                                "message(error): Number of Tags does not match.\n\r\r3  Tags stored in RAM,\n\r"
                                "4  Files selected. [OK]",
                                "lists changed"}));
  EXPECT_EQ(V2Title("0.mp3"), "T");

  app.files.pop_back();
  Reopen();
  editor.ClickKeep(Version::V2, Field::Album);
  editor.ClickTrackBox(Version::V2);  // clear
  RamToTags(editor, store);
  for (int i = 0; i < 3; ++i) {
    const audio::Id3v2Values tag = audio::ReadId3v2Tag(Path(std::to_string(i) + ".mp3"));
    EXPECT_EQ(tag.title, "Song " + std::to_string(i));
    EXPECT_EQ(tag.artist, i == 1 ? "Old" : "Band") << "an empty stored text changes nothing";
    EXPECT_EQ(tag.album, "Album") << "kept content";
    EXPECT_EQ(tag.track, "") << "the Track box clears";
  }
  editor.ClickTrackBox(Version::V2);  // auto number
  RamToTags(editor, store);
  EXPECT_EQ(audio::ReadId3v2Tag(Path("2.mp3")).track, "3");
  editor.ClickTrackBox(Version::V2);  // take
  RamToTags(editor, store);
  EXPECT_EQ(audio::ReadId3v2Tag(Path("2.mp3")).track, "12");

  // The editor's own entries: the catalogue texts, which now follow the files.
  frontend.ClearLog();
  TagsToRam(editor, store);
  EXPECT_EQ(store.Length(), 3u);
  EXPECT_EQ(store.Text(1, Field::Title), "Song 1");
  EXPECT_EQ(frontend.Log().back(), "message(information): 3  Tags copied to RAM. [OK]");
}

TEST_F(TransformTest, SelectionToRamTakesTheShownListAndNeedsASelection) {
  AddRow("files");
  app.results.push_back(app.files[0]);
  app.columnMap.Set(app.results[0], Column::Title, "from results");
  app.results[0].selected = false;
  catalogue::ChangePage(app, Page::Results);
  TagStore store;
  frontend.ClearLog();
  SelectionToRam(app, store);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{"beep: hand", "message(information): No lines selected. [OK]"}));
  app.results[0].selected = true;
  SelectionToRam(app, store);
  EXPECT_EQ(store.Text(0, Field::Title), "from results");
}

// The player records what it was asked to save.
class FakePlayer : public PlayerTags {
 public:
  bool StartDevice() override { return true; }
  void StopDevice() override {}
  bool SavePlayerTags(const EditEntry& entry, VersionState& values) override {
    saved.push_back(std::to_string(entry.row) + ":" + values.Value(Field::Title));
    return saved.size() < failAfter;
  }
  std::vector<std::string> saved;
  std::size_t failAfter = 100;
};

TEST_F(TransformTest, PlayerTagModeSavesThroughThePlayerAndOnlyVersion2) {
  FakePlayer player;
  editor.SetPlayerTags(&player);
  for (const char* title : {"one", "two", "three"}) {
    catalogue::TrackRecord track = catalogue::TrackRecord::ForPlayer();
    track.selected = true;
    app.columnMap.Set(track, Column::Path, "--- NJB ---");
    app.columnMap.Set(track, Column::Title, title);
    app.files.push_back(track);
  }
  Open();
  ASSERT_TRUE(editor.PlayerTagMode());
  ChangeCaseInAll(editor, {Version::V1, Field::Title}, CaseMode::Upper);
  EXPECT_TRUE(player.saved.empty()) << "player tracks have no version 1";
  player.failAfter = 2;
  ChangeCaseInAll(editor, {Version::V2, Field::Title}, CaseMode::Upper);
  EXPECT_EQ(player.saved, (std::vector<std::string>{"0:ONE", "1:TWO"})) << "a refused save ends the run";
  EXPECT_EQ(frontend.LastCommandState().code, 10);
}

}  // namespace
}  // namespace tonvault::tagging
