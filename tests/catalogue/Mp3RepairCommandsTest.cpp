#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/ColumnMap.h"
#include "catalogue/PageChange.h"
#include "catalogue/repair/AnalysisPage.h"
#include "catalogue/repair/BatchAnalysis.h"
#include "catalogue/repair/ManualFix.h"
#include "catalogue/repair/RepairFile.h"
#include "support/FileContents.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

using testing::Append;
using testing::Bytes;
using testing::Contents;
using testing::FrameShape;
using testing::Frames;
using testing::Id3v1Tag;
using testing::Junk;
using testing::ScriptedFrontend;

const FrameShape kStereo128{1, 3, 128, 44100, 0, 0};
const FrameShape kStereo128At48k{1, 3, 128, 48000, 0, 0};

// A tag, 20 bytes of zeros, 60 frames, 50 bytes of junk and an ID3v1 tag.
Bytes SpacedFile() {
  Bytes bytes = testing::Id3v2Tag(1000);
  Append(bytes, Bytes(20, 0));
  Append(bytes, Frames(kStereo128, 60));
  Append(bytes, Junk(50));
  Append(bytes, Id3v1Tag());
  return bytes;
}

class Mp3RepairCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.options.analyze = {true, false, true, false, true, true, true, false, true, false};
    ChangePage(app, Page::Files);
  }
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  std::string AddFile(const std::string& name, const Bytes& bytes) {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    TrackRecord row;
    app.columnMap.Set(row, Column::Path, folder.Path() + "/");
    app.columnMap.Set(row, Column::Filename, name);
    app.files.push_back(row);
    return Path(name);
  }
  void Analyze(std::size_t row = 0) { AnalyzeRow(app, page, ListId::Files, row, Page::Files); }
  std::vector<std::string> Messages() const { return frontend.Log("message"); }

  testing::TempFolder folder;
  ScriptedFrontend frontend;
  Application app{frontend};
  AnalysisPage page;
};

TEST_F(Mp3RepairCommandsTest, PageShowsTagsSpacesAndOffersOnlyTheSpacesThatExist) {
  AddFile("a.mp3", SpacedFile());
  Analyze();
  EXPECT_EQ(app.currentPage, Page::Mp3);
  EXPECT_EQ(page.id3v1Text, "Version  1.0");
  EXPECT_EQ(page.id3v2LengthText, "Length:  1000  bytes");
  EXPECT_EQ(page.id3v2VersionText, "Version:  2.3.0");
  EXPECT_EQ(page.firstFrameText, "1020");
  EXPECT_EQ(page.badFramesText, "0  BAD frames");
  EXPECT_TRUE(page.spaceBefore.enabled);
  EXPECT_EQ(page.spaceBefore.label, "valid frame  (20 Bytes)");
  EXPECT_EQ(page.spaceAfter.label, "valid frame  (50 Bytes)");
  EXPECT_EQ(page.endSpaceText, "Space after last frame: 50 Bytes");
  EXPECT_FALSE(page.frames.enabled);
  EXPECT_FALSE(page.FixEnabled());

  page.CheckGroup(0, true);
  EXPECT_TRUE(page.frames.enabled);
  page.frames.checked = true;
  page.CheckGroup(0, false);
  EXPECT_FALSE(page.frames.enabled);
  EXPECT_FALSE(page.frames.checked) << "unchecking the last row unchecks the option";

  AddFile("clean.mp3", Frames(kStereo128, 30));
  Analyze(1);
  EXPECT_EQ(page.id3v2LengthText, "none");
  EXPECT_EQ(page.id3v1Text, "none");
  EXPECT_FALSE(page.spaceBefore.enabled);
  EXPECT_FALSE(page.spaceAfter.enabled);
  EXPECT_EQ(page.spaceBefore.label, "valid frame");

  std::filesystem::remove(Path("clean.mp3"));
  Analyze(1);
  EXPECT_EQ(Messages().back(), "message(error): File not found ! [OK]");
  EXPECT_FALSE(page.analysed);
}

TEST_F(Mp3RepairCommandsTest, ManualFixAsksWhatTheChoicesCall) {
  const std::string path = AddFile("a.mp3", SpacedFile());
  const std::string original = Contents(path);
  Analyze();
  EXPECT_FALSE(FixMp3(app, page));
  EXPECT_EQ(Messages().back(), "message(information): Nothing selected to fix [OK]");

  // A row of 60 frames to delete: asked first, No keeps everything.
  page.CheckGroup(0, true);
  page.frames.checked = true;
  frontend.Answer(Button::No);
  EXPECT_FALSE(FixMp3(app, page));
  EXPECT_EQ(Messages().back(),
            "message(confirmation): You have selected 60 frames to delete.\n\r\rDo you really want to proceed ? "
            "[Yes/No] -> No");
  EXPECT_EQ(Contents(path), original);

  // An existing backup is never overwritten; proceeding without one fixes.
  std::ofstream(Path("a.bak")) << "older backup";
  page.CheckGroup(0, false);
  page.spaceBefore.checked = true;
  frontend.Answer(Button::No);
  EXPECT_FALSE(FixMp3(app, page));
  EXPECT_EQ(Messages().back(), "message(confirmation): Cannot create backup copy\n\r" + Path("a.bak") +
                                   "\n\r\rProceed ? [Yes/No] -> No");
  EXPECT_EQ(Contents(path), original);
  frontend.Answer(Button::Yes);
  EXPECT_TRUE(FixMp3(app, page));
  EXPECT_EQ(Contents(Path("a.bak")), "older backup");
  EXPECT_EQ(Contents(path), original.substr(0, 1000) + original.substr(1020));
  EXPECT_FALSE(page.spaceBefore.enabled) << "the page shows the repaired file";
  EXPECT_TRUE(page.spaceAfter.enabled);
  EXPECT_TRUE(app.catalogueModified);
}

TEST_F(Mp3RepairCommandsTest, ManualFixKeepsACompleteBackupAndReportsAFailureAsNoChange) {
  const std::string path = AddFile("a.mp3", SpacedFile());
  const std::string original = Contents(path);
  Analyze();
  page.spaceAfter.checked = true;
  ASSERT_TRUE(FixMp3(app, page));
  EXPECT_EQ(Contents(Path("a.bak")), original);
  EXPECT_EQ(Contents(path).size(), original.size() - 50);

  // The file changes behind the page's back: the fix refuses it.
  const std::string repaired = Contents(path);
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
  page.spaceBefore.checked = true;
  page.keepCopy = false;
  EXPECT_FALSE(FixMp3(app, page));
  EXPECT_EQ(Messages().back(), "message(error): The file changed after it was analyzed:\n\r\r" + path +
                                   "\n\r\rPlease analyze it again.\n\r\rThe file was not changed. [OK]");
  EXPECT_EQ(Contents(path), repaired);
}

TEST_F(Mp3RepairCommandsTest, CheckingTheBadRowRemovesTheBadPlaces) {
  Bytes bytes = Frames(kStereo128, 20);
  Append(bytes, Junk(100));
  Append(bytes, Frames(kStereo128, 20));
  const std::string path = AddFile("a.mp3", bytes);
  Analyze();
  ASSERT_EQ(page.badFramesText, "1  BAD frames");
  const auto& groups = page.analysis.frames.Groups();
  ASSERT_EQ(groups.size(), 2u);
  page.CheckGroup(1, true);
  page.frames.checked = true;
  page.keepCopy = false;
  ASSERT_TRUE(FixMp3(app, page));
  EXPECT_EQ(Contents(path).size(), bytes.size() - 100);
  EXPECT_EQ(page.badFramesText, "0  BAD frames");
}

TEST_F(Mp3RepairCommandsTest, BatchFindsProblemsByTheSettingsAndReports) {
  AddFile("clean.mp3", Frames(kStereo128, 30));
  Bytes twoRates = Frames(kStereo128, 30);
  Append(twoRates, Frames(kStereo128At48k, 30));
  AddFile("rates.mp3", twoRates);
  AddFile("gone.mp3", Frames(kStereo128, 30));
  std::filesystem::remove(Path("gone.mp3"));
  AddFile("notes.txt", Junk(100));

  ASSERT_TRUE(BatchAnalyze(app).has_value());
  ASSERT_EQ(app.results.size(), 1u);
  EXPECT_EQ(app.columnMap.Get(app.results[0], Column::Filename), "rates.mp3");
  EXPECT_TRUE(app.files[1].selected);
  EXPECT_FALSE(app.files[0].selected);
  EXPECT_EQ(app.currentPage, Page::Results);
  EXPECT_EQ(frontend.Log("panel0: Found").back(), "panel0: Found:  1");
  EXPECT_EQ(Messages().back(),
            "message(information): 2  MP3s analyzed.\n\r\rResult:\n\r1\tMP3s OK,\n\r1\tMP3s with problems,\n\r"
            "1\tMP3s not found,\n\r0\tMP3s fixed.\n\r\rResults depend on settings ! [OK]");

  app.options.analyze.frequencyChange = false;
  ASSERT_TRUE(BatchAnalyze(app).has_value());
  EXPECT_TRUE(app.results.empty());
  EXPECT_EQ(app.currentPage, Page::Files);

  // An auto fix never touches a change of sample rate.
  app.options.analyze.frequencyChange = true;
  app.options.analyze.beginAutoFix = app.options.analyze.endAutoFix = true;
  frontend.Answer(Button::Yes);
  const auto counts = BatchAnalyze(app);
  EXPECT_EQ(counts->fixed, 0u);
  EXPECT_EQ(app.results.size(), 1u);
  EXPECT_EQ(Contents(Path("rates.mp3")).size(), twoRates.size());
}

TEST_F(Mp3RepairCommandsTest, EscStopsTheBatchAfterTheCurrentFileAndStillReports) {
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) AddFile(name, SpacedFile());
  frontend.AtPump(2, [&] { StopCommand(app); });  // the pump after the first file
  frontend.Answer(Button::Yes);                   // "Do you really want to STOP ?"
  const auto counts = BatchAnalyze(app);
  EXPECT_EQ(counts->analysed, 1u);
  EXPECT_EQ(app.results.size(), 1u);
  EXPECT_EQ(Messages().back().rfind("message(information): 1  MP3s analyzed.", 0), 0u);
  EXPECT_EQ(app.commandStateCode, 6) << "the busy state ends on Results";
}

TEST_F(Mp3RepairCommandsTest, OnlyTheEnabledAutoFixIsMadeAndTheFileStaysAProblem) {
  const std::string path = AddFile("a.mp3", SpacedFile());
  const std::string original = Contents(path);
  std::ofstream(Path("a.bak")) << "older backup";
  app.options.analyze.beginAutoFix = true;
  frontend.Answer(Button::Yes);
  const auto counts = BatchAnalyze(app);
  EXPECT_EQ(Messages().front(),
            "message(confirmation): Automatic deletion of space at\n\rbegin and/or end of file is enabled.\n\r\r"
            "Proceed ?\n\r\r(No = Analysis without automatic fix) [Yes/No/Cancel] -> Yes");
  EXPECT_EQ(counts->fixed, 1u);
  EXPECT_EQ(counts->problems, 1u) << "the space at the end stays";
  EXPECT_EQ(Contents(path), original.substr(0, 1000) + original.substr(1020));
  EXPECT_EQ(Contents(Path("a.bak")), "older backup") << "the batch goes ahead without a new copy";
  EXPECT_EQ(app.columnMap.Get(app.results[0], Column::Size), app.columnMap.Get(app.files[0], Column::Size));

  // No: analysis without automatic fix, and both auto fixes are off.
  frontend.Answer(Button::No);
  ASSERT_TRUE(BatchAnalyze(app).has_value());
  EXPECT_FALSE(app.options.analyze.beginAutoFix);
  // Cancel does nothing.
  app.options.analyze.endAutoFix = true;
  frontend.Answer(Button::Cancel);
  EXPECT_FALSE(BatchAnalyze(app).has_value());
  EXPECT_EQ(Contents(path).size(), original.size() - 20);
}

TEST_F(Mp3RepairCommandsTest, ProblemTestsFollowTheirOrderAndExceptions) {
  audio::Mp3Analysis analysis;
  auto& sink = analysis.frames;
  const auto frame = [&sink](int version, int layer, int rate, std::string_view mode) {
    sink.Frame({version, layer, 128, rate, mode, 417, 0});
  };
  AnalyzeOptions options{true, false, true, false, true, true, true, true, true, false};
  // A single first frame of another mode (an encoder's header frame) is no mode change.
  frame(1, 3, 44100, "Mono");
  frame(1, 3, 44100, "Stereo");
  frame(1, 3, 44100, "Stereo");
  EXPECT_FALSE(TestProblems(analysis, options).HasProblem());
  frame(1, 3, 44100, "J. Stereo");
  EXPECT_EQ(TestProblems(analysis, options).problem, "Mode change");
  sink.BadPlace(0);
  EXPECT_EQ(TestProblems(analysis, options).problem, "Mode change") << "the first test that holds";
  options.modeChange = false;
  EXPECT_EQ(TestProblems(analysis, options).problem, "\"Bad\" MP3-frames");
  frame(1, 2, 44100, "Stereo");
  EXPECT_EQ(TestProblems(analysis, options).problem, "Cange of MPEG layer");
  frame(2, 3, 22050, "Stereo");
  EXPECT_EQ(TestProblems(analysis, options).problem, "Change of MPEG version");
}

}  // namespace
}  // namespace tonvault::catalogue
