// The player's content: reading a 20,000-track player into FILES and the
// track table, against the floor of only walking the player's tracks; and
// 20,000 look-ups by artist, title and album in the table, against a
// linear search over the same entries.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchTiming.h"
#include "QuietSession.h"
#include "catalogue/TextCase.h"
#include "device/content/PlayerContent.h"
#include "device/folder/TrackIndex.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/ReplaceFile.h"

namespace {

using namespace tonvault;

constexpr int kTracks = 20000;

std::string Numbered(const char* word, int n) { return std::string(word).append(std::to_string(n)); }

// A simulated Jukebox whose library index lists kTracks tracks.
void SeedPlayer(const std::string& scratch) {
  const std::string root = scratch + "/jukebox-internal";
  std::filesystem::create_directories(root + "/.tonvault-player");
  device::TrackIndex index;
  for (int n = 0; n < kTracks; ++n) {
    device::AudioInfo info;
    info.title = Numbered("A title of some length ", n);
    info.artist = Numbered("Artist ", n % 300);
    info.album = Numbered("Album ", n % 900);
    info.genre = "Rock", info.codec = "MP3", info.bitrate = "192";
    info.fileName = Numbered("Track ", n) + ".mp3";
    info.fileSize = 5'000'000 + n, info.length = 240, info.year = 1990 + n % 30;
    info.id = index.TakeId();
    index.tracks[info.id] = device::IndexedTrack{"Music/" + info.fileName, info};
  }
  files::WriteWholeFile(root + "/.tonvault-player/index.txt", device::FormatTrackIndex(index));
}

int LinearFind(const device::DeviceTrackTable& table, const std::string& artist, const std::string& title,
               const std::string& album) {
  const std::string a = catalogue::AsciiLower(artist), t = catalogue::AsciiLower(title),
                    b = catalogue::AsciiLower(album);
  for (const device::DeviceTrack& entry : table.Entries()) {
    if (catalogue::AsciiLower(entry.artist) == a && catalogue::AsciiLower(entry.title) == t &&
        catalogue::AsciiLower(entry.album) == b) {
      return entry.id;
    }
  }
  return -1;
}

}  // namespace

int main() {
  const std::string scratch = (std::filesystem::temp_directory_path() / "tonvault-player-content-bench").string();
  std::filesystem::remove_all(scratch);
  SeedPlayer(scratch);

  bench::QuietSession session;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&scratch] {
    return std::make_unique<device::SimulatedPlayer>(scratch, std::vector<int>{device::kKindJukebox});
  });
  device::PlayerContent content(session.app, player);
  std::size_t sink = 0;

  player.StartDevice(false);
  const double walk = bench::BestSeconds(
      [&] {
        device::Device& device = player.CurrentDevice();
        int id = 0;
        for (device::Status s = device.FindFirstTrack(id); s == device::kOk; s = device.FindNextTrack(id)) {
          device::AudioInfo info;
          sink += device.GetTrackInfo(id, info) == device::kOk ? info.title.size() : 0;
        }
      },
      3);
  const double read = bench::BestSeconds(
      [&] {
        session.app.files.clear();
        content.ReadFilesOnNjb();
        sink += session.app.files.size();
      },
      3);

  // Every track looked up once, by names in another case.
  std::vector<std::array<std::string, 3>> keys;
  for (int n = 0; n < kTracks; ++n) {
    keys.push_back({catalogue::AsciiUpper(Numbered("Artist ", n % 300)), Numbered("a title of some length ", n),
                    Numbered("Album ", n % 900)});
  }
  const double hashed = bench::BestSeconds(
      [&] {
        for (const auto& k : keys) sink += static_cast<std::size_t>(content.Table().FindDeviceTrackId(k[0], k[1], k[2]));
      },
      3);
  // The linear search is far slower: measure a tenth of the look-ups and scale.
  const double linear = 10 * bench::BestSeconds(
                                 [&] {
                                   for (std::size_t i = 0; i < keys.size(); i += 10) {
                                     sink += static_cast<std::size_t>(
                                         LinearFind(content.Table(), keys[i][0], keys[i][1], keys[i][2]));
                                   }
                                 },
                                 1);

  std::printf("player content: %d tracks on a simulated Jukebox, %zu rows read\n", kTracks, session.app.files.size());
  std::printf("  floor (walk the tracks only)   %9.1f ms\n", walk * 1e3);
  std::printf("  read into FILES and the table  %9.1f ms  (%.1fx floor)\n", read * 1e3, read / walk);
  std::printf("  %d look-ups, linear search   %9.1f ms\n", kTracks, linear * 1e3);
  std::printf("  %d look-ups, hashed key      %9.2f ms  (%.0fx faster)\n", kTracks, hashed * 1e3, linear / hashed);
  std::filesystem::remove_all(scratch);
  return sink == 0 ? 1 : 0;
}
