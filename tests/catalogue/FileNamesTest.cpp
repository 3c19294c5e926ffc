#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "audio/Id3v2Tag.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/DatabaseFormat.h"
#include "catalogue/DiskOperations.h"
#include "catalogue/Import.h"
#include "catalogue/NameEscape.h"
#include "catalogue/TagWriting.h"
#include "files/FileTestSupport.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

// File names are bytes. Every command must act on exactly the file a row
// names, however odd the name, and never on a look-alike.
namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedFrontend;

using files::test::Contents;

TEST(NameEscape, OddBytesRoundTripAndOrdinaryNamesStayAsTheyAre) {
  for (const std::string& name : {std::string("plain name.mp3"), std::string("Björk – Jóga.mp3"),
                                 std::string("new\nline.mp3"), std::string("car\rret.mp3"), std::string("\tlead.mp3 "),
                                 std::string("bad\xFF\xFE.mp3"), std::string("cut\xC3"), std::string("\xED\xA0\x80"),
                                 std::string("private \xEF\x9C\x8A use.mp3"), std::string("nul\0byte", 8)}) {
    const std::string stored = EscapeName(name);
    EXPECT_EQ(UnescapeName(stored), name);
    EXPECT_EQ(stored.find('\n'), std::string::npos);
    EXPECT_EQ(stored.find('\r'), std::string::npos);
    EXPECT_EQ(DecodeDatabaseText(stored), stored) << "the stored form is valid UTF-8";
  }
  EXPECT_EQ(EscapeName("Björk – Jóga.mp3"), "Björk – Jóga.mp3");
  EXPECT_EQ(EscapeName("\tlead.mp3 "), "\tlead.mp3 ") << "tabs and blanks need no escape";
  EXPECT_EQ(UnescapeName("Caf\xC3\xA9.mp3"), "Café.mp3") << "a legacy name reads as before";
}

class FileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const testing::Bytes frames = testing::Frames({}, 3);
    audio_ = std::string(frames.begin(), frames.end());
    for (const std::string& name : kOdd) Make(name);
    for (const std::string& name : kDecoys) Make(name);
  }
  void Make(const std::string& relative) {
    const fs::path path = fs::path(folder.Path()) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << audio_;
  }
  std::string Path(const std::string& relative) const { return folder.Path() + "/" + relative; }
  static std::string FileOf(const Application& app, const TrackRecord& row) {
    return FileOfRow(row, app.columnMap);
  }
  std::set<std::string> FilesOf(const Application& app) const {
    std::set<std::string> files;
    for (const TrackRecord& row : app.files) files.insert(FileOf(app, row));
    return files;
  }

  const std::vector<std::string> kOdd = {"song.mp3 ", "\tlead.mp3", "new\nline.mp3", "car\rret.mp3",
                                         "bad\xFF.mp3", "fold\ner/x.mp3"};
  // What a trimming or tidying step would turn the odd names into.
  const std::vector<std::string> kDecoys = {"song.mp3", "lead.mp3", "newline.mp3", "car - ret.mp3", "folder/x.mp3"};
  testing::TempFolder folder;
  std::string audio_;
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(FileNamesTest, ImportCatalogueLoadTagAndDeleteActOnTheExactFile) {
  ImportDropped(app, {folder.Path()});
  ASSERT_EQ(app.files.size(), kOdd.size() + kDecoys.size());
  std::set<std::string> expected;
  for (const std::string& name : kOdd) expected.insert(Path(name));
  for (const std::string& name : kDecoys) expected.insert(Path(name));
  EXPECT_EQ(FilesOf(app), expected);

  const std::string catalogue = folder.Path() + "/names.tvd";
  ASSERT_TRUE(WriteDatabase(app, catalogue, app.files));
  const std::string text = Contents(catalogue);
  EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')),
            1 + kLinesPerRecord * app.files.size())
      << "no name breaks a line";

  ScriptedFrontend loadedFrontend;
  Application loaded{loadedFrontend};
  ASSERT_TRUE(ReadDatabase(loaded, catalogue, false));
  EXPECT_EQ(FilesOf(loaded), expected) << "every name comes back byte for byte";

  // Tag and then delete the odd files through their loaded rows.
  audio::Id3v2TagFields fields;
  fields.title = "Changed";
  for (TrackRecord& row : loaded.files) {
    const std::string file = FileOf(loaded, row);
    row.selected = std::any_of(kOdd.begin(), kOdd.end(), [&](const std::string& n) { return Path(n) == file; });
    if (row.selected) {
      ASSERT_TRUE(WriteId3v2(loaded, file, fields, false)) << file;
    }
  }
  for (const std::string& name : kOdd) EXPECT_EQ(audio::ReadId3v2Tag(Path(name)).title, "Changed") << name;
  for (const std::string& name : kDecoys) EXPECT_EQ(Contents(Path(name)), audio_) << name << " must not change";

  loadedFrontend.Answer(Button::Yes);
  loadedFrontend.Answer(Button::Yes);
  DeleteFiles(loaded);
  for (const std::string& name : kOdd) EXPECT_FALSE(fs::exists(fs::symlink_status(Path(name)))) << name;
  for (const std::string& name : kDecoys) EXPECT_TRUE(fs::exists(Path(name))) << name << " must survive";
  EXPECT_EQ(loaded.files.size(), kDecoys.size());
}

TEST_F(FileNamesTest, ARowWhoseExactFileIsGoneIsNotFoundEvenWhenALookAlikeExists) {
  TrackRecord row;
  app.columnMap.Set(row, Column::Path, folder.Path() + "/");
  app.columnMap.Set(row, Column::Filename, " song.mp3");  // only "song.mp3" exists
  row.selected = true;
  app.files.push_back(row);
  frontend.Answer(Button::Yes);
  frontend.Answer(Button::Yes);
  frontend.Answer(Button::Yes);  // "... Not found !  Procede with next file(s) ?"
  DeleteFiles(app);
  EXPECT_TRUE(fs::exists(Path("song.mp3")));
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_NE(frontend.Log("message").back().find(folder.Path() + "/ song.mp3\n\r\rNot found !"), std::string::npos)
      << frontend.Log("message").back();
}

}  // namespace
}  // namespace tonvault::catalogue
