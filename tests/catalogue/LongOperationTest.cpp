#include <gtest/gtest.h>

#include <stdexcept>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "support/ScriptedFrontend.h"

namespace tonvault::catalogue {
namespace {

using testing::ScriptedFrontend;

// Runs a loop over `total` items under the protocol and returns how many
// items were processed.
std::size_t RunLoop(Application& app, std::size_t total) {
  LongOperation operation(app, {10, [](std::size_t done) { return "Files:  " + std::to_string(done); }});
  std::size_t processed = 0;
  for (std::size_t i = 1; i <= total; ++i) {
    ++processed;
    if (!operation.ItemDone(i, total)) break;
  }
  return processed;
}

class LongOperationTest : public ::testing::Test {
 protected:
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(LongOperationTest, BusyDuringTheLoopAndCleanUpAfterIt) {
  EXPECT_EQ(RunLoop(app, 25), 25u);
  const auto& log = frontend.Log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "progress colours");
  EXPECT_EQ(log[1], "state: 0");
  EXPECT_EQ(log[2], "progress: 0");
  EXPECT_EQ(log[3], "pump");
  EXPECT_EQ(frontend.Log("panel0: Files:  "), (std::vector<std::string>{"panel0: Files:  10", "panel0: Files:  20"}));
  EXPECT_EQ(frontend.Pumps(), 3) << "once at the start, then every 10th item";
  EXPECT_EQ(frontend.ProgressHigh(), 0) << "reset at the end";
  EXPECT_EQ(app.commandStateCode, 1) << "the page change left the busy state";
  EXPECT_EQ(frontend.Log("progress: 120").size(), 1u) << "10 of 25 items is 120 of 300";
}

TEST_F(LongOperationTest, NoToTheStopQuestionContinuesWithTheNextItem) {
  frontend.AtPump(2, [&] { StopCommand(app); });  // Esc while item 10 is reported
  frontend.Answer(Button::No);
  EXPECT_EQ(RunLoop(app, 30), 30u);
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{
                                          "message(confirmation): Do you really want to STOP ? [Yes/No] -> No"}));
  EXPECT_EQ(frontend.Log("beep"), (std::vector<std::string>{"beep: question"}));
  EXPECT_FALSE(app.stopRequest);
}

TEST_F(LongOperationTest, YesToTheStopQuestionEndsTheLoopAndCleansUp) {
  frontend.AtPump(2, [&] { StopCommand(app); });
  frontend.Answer(Button::Yes);
  EXPECT_EQ(RunLoop(app, 30), 10u);
  EXPECT_EQ(frontend.ProgressHigh(), 0);
  EXPECT_EQ(app.commandStateCode, 1);
}

TEST_F(LongOperationTest, CleanUpRunsWhenTheLoopThrows) {
  app.currentPage = Page::Results;
  EXPECT_THROW(
      {
        LongOperation operation(app, {});
        (void)operation.ItemDone(1, 3);
        throw std::runtime_error("disk gone");
      },
      std::runtime_error);
  EXPECT_EQ(frontend.ProgressHigh(), 0);
  EXPECT_EQ(app.commandStateCode, 6) << "page change for the Results page";
  EXPECT_EQ(frontend.Log().back(), "panel1: Selected: 0");
}

TEST_F(LongOperationTest, EndPageAndEstimateClearing) {
  {
    LongOperation operation(app, {});
    operation.EndOnPage(Page::Results);
    operation.ClearEstimateAtEnd();
  }
  EXPECT_EQ(app.currentPage, Page::Results);
  const auto pages = frontend.Log("page: ");
  EXPECT_EQ(pages, (std::vector<std::string>{"page: Results"}));
  EXPECT_EQ(frontend.Log("panel1: ").front(), "panel1: ");
}

TEST_F(LongOperationTest, EscWhileIdleDoesNothing) {
  ChangePage(app, Page::Files);
  StopCommand(app);
  EXPECT_FALSE(app.stopRequest);
  // A stop left over from idle time never reaches the next loop either.
  app.stopRequest = true;
  EXPECT_EQ(RunLoop(app, 5), 5u);
  EXPECT_TRUE(frontend.Log("message").empty());
}

TEST_F(LongOperationTest, EstimateAppearsInPanelOne) {
  std::chrono::steady_clock::time_point now{};
  Application timed(frontend, [&] { return now; });
  LongOperation operation(timed, {});
  now += std::chrono::seconds(20);
  (void)operation.ItemDone(10, 40);
  EXPECT_EQ(frontend.Panel(1), "Est.:  00:01:00");
}

}  // namespace
}  // namespace tonvault::catalogue
