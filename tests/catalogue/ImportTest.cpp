#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "audio/Id3v1.h"
#include "catalogue/FillRow.h"
#include "catalogue/Import.h"
#include "catalogue/DatabaseCommands.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::ScriptedFrontend;

std::string DataFile(const std::string& name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

void WriteBytes(const std::string& path, const Bytes& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

std::string NumberedName(const char* prefix, int number) {
  std::string name(prefix);
  name += std::to_string(number);
  name += ".mp3";
  return name;
}

class ImportTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return folder.Path() + "/" + relative; }
  void Touch(const std::string& relative) { WriteBytes(Path(relative), testing::Frames({}, 3)); }
  void Copy(const std::string& data, const std::string& relative) {
    fs::create_directories(fs::path(Path(relative)).parent_path());
    fs::copy_file(DataFile(data), Path(relative));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& row : app.files) names.push_back(app.columnMap.Get(row, Column::Filename));
    return names;
  }
  std::string_view Cell(std::size_t row, Column column) const { return app.columnMap.Get(app.files.at(row), column); }

  testing::TempFolder folder;
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(ImportTest, NoToAppendThenCancelLeavesFilesEmpty) {
  app.files.resize(2);
  frontend.Answer(Button::No);
  frontend.ChooseFolderAnswer(std::nullopt);
  ImportFolder(app, false);
  EXPECT_TRUE(app.files.empty());
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{
                "message(confirmation): Files list is not empty.\n\r\rAppend to list ? [Yes/No/Cancel] -> No"}));
  EXPECT_EQ(frontend.Log("folder dialog"),
            (std::vector<std::string>{"folder dialog: Select Folder with Audio files: @ -> (cancel)"}));
  EXPECT_EQ(app.currentPage, Page::Files);
}

TEST_F(ImportTest, CancelToAppendChangesNothing) {
  app.files.resize(2);
  frontend.Answer(Button::Cancel);
  ImportFolder(app, true);
  EXPECT_EQ(app.files.size(), 2u);
  EXPECT_TRUE(frontend.Log("folder dialog").empty());
  EXPECT_FALSE(app.catalogueModified);
}

TEST_F(ImportTest, ExtensionsContainTheTypeAndDotNamesAreSkipped) {
  for (const char* name : {"a.MP3", "a.mp3.bak", "b.mp3x", ".hidden.mp3", ".music/c.mp3", "sub/d.mp3", "e.wav"}) {
    Touch(name);
  }
  frontend.ChooseFolderAnswer(folder.Path());
  ImportFolder(app, false);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.MP3", "b.mp3x"}));
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_EQ(app.importFolder, folder.Path() + "/");
  EXPECT_EQ(frontend.Log("folder dialog").back(),
            "folder dialog: Select Folder with Audio files: @ -> " + folder.Path());

  app.files.clear();
  app.options.import.wav = true;
  frontend.ChooseFolderAnswer(folder.Path() + "/");
  ImportFolder(app, true);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.MP3", "b.mp3x", "e.wav", "d.mp3"}))
      << "sorted by whole path, letter case ignored";
  EXPECT_EQ(frontend.Log("folder dialog").back(),
            "folder dialog: Select Folder with Audio files\n\r(including Subfolders): @" + folder.Path() + " -> " +
                folder.Path() + "/");
}

TEST_F(ImportTest, RememberedFolderIsCutBackToOneThatExists) {
  app.importFolder = folder.Path() + "/gone/deeper/";
  frontend.ChooseFolderAnswer(std::nullopt);
  ImportFolder(app, false);
  EXPECT_EQ(frontend.Log("folder dialog").back(), "folder dialog: Select Folder with Audio files: @" + folder.Path() +
                                                      " -> (cancel)");
  app.options.import.rememberImportPath = false;
  frontend.ChooseFolderAnswer(std::nullopt);
  ImportFolder(app, false);
  EXPECT_EQ(frontend.Log("folder dialog").back(), "folder dialog: Select Folder with Audio files: @ -> (cancel)");
}

TEST_F(ImportTest, EmptyFolderOnlyBeepsButCountsAsAChange) {
  frontend.ChooseFolderAnswer(folder.Path());
  ImportFolder(app, true);
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"}));
  EXPECT_TRUE(app.catalogueModified);
  EXPECT_TRUE(app.files.empty());
}

TEST_F(ImportTest, OneDroppedCatalogueOpensItTwoAreImportedAsFiles) {
  Touch("x.TVD");
  Touch("y.mp3");
  ImportDropped(app, {Path("x.TVD")});
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{"message(error): " + WrongFileversionText(Path("x.TVD")) + " [OK]"}))
      << "opened as a catalogue, which it is not";
  EXPECT_TRUE(app.files.empty());
  frontend.ClearLog();
  ImportDropped(app, {Path("x.TVD"), Path("y.mp3")});
  EXPECT_EQ(Names(), (std::vector<std::string>{"y.mp3"}));
  Touch("folder/z.mp3");
  ImportDropped(app, {Path("folder/"), Path("missing.mp3")});
  EXPECT_EQ(Names(), (std::vector<std::string>{"y.mp3", "z.mp3"})) << "dropped files are always appended";
  EXPECT_TRUE(frontend.Log("message").empty()) << "no append question for a drop";
}

TEST_F(ImportTest, QuickReadFailureWithoutTagReaderShowsSizeZero) {
  WriteBytes(Path("junk.mp3"), testing::Junk(5000));
  app.options.import.readId3v1 = false;
  app.options.mp3.scanForVbr = false;
  ImportDropped(app, {Path("junk.mp3")});
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(Cell(0, Column::Size), "0");
  EXPECT_EQ(Cell(0, Column::Bitrate), kCorruptText);
  EXPECT_EQ(Cell(0, Column::Codec), kCorruptText);
  EXPECT_EQ(Cell(0, Column::Length), "00:00:00");
  EXPECT_EQ(app.files[0].icon, StatusIcon::Corrupt);
}

TEST_F(ImportTest, EmptyId3v2TitleKeepsTheId3v1Title) {
  Bytes file = testing::Id3v2Builder().Text("TIT2", " ").Text("TALB", "V2 Album").Build();
  testing::Append(file, testing::Frames({}, 100));
  audio::Id3v1Fields v1;
  v1.title = "Song";
  v1.album = "V1 Album";
  const std::string tag = audio::EncodeId3v1Tag(v1);
  file.insert(file.end(), tag.begin(), tag.end());
  WriteBytes(Path("both.mp3"), file);
  ImportDropped(app, {Path("both.mp3")});
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(Cell(0, Column::Title), "Song");
  EXPECT_EQ(Cell(0, Column::Album), "V2 Album");
  EXPECT_EQ(app.files[0].icon, StatusIcon::Id3v1AndV2);
}

TEST_F(ImportTest, ConstantBitrateKeepsTheQuickReadLength) {
  WriteBytes(Path("cbr.mp3"), testing::Frames({1, 3, 128, 44100, 0, 1}, 200));
  ImportDropped(app, {Path("cbr.mp3")});
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(Cell(0, Column::Bitrate), "128 C");
  EXPECT_EQ(Cell(0, Column::Length), "00:00:05") << "83400 bytes at 128 kbit/s";
  EXPECT_EQ(Cell(0, Column::Size), "81");
  EXPECT_EQ(Cell(0, Column::Mode), "J. Stereo");
}

TEST_F(ImportTest, MinuteLongStreamsShowTheLengthFormulasToTheSecond) {
  // 2400 frames of 417 bytes at 128 kbit/s: 1,000,800 / (128 × 125) = 62.55 s.
  WriteBytes(Path("long.mp3"), testing::Frames({1, 3, 128, 44100, 0, 1}, 2400));
  // A 64 kbit/s WMA of 496,683 bytes: 496,683 / ((64 + 0.82) × 125) = 61.3 s.
  Copy("stereo-64k-22050.wma", "long.wma");
  fs::resize_file(Path("long.wma"), 496683);
  app.options.import.wma = true;
  ImportDropped(app, {Path("long.mp3"), Path("long.wma")});
  ASSERT_EQ(app.files.size(), 2u);
  EXPECT_EQ(Cell(0, Column::Bitrate), "128 C");
  EXPECT_EQ(Cell(0, Column::Length), "00:01:02") << "a divisor of 128 would give 00:01:01";
  EXPECT_EQ(Cell(1, Column::Bitrate), "64");
  EXPECT_EQ(Cell(1, Column::Length), "00:01:01") << "without the 0.82 it would be 00:01:02";
}

TEST_F(ImportTest, CorruptStreamFromTheScanBeeps) {
  Bytes file = testing::Frames({}, 30);
  testing::Append(file, testing::Junk(100));
  testing::Append(file, testing::Frames({}, 60));
  WriteBytes(Path("damaged.mp3"), file);
  ImportDropped(app, {Path("damaged.mp3")});
  ASSERT_EQ(app.files.size(), 1u);
  EXPECT_EQ(app.files[0].icon, StatusIcon::Corrupt);
  EXPECT_EQ(Cell(0, Column::Bitrate), kCorruptText);
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"}));
  app.options.mp3.errorsTolerated = 2;
  ImportDropped(app, {Path("damaged.mp3")});
  EXPECT_EQ(Cell(1, Column::Bitrate), "128 C");
}

// A FIFO would block the import forever in open(); a device link would be
// read as endless audio; neither they nor dead links are music.
TEST_F(ImportTest, SpecialFilesAndDeadLinksAreSkippedAndReportedNotRead) {
  for (int i = 0; i < 3; ++i) Touch(NumberedName("f", i));
  ASSERT_EQ(::mkfifo(Path("f1b.mp3").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", Path("f1c.mp3"));
  fs::create_symlink(Path("nowhere"), Path("f2b.mp3"));
  fs::create_symlink(Path("loop.mp3"), Path("loop.mp3"));
  frontend.Answer(Button::Ok);
  ImportDropped(app, {folder.Path()});
  EXPECT_EQ(Names(), (std::vector<std::string>{"f0.mp3", "f1.mp3", "f2.mp3"}));
  ASSERT_EQ(app.notRead.size(), 4u);
  const auto messages = frontend.Log("message");
  ASSERT_EQ(messages.size(), 1u) << "no Read Error question, one report at the end";
  EXPECT_EQ(messages[0].rfind("message(warning): 4 files could not be read and were not imported:\n\r\r", 0), 0u)
      << messages[0];
  EXPECT_NE(messages[0].find(Path("f1b.mp3") + "\n\r(Not a regular file)"), std::string::npos);
  EXPECT_NE(messages[0].find(Path("f2b.mp3") + "\n\r(No such file)"), std::string::npos);
  EXPECT_EQ(frontend.Log("beep").back(), "beep: exclamation");
}

TEST_F(ImportTest, AFileThatVanishesOrCannotBeOpenedGetsNoRowAndIsCounted) {
  Touch("a.mp3");
  Touch("b.mp3");
  std::vector<std::string> candidates{Path("a.mp3"), Path("b.mp3"), Path("gone.mp3")};
  BuildRows(app, candidates);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
  ASSERT_EQ(app.notRead.size(), 1u);
  EXPECT_EQ(app.notRead[0].path, Path("gone.mp3"));
  EXPECT_TRUE(frontend.Log("message").empty()) << "no corrupt row, no Read Error question";
  EXPECT_EQ(NotReadText(std::vector<NotReadFile>(12, {"/m/x.mp3", "Permission denied"})).substr(0, 48),
            "12 files could not be read and were not imported");
  EXPECT_NE(NotReadText(std::vector<NotReadFile>(12, {"/m/x.mp3", "Permission denied"})).find("... and 2 more"),
            std::string::npos);
}

// The next files are opened while one is read: each row must still be
// filled from its own file, and a file that could not be opened ahead is
// reported in its place, early in the list or late.
TEST_F(ImportTest, FilesOpenedAheadFillTheirOwnRowsInOrder) {
  std::vector<std::string> candidates, expected;
  for (int i = 0; i < 14; ++i) {
    const std::string name = NumberedName("t", 10 + i);
    candidates.push_back(Path(name));
    if (i == 1 || i == 11) continue;  // never written: cannot be opened
    expected.push_back(name);
    Bytes bytes = testing::Frames({}, 3 + i);
    Bytes tag(128, 0);
    const std::string title = "Title " + std::to_string(i);
    std::copy_n("TAG", 3, tag.begin());
    std::copy(title.begin(), title.end(), tag.begin() + 3);
    tag[127] = 255;
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    WriteBytes(Path(name), bytes);
  }
  BuildRows(app, candidates);
  EXPECT_EQ(Names(), expected);
  for (std::size_t row = 0; row < app.files.size(); ++row) {
    const int number = std::stoi(expected[row].substr(1)) - 10;
    EXPECT_EQ(Cell(row, Column::Title), "Title " + std::to_string(number)) << expected[row];
  }
  ASSERT_EQ(app.notRead.size(), 2u);
  EXPECT_EQ(app.notRead[0].path, Path("t11.mp3"));
  EXPECT_EQ(app.notRead[1].path, Path("t21.mp3"));
}

TEST_F(ImportTest, EscDuringTheImportStopsAfterConfirmationAndKeepsTheRows) {
  for (int i = 0; i < 25; ++i) Touch(NumberedName("s", 100 + i));
  frontend.AtPump(3, [&] { StopCommand(app); });  // the pump after the 10th file
  frontend.Answer(Button::Yes);
  ImportDropped(app, {folder.Path()});
  EXPECT_EQ(app.files.size(), 10u);
  EXPECT_EQ(frontend.Log("panel0: Files:  "), (std::vector<std::string>{"panel0: Files:  10"}));
  EXPECT_EQ(app.commandStateCode, 1);
  EXPECT_EQ(frontend.ProgressHigh(), 0);
}

// Real encoder-made files, every column of every row.
TEST_F(ImportTest, RealFilesFillEveryColumn) {
  for (const char* name : {"cbr-32k-32000-mono.mp3", "id3lib-v23.mp3", "mutagen-v23-utf16.mp3",
                           "vbr-xing-32000-mono.mp3", "stereo-64k-22050.wma", "stereo-44100-16bit.wav"}) {
    Copy(name, std::string("music/") + name);
  }
  app.options.import.wma = app.options.import.wav = true;
  frontend.ChooseFolderAnswer(Path("music"));
  ImportFolder(app, false);
  const std::string folderText = Path("music") + "/";
  // Album, Artist, Title, Genre, Track, Year, Comment, Size, Bitrate, Freq., Mode, Length, Codec, Filename.
  const std::vector<std::vector<std::string>> expected = {
      {"", "", "", "", "", "", "", "12", "32 C", "32000", "Mono", "00:00:03", "M1  L3", "cbr-32k-32000-mono.mp3"},
      {"Gold", "ABBA", "Waterloo", "Pop", "3/12", "1974", "first single", "4", "32 C", "32000", "Mono", "00:00:00",
       "M1  L3", "id3lib-v23.mp3"},
      {"Album", "Ünlü Band", "東京 Tower", "Rock & Roll", "7/9", "2001", "first + desc\xC2\xB7second", "2", "32 C",
       "32000", "Mono", "00:00:00", "M1  L3", "mutagen-v23-utf16.mp3"},
      {"", "", "", "", "", "", "", "9", "1378", "44100", "Stereo", "00:00:00", "WAV", "stereo-44100-16bit.wav"},
      {"Gold", "ABBA", "Waterloo", "Pop", "3", "1974", "", "16", "64", "22050", "Stereo", "00:00:02", "WMA V8",
       "stereo-64k-22050.wma"},
      {"", "", "", "", "", "", "", "14", "36 V", "32000", "Mono", "00:00:03", "M1  L3", "vbr-xing-32000-mono.mp3"},
  };
  const std::vector<int> icons = {7, 10, 9, 29, 21, 7};
  ASSERT_EQ(app.files.size(), expected.size());
  for (std::size_t r = 0; r < expected.size(); ++r) {
    for (int c = 0; c < 14; ++c) EXPECT_EQ(Cell(r, static_cast<Column>(c)), expected[r][static_cast<std::size_t>(c)]) << r << "," << c;
    EXPECT_EQ(Cell(r, Column::Path), folderText);
    EXPECT_EQ(app.files[r].icon, icons[r]) << r;
    EXPECT_EQ(app.files[r].texts[kTrackIdSlot], "") << "files on disk have no track key";
  }
}

TEST(FillRow, RefreshKeepsColumnsNoStepWrites) {
  ScriptedFrontend frontend;
  Application app(frontend);
  VolumeLabels labels({{"/", "/dev/sda1"}}, {{"/dev/sda1", "MUSIC"}});
  audio::SilentScanHost host;
  FillContext context{app.columnMap, app.options, labels, host};
  TrackRecord row;
  app.columnMap.Set(row, Column::Genre, "Old genre");
  app.columnMap.Set(row, Column::Title, "Old title");
  FillRow(row, DataFile("stereo-44100-16bit.wav"), context);
  EXPECT_EQ(app.columnMap.Get(row, Column::Genre), "Old genre") << "the WAV reader has no genre";
  EXPECT_EQ(app.columnMap.Get(row, Column::Title), "Old title");
  EXPECT_EQ(app.columnMap.Get(row, Column::Label), "MUSIC");
  FillRow(row, DataFile("cbr-32k-32000-mono.mp3"), context);
  EXPECT_EQ(app.columnMap.Get(row, Column::Genre), "") << "no ID3v1 tag empties the tag columns";
}

TEST(VolumeLabels, LongestMountPointWinsAndEscapesAreDecoded) {
  VolumeLabels labels({{"/", "/dev/sda1"}, {"/media/usb stick", "/dev/sdb1"}, {"/media/usb", "/dev/sdc1"}},
                      {{"/dev/sdb1", "My Music"}, {"/dev/sda1", "root"}});
  EXPECT_EQ(labels.LabelOf("/media/usb stick/a.mp3"), "My Music");
  EXPECT_EQ(labels.LabelOf("/media/usb/a.mp3"), "") << "no label";
  EXPECT_EQ(labels.LabelOf("/media/usbx/a.mp3"), "root") << "a mount point is a whole path component";
  EXPECT_EQ(labels.MountPointOf("/home/a.mp3"), "/");
  EXPECT_EQ(UnescapeMountText("My\\x20Music"), "My Music");
  EXPECT_EQ(UnescapeMountText("/media/usb\\040stick"), "/media/usb stick");
}

}  // namespace
}  // namespace tonvault::catalogue
