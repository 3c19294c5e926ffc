#include <gtest/gtest.h>

#include "catalogue/PageChange.h"
#include "support/ScriptedFrontend.h"
#include "views/Statistics.h"
#include "views/Views.h"

namespace tonvault::views {
namespace {

using catalogue::Column;
using testing::ScriptedFrontend;

class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override { app.viewBuilder = &builder; }
  void AddRow(const std::string& bitrate, const std::string& length = "00:03:00", int icon = 8,
              const std::string& codec = "M1  L3", const std::string& size = "3000") {
    catalogue::TrackRecord row;
    row.icon = icon;
    app.columnMap.Set(row, Column::Bitrate, bitrate);
    app.columnMap.Set(row, Column::Length, length);
    app.columnMap.Set(row, Column::Codec, codec);
    app.columnMap.Set(row, Column::Size, size);
    app.columnMap.Set(row, Column::Album, "A" + bitrate);
    app.files.push_back(row);
  }
  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
  ViewsBuilder builder;
  catalogue::StatisticsData& stats = app.statistics;
};

TEST_F(StatisticsTest, RateKindsAndPercentages) {
  AddRow("128 C");
  AddRow("96 C");
  AddRow("187 V");
  ComputeStatistics(app);
  EXPECT_EQ(stats.tracks, "3");
  EXPECT_EQ(stats.cbr, "2     66,7 %");
  EXPECT_EQ(stats.vbr, "1     33,3 %");
  EXPECT_EQ(stats.corrupt, "0     0 %");
  EXPECT_EQ(stats.albums, "3");
  EXPECT_EQ(stats.id3v1, "3     100 %");
  EXPECT_EQ(stats.mpeg1Layer3, "3     100 %");
  EXPECT_EQ(CountText(1, 8), "1     12,5 %");
}

TEST_F(StatisticsTest, HistogramCounters) {
  EXPECT_EQ(HistogramCounter("128 C"), 26);
  EXPECT_EQ(HistogramCounter("<Corrupt>"), 1);
  EXPECT_EQ(HistogramCounter("400"), 73);
  EXPECT_EQ(HistogramCounter("4"), 1);
  EXPECT_EQ(HistogramCounter("5 V"), 2);
  EXPECT_EQ(HistogramCounter("-40"), 1) << "never below the first counter";
  AddRow("128 C");
  AddRow("128 C");
  AddRow("<Corrupt>", "00:00:00", 12, "<Corrupt>");
  ComputeStatistics(app);
  EXPECT_EQ(stats.histogram[25], 2);
  EXPECT_EQ(stats.histogram[0], 1);
  EXPECT_EQ(stats.largestCount, 2);
  EXPECT_EQ(stats.corrupt, "1     33,3 %");
  EXPECT_EQ(stats.noTag, "1     33,3 %");
  EXPECT_EQ(stats.unknownMp3, "1     33,3 %");
}

TEST_F(StatisticsTest, LengthsSizesAndBitrate) {
  AddRow("128 C", "20:00:00", 8, "M1  L3", "1048576");
  AddRow("128 C", "10:00:05", 8, "M1  L3", "n/a");
  ComputeStatistics(app);
  EXPECT_EQ(stats.length, "30 h   0 min   5 sec");
  EXPECT_EQ(stats.averageLength, "15:00:02");
  EXPECT_EQ(stats.fileSize, "1.024 MByte");
  EXPECT_EQ(stats.averageFileSize, "524.288 kByte");
  EXPECT_EQ(stats.averageBitrate, "80 kBit/sec");  // 1048576 kB / 108005 s x 8 x 1.024
}

TEST_F(StatisticsTest, AllZeroLengthsGiveNoAverageBitrate) {
  AddRow("128 C", "00:00:00");
  AddRow("128 C", "");
  ComputeStatistics(app);
  EXPECT_EQ(stats.averageBitrate, "not available");
}

TEST_F(StatisticsTest, CodecsAndTagKinds) {
  AddRow("1", "", 9, "M2.5  L3");
  AddRow("1", "", 10, "M2  L1");
  AddRow("1", "", 21, "WMA V8");
  AddRow("1", "", 29, "WAV");
  AddRow("1", "", 20, "");
  ComputeStatistics(app);
  EXPECT_EQ(stats.mpeg2Layer3, "1     20 %");
  EXPECT_EQ(stats.mpeg2Layer1, "1     20 %");
  EXPECT_EQ(stats.wma, "1     20 %");
  EXPECT_EQ(stats.wavNvf, "1     20 %");
  EXPECT_EQ(stats.unknownMp3, "1     20 %");
  EXPECT_EQ(stats.id3v2, "1     20 %");
  EXPECT_EQ(stats.id3v1And2, "1     20 %");
  EXPECT_EQ(stats.player, "1     20 %");
  EXPECT_EQ(stats.noTag, "0     0 %") << "WMA and WAV count nowhere";
}

TEST_F(StatisticsTest, ComputedOnceForTwoVisitsAndAgainAfterAChange) {
  AddRow("128 C");
  catalogue::ChangePage(app, catalogue::Page::Statistics);
  EXPECT_FALSE(app.viewRebuildNeeded.statistics);
  stats.tracks = "marker";
  catalogue::ChangePage(app, catalogue::Page::Files);
  catalogue::ChangePage(app, catalogue::Page::Statistics);
  EXPECT_EQ(stats.tracks, "marker") << "not computed again";
  catalogue::FilesChanged(app);
  catalogue::ChangePage(app, catalogue::Page::Statistics);
  EXPECT_EQ(stats.tracks, "1");
  EXPECT_EQ(app.commandStateCode, 7);
}

TEST_F(StatisticsTest, EmptyCatalogueOnlyBeeps) {
  ComputeStatistics(app);
  EXPECT_EQ(stats.tracks, "0");
  EXPECT_EQ(stats.length, "");
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: default"}));
}

TEST(HistogramZoom, ZoomInTwiceThenOutStopsAtTheAutomaticLevel) {
  catalogue::StatisticsData stats;
  stats.largestCount = 500;
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 100);
  ZoomIn(stats);
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 50);
  ZoomIn(stats);
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 20);
  ZoomOut(stats);
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 50);
  ZoomOut(stats);
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 100);
  ZoomOut(stats);
  EXPECT_EQ(ScaleFor(500, stats.zoomLevel).step, 100) << "zooming out only undoes zooming in";
  EXPECT_EQ(ScaleFor(6, -1).step, 1);
  EXPECT_EQ(ScaleFor(7, -1).step, 2);
  EXPECT_EQ(ScaleFor(1000000, -1).step, 100000);
}

}  // namespace
}  // namespace tonvault::views
