// Row look-up and the list texts on a 100,000-row catalogue. FindEqualRow is
// the linear search the list commands use; the baseline compares the same
// rows through a plain loop over concatenated keys, the cheapest whole-row
// comparison there is.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/TextFormats.h"
#include "catalogue/TrackRecord.h"

namespace {

using namespace tonvault::catalogue;

std::vector<TrackRecord> MakeRows(std::size_t count) {
  ColumnMap map;
  std::vector<TrackRecord> rows(count);
  for (std::size_t i = 0; i < count; ++i) {
    map.Set(rows[i], Column::Album, "Album " + std::to_string(i / 12));
    map.Set(rows[i], Column::Artist, "Artist " + std::to_string(i / 40));
    map.Set(rows[i], Column::Title, "Title number " + std::to_string(i));
    map.Set(rows[i], Column::Path, "/music/collection/" + std::to_string(i / 12) + "/");
    map.Set(rows[i], Column::Filename, std::to_string(i) + ".mp3");
  }
  return rows;
}

void BM_FindEqualRow_Last(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  const TrackRecord probe = rows.back();
  for (auto _ : state) benchmark::DoNotOptimize(FindEqualRow(rows, probe));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindEqualRow_Last)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_Baseline_ConcatenatedKeys(benchmark::State& state) {
  const auto rows = MakeRows(static_cast<std::size_t>(state.range(0)));
  std::vector<std::string> keys;
  for (const auto& row : rows) {
    std::string key;
    for (std::size_t slot = 0; slot < row.texts.size(); ++slot) key.append(row.texts[slot]) += '\x1f';
    keys.push_back(std::move(key));
  }
  const std::string probe = keys.back();
  for (auto _ : state) {
    std::ptrdiff_t found = -1;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == probe) {
        found = static_cast<std::ptrdiff_t>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Baseline_ConcatenatedKeys)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_FormatLength(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatLength(seconds));
    seconds += 7.3;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatLength);

}  // namespace

BENCHMARK_MAIN();
