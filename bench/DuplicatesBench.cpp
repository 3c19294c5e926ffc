// Duplicate and difference search on synthetic catalogues of 10,000 and
// 50,000 rows where about 10 % of the tracks are present two or three times
// with small title variations, some of them on another mount point. Timed:
// (a) Album, Artist, Title with "Case sen.", (b) Title at "80 %" with Artist
// "Case insen.", (c) the difference search with Drive. The pairwise
// reference (every pair compared) runs on the 10,000-row set in the same run.
// Targets at 50,000 rows: (a) under 0.2 s, (b) under 5 s; at 10,000 rows at
// least 50x (a) and 10x (b) faster than the reference.
#include <cstdio>
#include <random>

#include "QuietSession.h"
#include "BenchText.h"
#include "BenchTiming.h"
#include "catalogue/PageChange.h"
#include "views/DuplicateSearch.h"

namespace {

using namespace tonvault;
using catalogue::Column;

using bench::Numbered;

void Fill(catalogue::Application& app, int tracks) {
  std::mt19937 random(11);
  app.files.clear();
  for (int i = 0; app.files.size() < static_cast<std::size_t>(tracks); ++i) {
    catalogue::TrackRecord row;
    const int album = i / 12;
    app.columnMap.Set(row, Column::Album, Numbered("Album ", album));
    app.columnMap.Set(row, Column::Artist, Numbered("Artist ", album % 3000));
    app.columnMap.Set(row, Column::Title, Numbered("The title of song number ", i));
    app.columnMap.Set(row, Column::Path, Numbered("/home/user/Music/", album) + "/");
    app.files.push_back(row);
    if (random() % 10 == 0) {  // a near duplicate, sometimes a third copy on another drive
      catalogue::TrackRecord copy = row;
      app.columnMap.Set(copy, Column::Title, Numbered("The title of song numbr ", i));
      app.columnMap.Set(copy, Column::Path, Numbered("D:\\Backup\\", album) + "\\");
      app.files.push_back(copy);
      if (random() % 2 == 0) app.files.push_back(row);
    }
  }
  app.files.resize(static_cast<std::size_t>(tracks));
}

// Every pair through RowsMatch, as the searches are defined.
std::size_t ReferencePairs(const catalogue::Application& app, const catalogue::DuplicateOptions& options) {
  const auto criteria = views::CriteriaOf(options, true);
  std::size_t matches = 0;
  for (std::size_t q = 0; q + 1 < app.files.size(); ++q) {
    for (std::size_t j = q + 1; j < app.files.size(); ++j) {
      matches += views::RowsMatch(app.files[q], app.files[j], app.columnMap, criteria, nullptr);
    }
  }
  return matches;
}

}  // namespace

int main() {
  bench::QuietSession session;
  catalogue::Application& app = session.app;
  catalogue::DuplicateOptions exact;
  catalogue::DuplicateOptions similar;
  similar.album = false;
  similar.artistMode = 1;
  similar.titleMode = 5;
  catalogue::DuplicateOptions drive;
  drive.album = false;
  drive.drive = true;
  drive.titleMode = 5;

  for (int rows : {10000, 50000}) {
    Fill(app, rows);
    std::printf("Duplicate search on %d rows\n", rows);
    double times[3];
    const catalogue::DuplicateOptions* sets[] = {&exact, &similar, &drive};
    const char* names[] = {"(a) Album, Artist, Title exact", "(b) Title 80 %, Artist case-insensitive",
                           "(c) differences with Drive"};
    for (int k = 0; k < 3; ++k) {
      app.options.duplicate = *sets[k];
      times[k] = bench::BestSeconds([&] { k < 2 ? views::SearchDuplicates(app) : views::SearchDifferences(app); }, 1);
      std::printf("  %-42s %9.3f s  (%zu RESULTS rows)\n", names[k], times[k], app.results.size());
    }
    if (rows == 10000) {
      for (int k = 0; k < 2; ++k) {
        const double reference = bench::BestSeconds([&] { (void)ReferencePairs(app, *sets[k]); }, 1);
        std::printf("  pairwise reference for %s: %.2f s -> %.0fx\n", k == 0 ? "(a)" : "(b)", reference,
                    reference / times[k]);
      }
    }
  }
  std::printf("  targets at 50,000 rows: (a) < 0.2 s, (b) < 5 s; at 10,000 rows >= 50x (a), >= 10x (b)\n");
  return 0;
}
