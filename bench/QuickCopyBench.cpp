// The Quick Copy page: listing a folder of 2,000 MP3 files in its left pane
// (each file read for its tags, scan and length) against the floor of
// reading every file whole once; and the player pane's lists over a
// 20,000-track table (the album names, the tracks of one album) against
// one pass that only copies each entry's album.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>
#include <set>
#include <string>

#include "BenchTiming.h"
#include "QuietSession.h"
#include "device/quickcopy/PcFolder.h"
#include "device/quickcopy/QuickCopyRows.h"
#include "support/MpegSynth.h"

namespace {

using namespace tonvault;

constexpr int kFiles = 2000;
constexpr int kTracks = 20000;

void WriteFolder(const std::string& folder) {
  std::filesystem::create_directories(folder);
  const testing::Bytes bytes = testing::Frames(testing::FrameShape{}, 300);
  for (int n = 0; n < kFiles; ++n) {
    std::ofstream(folder + "/track " + std::to_string(n) + ".mp3", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

void FillTable(device::DeviceTrackTable& table) {
  for (int n = 0; n < kTracks; ++n) {
    device::AudioInfo info;
    info.title = "A title " + std::to_string(n);
    info.artist = "Artist " + std::to_string(n % 300);
    info.album = "Album " + std::to_string(n % 900);
    info.genre = "Rock", info.codec = "MP3", info.fileName = "Track " + std::to_string(n) + ".mp3";
    info.fileSize = 5'000'000 + n, info.length = 240;
    table.AddDeviceTrack(false, info, n + 1);
  }
}

}  // namespace

int main() {
  const std::string folder = (std::filesystem::temp_directory_path() / "tonvault-quick-copy-bench").string();
  std::filesystem::remove_all(folder);
  WriteFolder(folder);
  bench::QuietSession session;
  session.app.options.import.mp3 = true;
  std::size_t sink = 0;

  const double floor = bench::BestSeconds(
      [&] {
        std::vector<char> buffer(1 << 20);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
          std::ifstream in(entry.path(), std::ios::binary);
          while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
            sink += static_cast<std::size_t>(in.gcount());
          }
        }
      },
      3);
  const double listed = bench::BestSeconds(
      [&] {
        sink += device::ListPcRows(session.app, folder + "/", true, [](std::size_t, std::size_t) { return true; }).size();
      },
      3);

  device::DeviceTrackTable table;
  FillTable(table);
  const double pass = bench::BestSeconds(
      [&] {
        std::set<std::string> albums;
        for (const device::DeviceTrack& track : table.Entries()) albums.insert(track.album);
        sink += albums.size();
      },
      5);
  const double names = bench::BestSeconds(
      [&] { sink += device::NameRows(table, device::QuickGroup::Albums).size(); }, 5);
  const double tracks = bench::BestSeconds(
      [&] { sink += device::TrackRows(table, device::QuickGroup::Albums, "Album 17").size(); }, 5);

  std::printf("quick copy: a folder of %d MP3 files, a player of %d tracks\n", kFiles, kTracks);
  std::printf("  floor (read every file whole)   %8.1f ms\n", floor * 1e3);
  std::printf("  list the folder in Audio mode   %8.1f ms  (%.1fx floor)\n", listed * 1e3, listed / floor);
  std::printf("  floor (collect the album names) %8.2f ms\n", pass * 1e3);
  std::printf("  album list (level 1)            %8.2f ms  (%.1fx floor)\n", names * 1e3, names / pass);
  std::printf("  one album's tracks (level 2)    %8.2f ms  (%.1fx floor)\n", tracks * 1e3, tracks / pass);
  std::filesystem::remove_all(folder);
  return sink == 0 ? 1 : 0;
}
