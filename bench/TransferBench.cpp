// Copying MP3 files to a folder player and back (about 1 GB by default; the
// first argument sets the megabytes) against `cp` of the same files in the
// same run. The player's periodic pause is off: it sleeps by design.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "QuietSession.h"
#include "device/Backends.h"
#include "device/folder/FolderPlayer.h"
#include "device/session/HeadlessHost.h"
#include "device/transfer/CopyToNjb.h"
#include "device/transfer/CopyToPc.h"
#include "device/transfer/TransferRecord.h"
#include "support/MpegSynth.h"

namespace {

using namespace tonvault;
namespace fs = std::filesystem;

constexpr int kFileMegabytes = 5;

std::vector<std::string> WriteAlbum(const std::string& folder, int megabytes) {
  fs::create_directories(folder);
  const testing::Bytes frames = testing::Frames(testing::FrameShape{}, 2000);  // about 0.8 MB
  std::vector<std::string> paths;
  for (int n = 0; n * kFileMegabytes < megabytes; ++n) {
    const std::string path = folder + "/track" + std::to_string(n) + ".mp3";
    std::ofstream out(path, std::ios::binary);
    for (std::size_t written = 0; written < std::size_t{kFileMegabytes} << 20; written += frames.size()) {
      out.write(reinterpret_cast<const char*>(frames.data()), static_cast<std::streamsize>(frames.size()));
    }
    paths.push_back(path);
  }
  return paths;
}

// `cp -r`, and with `sync` after it: every file the program writes reaches
// the disk before it takes its name, which plain `cp` does not wait for.
double Cp(const std::string& from, const std::string& to, bool sync) {
  fs::remove_all(to);
  const std::string command = "cp -r '" + from + "' '" + to + "'" + (sync ? " && sync" : "");
  return bench::Milliseconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cp failed\n");
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int megabytes = argc > 1 ? std::max(std::atoi(argv[1]), kFileMegabytes) : 1024;
  const std::string scratch = (fs::temp_directory_path() / "tonvault-transfer-bench").string();
  fs::remove_all(scratch);
  const std::vector<std::string> album = WriteAlbum(scratch + "/album", megabytes);
  const std::string card = scratch + "/card", back = scratch + "/back";
  fs::create_directories(card);
  fs::create_directories(back);

  bench::QuietSession session;
  session.app.options.njb.uploadPause = false;
  session.app.options.download.existingFiles = 0;
  session.app.options.upload.existingFiles = 0;
  session.app.options.upload.id3v1 = session.app.options.upload.id3v2 = 0;
  device::HeadlessHost host;
  device::DeviceSession player(session.app, host, [&card] { return std::make_unique<device::FolderPlayer>(card); });
  device::PlayerContent content(session.app, player);
  device::TransferRecord window;
  window.After().beep = false;
  device::TransferContext context{session.app, player, content, window};

  std::vector<device::SendItem> items;
  for (std::size_t n = 0; n < album.size(); ++n) {
    device::SendItem item;
    item.path = album[n], item.title = "Track " + std::to_string(n), item.artist = "Bench", item.album = "Album";
    item.sizeKb = std::to_string(kFileMegabytes * 1024);
    items.push_back(item);
  }
  const double cpTo = Cp(scratch + "/album", scratch + "/cp-to", false);
  const double cpToSync = Cp(scratch + "/album", scratch + "/cp-to", true);
  std::vector<int> ids;
  const double send = bench::Milliseconds([&] {
    device::CopyFilesToNjb(context, items, [&ids](std::size_t, const device::AudioInfo& sent) { ids.push_back(sent.id); });
  });
  const std::size_t sent = ids.size();
  const double cpFrom = Cp(card + "/Music", scratch + "/cp-from", false);
  const double cpFromSync = Cp(card + "/Music", scratch + "/cp-from", true);
  const double receive = bench::Milliseconds([&] { device::CopyTracksToPc(context, ids, back + "/"); });
  const std::size_t received = window.Counters().done - static_cast<std::size_t>(window.Counters().errors);

  std::printf("transfer of %zu MP3 files, %d MB each (%.0f MB)\n", album.size(), kFileMegabytes,
              static_cast<double>(album.size()) * kFileMegabytes);
  std::printf("  cp to a folder:          %8.0f ms   with sync %8.0f ms\n", cpTo, cpToSync);
  std::printf("  send to folder player:   %8.0f ms  (%zu sent)  ratio %.2f, to cp + sync %.2f\n", send, sent,
              send / cpTo, send / cpToSync);
  std::printf("  cp from the player:      %8.0f ms   with sync %8.0f ms\n", cpFrom, cpFromSync);
  std::printf("  receive to a folder:     %8.0f ms  (%zu received)  ratio %.2f, to cp + sync %.2f\n", receive,
              received, receive / cpFrom, receive / cpFromSync);
  fs::remove_all(scratch);
  return sent == album.size() && received == album.size() ? 0 : 1;
}
