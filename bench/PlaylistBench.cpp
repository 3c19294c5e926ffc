// Playlist speed on a full player folder (10,000 tracks, 100 playlists of
// 300 tracks): a playlist change, and a deleted track leaving the playlists
// that name it, write the playlist list and the .m3u8 files of the changed
// playlists only, and are measured against the floor every track change
// already pays, writing the track index. Reading and writing a 3,000-track playlist
// file is measured against copying its text line by line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchTiming.h"
#include "device/folder/PlaylistStore.h"
#include "device/folder/TrackIndex.h"
#include "device/playlists/PlaylistFile.h"
#include "files/ReplaceFile.h"

int main() {
  using namespace tonvault;
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "tonvault-playlist-bench";
  fs::remove_all(root);
  fs::create_directories(root / device::PlayerStore::kLibraryFolder);
  device::TrackIndex index;
  for (int n = 0; n < 10000; ++n) {
    const int id = index.TakeId();
    device::IndexedTrack& track = index.tracks[id];
    track.relativePath = "Music/Artist " + std::to_string(n % 300) + "/Track " + std::to_string(n) + ".mp3";
    track.info.title = "A title of some length " + std::to_string(n);
    track.info.artist = "Artist " + std::to_string(n % 300);
    track.info.album = "Album " + std::to_string(n % 900);
    track.info.length = 240, track.info.id = id;
  }
  const std::string indexText = device::FormatTrackIndex(index);
  files::WriteWholeFile((root / device::PlayerStore::kLibraryFolder / device::PlayerStore::kIndexName).string(),
                        indexText);
  device::PlayerStore store(root.string());
  store.Open();
  device::PlaylistStore playlists(store);
  playlists.Open();
  for (int p = 0; p < 100; ++p) {
    int id = 0;
    playlists.Create("Playlist " + std::to_string(p), id);
    device::Playlist playlist{"Playlist " + std::to_string(p), {}};
    for (int t = 0; t < 300; ++t) playlist.AddTrack(1 + (p * 37 + t * 11) % 10000);
    playlists.Set(id, playlist);
  }

  std::size_t sink = 0;
  const std::string indexPath = (root / "index-copy.txt").string();
  const double indexWrite = bench::BestSeconds([&] { sink += !files::WriteWholeFile(indexPath, indexText); }, 10);
  device::Playlist changed{"Playlist 5", {}};
  int flip = 0;
  const double change = bench::BestSeconds(
      [&] {
        changed.trackIds.assign(300, 1 + (++flip % 10000));
        sink += playlists.Set(6, changed) == device::kOk;
      },
      10);
  int dropped = 10;
  const double drop = bench::BestSeconds(
      [&] {
        const int track = playlists.Playlists().at(++dropped).playlist.trackIds.front();
        sink += playlists.DropTrack(track) == device::kOk;
      },
      10);

  device::PlaylistFileContent file{"Long", {}};
  for (int t = 0; t < 3000; ++t) file.tracks.push_back({"Title " + std::to_string(t), "Artist", "Album"});
  const std::string bytes = device::EncodePlaylistFile(file);
  const double floor = bench::BestSeconds(
      [&] {
        std::string copy;
        for (std::size_t at = 0; at < bytes.size();) {
          const std::size_t end = bytes.find('\n', at) + 1;
          copy.append(bytes, at, end - at);
          at = end;
        }
        sink += copy.size();
      },
      50);
  const double encode = bench::BestSeconds([&] { sink += device::EncodePlaylistFile(file).size(); }, 50);
  const double decode = bench::BestSeconds([&] { sink += device::DecodePlaylistFile(bytes).tracks.size(); }, 50);
  fs::remove_all(root);

  std::printf("playlist change: 10000 tracks, 100 playlists of 300 tracks\n");
  std::printf("  floor (write the track index) %8.2f ms\n", indexWrite * 1e3);
  std::printf("  change one playlist           %8.2f ms  (%.1fx floor)\n", change * 1e3, change / indexWrite);
  std::printf("  drop a deleted track           %8.2f ms  (%.1fx floor)\n", drop * 1e3, drop / indexWrite);
  std::printf("playlist file: 3000 tracks, %zu bytes\n", bytes.size());
  std::printf("  floor (copy line by line)     %8.3f ms\n", floor * 1e3);
  std::printf("  write                         %8.3f ms  (%.1fx floor)\n", encode * 1e3, encode / floor);
  std::printf("  read                          %8.3f ms  (%.1fx floor)\n", decode * 1e3, decode / floor);
  std::printf("  target: a change under 100 ms -> %s\n", change < 0.1 ? "met" : "NOT met");
  return sink == 0 ? 1 : 0;
}
