#include <gtest/gtest.h>

#include "catalogue/StatusTexts.h"
#include "catalogue/TimeEstimate.h"
#include "catalogue/Version.h"

namespace tonvault::catalogue {
namespace {

TEST(WindowTitle, NameAndModifiedMark) {
  EXPECT_EQ(WindowTitle("", false), "Tonvault");
  EXPECT_EQ(WindowTitle("", true), "Tonvault") << "no mark before a catalogue has a name";
  EXPECT_EQ(WindowTitle("music.tvd", false), "Tonvault    -    music.tvd");
  EXPECT_EQ(WindowTitle("music.tvd", true), "Tonvault    -    music.tvd*");
}

TEST(StatusTexts, EachPageReportsItsOwnList) {
  struct Case {
    Page page;
    std::string panel0, panel1;
  };
  const Case cases[] = {
      {Page::Files, "Files: 12", "Selected: 3"},     {Page::Results, "Results: 12", "Selected: 3"},
      {Page::Albums, "Albums: 12", "Selected: 3"},   {Page::Artists, "Artists: 12", "Selected: 3"},
      {Page::Genres, "Genres: 12", "Selected: 3"},   {Page::Synchronize, "Sync: 12", "Selected: 3"},
      {Page::Playlists, "Playlists: 12", ""},        {Page::Search, "", ""},
      {Page::Statistics, "", ""},                    {Page::Settings, "", ""},
      {Page::Id3Editor, "", ""},                     {Page::QuickCopy, "", ""},
      {Page::Player, "", ""},                        {Page::Mp3, "", ""},
  };
  for (const Case& c : cases) {
    const StatusPanels panels = StatusTextsFor(c.page, 12, 3);
    EXPECT_EQ(panels.rows, c.panel0) << PageCaption(c.page);
    EXPECT_EQ(panels.selected, c.panel1) << PageCaption(c.page);
  }
  EXPECT_EQ(FilesSoFarText(25), "Files:  25");
}

struct FakeClock {
  std::chrono::steady_clock::time_point now{};
  Clock AsClock() {
    return [this] { return now; };
  }
};

TEST(TimeEstimate, ScalesElapsedTimeByWorkDone) {
  FakeClock clock;
  TimeEstimate estimate(clock.AsClock());
  estimate.Restart();
  clock.now += std::chrono::seconds(10);
  EXPECT_EQ(estimate.Text(100, 10), "Est.:  00:01:30");
  clock.now += std::chrono::seconds(80);
  EXPECT_EQ(estimate.Text(100, 100), "Est.:  00:00:00");
}

TEST(TimeEstimate, OneDayOrMoreIsNotSpelledOut) {
  FakeClock clock;
  TimeEstimate estimate(clock.AsClock());
  estimate.Restart();
  clock.now += std::chrono::seconds(864);
  EXPECT_EQ(estimate.Text(101, 1), "Est.:  > 1 day") << "100 x 864 s is exactly one day";
  EXPECT_EQ(estimate.Text(100, 1), "Est.:  23:45:36");
}

TEST(Version, ReleaseAndBuildDigitsFollowTheMinorWithOneZeroDropped) {
  EXPECT_EQ(VersionText(5, 4, 3, 0), "5.43");
  EXPECT_EQ(VersionText(2, 3, 1, 0), "2.31");
  EXPECT_EQ(VersionText(1, 0, 0, 0), "1.00");
  EXPECT_EQ(VersionText(2, 3, 1, 7), "2.317");
}

}  // namespace
}  // namespace tonvault::catalogue

#include "catalogue/StartUp.h"

namespace tonvault::catalogue {
namespace {

TEST(SplashWindow, ClosesOnceTheThirdWholeSecondHasBegun) {
  EXPECT_EQ(SplashCloseDelayMs(100, 100'999), 2001) << "shown late in second 100: waits until 103.000";
  EXPECT_EQ(SplashCloseDelayMs(100, 102'999), 1);
  EXPECT_EQ(SplashCloseDelayMs(100, 103'000), 0);
  EXPECT_EQ(SplashCloseDelayMs(100, 250'000), 0);
}

}  // namespace
}  // namespace tonvault::catalogue
