#pragma once

#include <random>

#include "BenchText.h"
#include "catalogue/Application.h"

namespace tonvault::bench {

// Fills FILES with `count` rows of random titles, albums, bitrates and
// sizes; the same rows for every run.
inline void FillRandomRows(catalogue::Application& app, int count) {
  using catalogue::Column;
  std::mt19937 random(7);
  const char* bitrates[] = {"128 C", "192 V", "<Corrupt>", "96 C", "320 C", "245 V"};
  app.files.resize(static_cast<std::size_t>(count));
  for (catalogue::TrackRecord& row : app.files) {
    app.columnMap.Set(row, Column::Title, Numbered("Title ", random() % 1000000));
    app.columnMap.Set(row, Column::Album, Numbered("Album ", random() % 10000));
    app.columnMap.Set(row, Column::Bitrate, bitrates[random() % 6]);
    app.columnMap.Set(row, Column::Size, std::to_string(random() % 20000));
    row.icon = 8;
  }
}

}  // namespace tonvault::bench
