// Player folder index speed: the index of a full 40 GB player (10,000
// tracks) is written after every change and read at every open. Both run
// against the floor of copying the same text line by line; the target is
// that a change's index write stays far below the time of copying one song.
#include <cstdio>
#include <string>

#include "BenchTiming.h"
#include "device/folder/TrackIndex.h"

int main() {
  using namespace tonvault;
  device::TrackIndex index;
  for (int n = 0; n < 10000; ++n) {
    const int id = index.TakeId();
    device::IndexedTrack& track = index.tracks[id];
    track.relativePath = "Music/Artist " + std::to_string(n % 300) + "/Album " + std::to_string(n % 900) + "/Track " +
                         std::to_string(n) + ".mp3";
    track.info.title = "A title of some length " + std::to_string(n);
    track.info.artist = "Artist " + std::to_string(n % 300);
    track.info.album = "Album " + std::to_string(n % 900);
    track.info.genre = "Rock", track.info.codec = "MP3", track.info.bitrate = "192";
    track.info.fileName = "Track " + std::to_string(n) + ".mp3";
    track.info.fileSize = 5'000'000 + n, track.info.length = 240, track.info.year = 1990 + n % 30;
    track.info.id = id;
  }
  const std::string text = device::FormatTrackIndex(index);

  std::size_t sink = 0;
  const double floor = bench::BestSeconds(
      [&] {
        std::string copy;
        copy.reserve(text.size());
        for (std::size_t at = 0; at < text.size();) {
          const std::size_t end = text.find('\n', at) + 1;
          copy.append(text, at, end - at);
          at = end;
        }
        sink += copy.size();
      },
      50);
  const double write = bench::BestSeconds([&] { sink += device::FormatTrackIndex(index).size(); }, 50);
  const double read = bench::BestSeconds([&] { sink += device::ParseTrackIndex(text)->tracks.size(); }, 50);

  std::printf("track index: 10000 tracks, %zu bytes\n", text.size());
  std::printf("  floor (copy line by line) %8.2f ms\n", floor * 1e3);
  std::printf("  write                     %8.2f ms  (%.1fx floor)\n", write * 1e3, write / floor);
  std::printf("  read                      %8.2f ms  (%.1fx floor)\n", read * 1e3, read / floor);
  std::printf("  target: each under 50 ms -> %s\n", read < 0.05 && write < 0.05 ? "met" : "NOT met");
  return sink == 0 ? 1 : 0;
}
