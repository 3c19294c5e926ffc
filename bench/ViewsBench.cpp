// The album, artist and genre views and the text search on 100,000 rows
// (10,000 albums, 3,000 artists, 150 genres). For comparison, a plain build
// that looks each row's group up by searching the list from the top runs
// on a 10,000-row subset in the same run. Target: each view build and the
// search under 150 ms at 100,000 rows.
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

#include "QuietSession.h"
#include "BenchText.h"
#include "BenchTiming.h"
#include "catalogue/PageChange.h"
#include "views/Durations.h"
#include "views/TextSearch.h"
#include "views/Views.h"

namespace {

using namespace tonvault;
using catalogue::Column;

using bench::Numbered;

std::string Length(std::mt19937& random) {
  char text[16];
  std::snprintf(text, sizeof text, "00:%02d:%02d", static_cast<int>(random() % 8), static_cast<int>(random() % 60));
  return text;
}

void Fill(catalogue::Application& app, int rows) {
  std::mt19937 random(3);
  app.files.resize(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    catalogue::TrackRecord& row = app.files[static_cast<std::size_t>(i)];
    const int album = static_cast<int>(random() % 10000);
    app.columnMap.Set(row, Column::Album, Numbered("Album title ", album));
    app.columnMap.Set(row, Column::Artist, Numbered("Artist name ", album % 3000));
    app.columnMap.Set(row, Column::Genre, Numbered("Genre ", album % 150));
    app.columnMap.Set(row, Column::Title, Numbered("Song title ", random() % 1000000));
    app.columnMap.Set(row, Column::Size, std::to_string(2000 + random() % 8000));
    app.columnMap.Set(row, Column::Length, Length(random));
  }
}

// The straightforward build: a linear search of the lines for every row.
std::size_t ReferenceBuild(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map) {
  std::vector<catalogue::ViewLine> lines;
  for (const auto& row : rows) {
    const std::string key = map.Get(row, Column::Album);
    auto found = std::find_if(lines.begin(), lines.end(), [&](const catalogue::ViewLine& l) { return l.key == key; });
    if (found == lines.end()) {
      lines.push_back({key, std::string(map.Get(row, Column::Artist)), std::string(map.Get(row, Column::Genre)), "1",
                       std::string(map.Get(row, Column::Size)), std::string(map.Get(row, Column::Length)), false});
    } else {
      if (found->second != map.Get(row, Column::Artist)) found->second = views::kVarious;
      if (found->third != map.Get(row, Column::Genre)) found->third = views::kVarious;
      found->tracks = std::to_string(std::stoll(found->tracks) + 1);
      found->length = views::AddDuration(found->length, map.Get(row, Column::Length));
      found->size = std::to_string(std::stoll(found->size) + std::stoll(std::string(map.Get(row, Column::Size))));
    }
  }
  return lines.size();
}

}  // namespace

int main() {
  bench::QuietSession session;
  catalogue::Frontend& frontend = session.frontend;
  catalogue::Application& app = session.app;
  Fill(app, 100000);

  std::printf("Views and search on %zu rows (target: each under 150 ms)\n", app.files.size());
  const char* names[] = {"albums", "artists", "genres"};
  for (int k = 0; k < catalogue::kViewCount; ++k) {
    const auto kind = static_cast<catalogue::ViewKind>(k);
    const double seconds = bench::BestSeconds([&] { views::BuildView(app, kind, false); }, 3);
    std::printf("  build %-8s %8.1f ms  (%zu lines)\n", names[k], seconds * 1e3, app.views[static_cast<std::size_t>(k)].lines.size());
  }
  app.options.search.text = "e 1";
  const double search = bench::BestSeconds([&] { views::SearchInFiles(app); }, 3);
  std::printf("  search 'e 1' in Album, Artist, Title, case ignored %8.1f ms  (%zu rows found)\n", search * 1e3,
              app.results.size());

  catalogue::Application subset(frontend);
  subset.files.assign(app.files.begin(), app.files.begin() + 10000);
  const double fast = bench::BestSeconds([&] { views::BuildView(subset, catalogue::ViewKind::Albums, false); }, 3);
  std::size_t lines = 0;
  const double reference = bench::BestSeconds([&] { lines = ReferenceBuild(subset.files, subset.columnMap); }, 1);
  std::printf("  10,000-row subset, albums: hashed %.1f ms, linear-search reference %.1f ms (%zu lines): %.0fx\n",
              fast * 1e3, reference * 1e3, lines, reference / fast);
  return 0;
}
