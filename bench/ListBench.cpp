// The list commands on 100,000 rows, as the window runs them (through the
// same long-operation protocol, with a frontend that draws nothing).
// Target: each under 200 ms on the 2-core machine.
#include "BenchTiming.h"
#include "QuietSession.h"
#include "RandomRows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "catalogue/ListOperations.h"
#include "catalogue/PageChange.h"

namespace {

using namespace tonvault;
using catalogue::Column;

constexpr int kRows = 100000;

using bench::Milliseconds;

}  // namespace

int main() {
  bench::QuietSession session;
  catalogue::Application& app = session.app;
  bench::FillRandomRows(app, kRows);
  catalogue::ChangePage(app, catalogue::Page::Files);
  auto display = [&](Column c) { return app.columnMap.SlotOf(c) + 1; };

  std::printf("List commands on %d rows (target: each under 200 ms)\n", kRows);
  auto report = [](const char* what, double ms) {
    std::printf("  %-36s %8.1f ms  %s\n", what, ms, ms < 200 ? "ok" : "SLOWER THAN TARGET");
  };
  report("sort by Title", Milliseconds([&] { catalogue::SortByColumn(app, catalogue::ListId::Files, display(Column::Title)); }));
  report("sort by Bitrate", Milliseconds([&] { catalogue::SortByColumn(app, catalogue::ListId::Files, display(Column::Bitrate)); }));
  report("sort by Size", Milliseconds([&] { catalogue::SortByColumn(app, catalogue::ListId::Files, display(Column::Size)); }));
  report("select all", Milliseconds([&] { catalogue::SelectAll(app, catalogue::ListId::Files); }));
  report("copy all to RESULTS", Milliseconds([&] { catalogue::CopySelectedLinesToResults(app); }));
  catalogue::ChangePage(app, catalogue::Page::Files);
  for (std::size_t i = 0; i < app.files.size(); ++i) app.files[i].selected = i % 2 == 0;
  report("delete every second row", Milliseconds([&] { catalogue::DeleteSelectedLines(app); }));
  std::printf("  rows left: %zu in FILES, %zu in RESULTS\n", app.files.size(), app.results.size());
  return 0;
}
