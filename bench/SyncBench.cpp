// The compare of the Synchronize page: 50,000 catalogue rows against a
// player of 20,000 tracks, with the default criteria (Album, Artist, Title,
// "Case sen."). About half of the player's tracks are in the catalogue, a
// few of them twice. Timed: the bucketed compare, the pairwise definition
// (every row against every track) in the same run, and the bucketed compare
// with Title at "80 %". Target: the default compare under 0.5 s.
#include <cstdio>
#include <random>

#include "BenchText.h"
#include "BenchTiming.h"
#include "catalogue/ColumnMap.h"
#include "device/sync/SyncCompare.h"

namespace {

using namespace tonvault;
using catalogue::Column;
using bench::Numbered;

device::AudioInfo TrackOf(int n) {
  device::AudioInfo info;
  info.album = Numbered("Album ", n / 12);
  info.artist = Numbered("Artist ", (n / 12) % 3000);
  info.title = Numbered("The title of song number ", n);
  info.fileName = Numbered("song", n) + ".mp3";
  info.codec = "MP3", info.genre = "Pop";
  info.fileSize = 4'000'000 + n, info.length = 180 + n % 120;
  return info;
}

catalogue::TrackRecord RowOf(const device::AudioInfo& info, const catalogue::ColumnMap& map) {
  catalogue::TrackRecord row;
  map.Set(row, Column::Album, info.album);
  map.Set(row, Column::Artist, info.artist);
  map.Set(row, Column::Title, info.title);
  map.Set(row, Column::Filename, info.fileName);
  map.Set(row, Column::Path, "/home/user/Music/");
  map.Set(row, Column::Size, std::to_string(info.fileSize / 1024));
  return row;
}

}  // namespace

int main() {
  const catalogue::ColumnMap map;
  std::mt19937 random(5);
  // Tracks 0..49,999 are the catalogue; the player holds every other one of
  // the first 20,000 and 10,000 of its own, a few of them twice.
  std::vector<catalogue::TrackRecord> files;
  for (int n = 0; n < 50000; ++n) files.push_back(RowOf(TrackOf(n), map));
  device::DeviceTrackTable table;
  for (int i = 0; table.Size() < 20000; ++i) {
    const int n = i % 2 == 0 ? i : 100000 + i;
    table.AddDeviceTrack(false, TrackOf(n), static_cast<int>(table.Size()));
    if (random() % 50 == 0 && table.Size() < 20000) table.AddDeviceTrack(false, TrackOf(n), static_cast<int>(table.Size()));
  }
  catalogue::SyncOptions defaults;
  defaults.album = defaults.artist = defaults.title = true;
  catalogue::SyncOptions similar = defaults;
  similar.titleMode = 5;

  std::printf("Synchronize compare: %zu catalogue rows, %zu player tracks\n", files.size(), table.Size());
  device::SyncArray lines;
  auto run = [&](const catalogue::SyncOptions& options, device::MatchMethod method) {
    return bench::BestSeconds(
        [&] {
          lines.clear();
          device::CompareWithPlayer(files, map, table, options, lines, {}, method);
        },
        method == device::MatchMethod::Buckets ? 3 : 1);
  };
  const double buckets = run(defaults, device::MatchMethod::Buckets);
  std::printf("  defaults, buckets       %9.3f s  (%zu lines)\n", buckets, lines.size());
  const double pairwise = run(defaults, device::MatchMethod::Pairwise);
  std::printf("  defaults, pairwise      %9.3f s  (%zu lines) -> buckets %.0fx faster\n", pairwise, lines.size(),
              pairwise / buckets);
  const double fuzzy = run(similar, device::MatchMethod::Buckets);
  std::printf("  Title 80 %%, buckets     %9.3f s  (%zu lines)\n", fuzzy, lines.size());
  std::printf("  target: defaults under 0.5 s\n");
  return 0;
}
