#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "QtTestApp.h"
#include "catalogue/ColumnMap.h"
#include "ui/MainWindow.h"
#include "ui/analysis/FrameColumns.h"
#include "ui/pages/Mp3Page.h"
#include "support/MpegSynth.h"

namespace tonvault::ui {
namespace {

using catalogue::Page;
using tonvault::testing::Append;
using tonvault::testing::Bytes;
using tonvault::testing::FrameShape;

audio::FrameRecord Record(int bitrate, audio::FrameMode mode = audio::FrameMode::Stereo) {
  audio::FrameRecord record;
  record.bitrate = bitrate;
  record.mode = mode;
  return record;
}

TEST(FrameColumns, FewRecordsGetALineEachAndManyRecordsOneSummaryPerPixel) {
  const std::vector<audio::FrameRecord> few = {Record(128), Record(64), Record(0, audio::FrameMode::Bad)};
  const auto spread = SummarizeFrames(few, 10);
  ASSERT_EQ(spread.size(), 10u);
  EXPECT_EQ(spread[0].bitrate, 128);
  EXPECT_EQ(spread[3].bitrate, 64) << "record 1 of 3 at 1 × 10 / 3";
  EXPECT_TRUE(spread[6].bad);
  EXPECT_FALSE(spread[1].hasFrame);

  std::vector<audio::FrameRecord> many(500'000, Record(96, audio::FrameMode::JointStereo));
  many[250'000] = Record(320, audio::FrameMode::Mono);
  many[499'999] = Record(0, audio::FrameMode::Bad);
  const auto packed = SummarizeFrames(many, 1000);
  ASSERT_EQ(packed.size(), 1000u);
  EXPECT_EQ(packed[500].bitrate, 320) << "the highest frame of the pixel";
  EXPECT_EQ(packed[500].mode, audio::FrameMode::Mono);
  EXPECT_EQ(packed[499].bitrate, 96);
  EXPECT_TRUE(packed[999].bad);
  EXPECT_TRUE(packed[999].hasFrame);
  EXPECT_TRUE(SummarizeFrames(many, 0).empty());
}

// The window over a damaged file in FILES, analysed from the list's popup.
class Mp3PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tonvault::testing::QtTestApp();
    window = std::make_unique<MainWindow>();
    window->resize(1000, 760);
    window->show();
    QApplication::processEvents();
    QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  }
  void AddFile(const std::string& name, const Bytes& bytes) {
    const std::string path = folder.path().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    catalogue::TrackRecord row;
    window->App().columnMap.Set(row, catalogue::Column::Path, folder.path().toStdString() + "/");
    window->App().columnMap.Set(row, catalogue::Column::Filename, name);
    window->App().files.push_back(row);
    window->ListsChanged();
  }
  void AnalyzeRow(int row) {
    window->FilesPage()->View()->selectRow(row);
    for (QAction* action : window->FilesPage()->View()->actions()) {
      if (action->text() == "Analyze / Fix  MP3") action->trigger();
    }
    QApplication::processEvents();
    page = static_cast<Mp3Page*>(window->PageWidget(Page::Mp3));
  }
  // A variable-bitrate stream in two modes with a few damaged places.
  static Bytes Damaged() {
    Bytes bytes = tonvault::testing::Id3v2Tag(2000);
    Append(bytes, Bytes(300, 0));
    const int bitrates[] = {96, 128, 160, 192, 128, 112, 256, 320, 128, 160};
    for (int i = 0; i < 3000; ++i) {
      Append(bytes, tonvault::testing::Frame(FrameShape{1, 3, bitrates[(i / 7 + i % 3) % 10], 44100, 0, i < 2000 ? 1 : 0}));
      if (i % 900 == 450) Append(bytes, tonvault::testing::Junk(200));
    }
    Append(bytes, tonvault::testing::Junk(500));
    return bytes;
  }

  QTemporaryDir folder;
  std::unique_ptr<MainWindow> window;
  Mp3Page* page = nullptr;
};

TEST_F(Mp3PageTest, ThePopupAnalysesTheSelectedFileAndThePageFollowsItsState) {
  AddFile("damaged.mp3", Damaged());
  AnalyzeRow(0);
  ASSERT_EQ(window->App().currentPage, Page::Mp3);
  ASSERT_TRUE(page->isVisible());
  QTreeWidget* list = page->FrameList();
  EXPECT_EQ(list->topLevelItemCount(), 15) << "seven bitrates in two modes, and the bad places";
  EXPECT_EQ(list->headerItem()->text(6), "Mode");
  EXPECT_EQ(page->ZoomText()->text(), "1  :  1");
  EXPECT_FALSE(page->ZoomOutButton()->isEnabled());
  EXPECT_FALSE(page->FixButton()->isEnabled());
  EXPECT_TRUE(page->BeforeBox()->isEnabled());
  EXPECT_FALSE(page->FramesBox()->isEnabled());
  EXPECT_FALSE(page->Histogram()->Mixed());
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/mp3-page.png");

  // Sorting by "Frames" keeps each row's check box tied to its group.
  list->header()->sectionClicked(1);
  list->sortItems(1, Qt::DescendingOrder);
  QTreeWidgetItem* largest = list->topLevelItem(0);
  largest->setCheckState(0, Qt::Checked);
  const auto group = largest->data(0, Qt::UserRole).toULongLong();
  EXPECT_TRUE(page->State().analysis.frames.Groups()[group].checked);
  EXPECT_EQ(page->State().analysis.frames.Groups()[group].count, largest->text(1).toLongLong());
  EXPECT_TRUE(page->FramesBox()->isEnabled());
  page->FramesBox()->setChecked(true);
  EXPECT_TRUE(page->FixButton()->isEnabled());
  largest->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(page->FramesBox()->isChecked());
  EXPECT_FALSE(page->FixButton()->isEnabled());

  for (int i = 0; i < 6; ++i) page->ZoomInButton()->click();
  EXPECT_EQ(page->ZoomText()->text(), "40  :  1");
  EXPECT_FALSE(page->ZoomInButton()->isEnabled());
  EXPECT_GT(page->Picture()->width(), 20'000);
  page->Picture()->grab();  // paints from the summaries at full zoom
  page->ZoomOutButton()->click();
  EXPECT_EQ(page->ZoomText()->text(), "20  :  1");
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/mp3-page-zoomed.png");
}

TEST_F(Mp3PageTest, TheHistogramSaysWhenVersionsOrLayersDiffer) {
  Bytes bytes = tonvault::testing::Frames(FrameShape{1, 3, 128, 44100, 0, 0}, 40);
  Append(bytes, tonvault::testing::Frames(FrameShape{1, 2, 128, 44100, 0, 0}, 40));
  AddFile("mixed.mp3", bytes);
  AnalyzeRow(0);
  EXPECT_TRUE(page->Histogram()->Mixed());
  AddFile("plain.mp3", tonvault::testing::Frames(FrameShape{2, 3, 64, 22050, 0, 3}, 40));
  AnalyzeRow(1);
  EXPECT_FALSE(page->Histogram()->Mixed());
  EXPECT_EQ(page->Histogram()->Bars()[7].first, 64) << "the MPEG-2 Layer III table";
  EXPECT_EQ(page->Histogram()->Bars()[7].second, 40);
  EXPECT_EQ(page->Picture()->TimeAt(page->Picture()->width()).toStdString(), "00:00:01");
}

}  // namespace
}  // namespace tonvault::ui
