// A whole card from arbitrary bytes: the input is the card's index, and
// every player operation on its tracks (receive, tag, delete, rebuild)
// must leave the files beside the card exactly as they were, however the
// index names its paths.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/folder/PlayerStore.h"
#include "files/RenameFile.h"
#include "files/ReplaceFile.h"

namespace {

namespace fs = std::filesystem;

struct Place {
  std::string top, card, outside, out;
  Place() {
    char pattern[] = "/tmp/tonvault-card-fuzz-XXXXXX";
    top = ::mkdtemp(pattern);
    card = top + "/card";
    outside = top + "/outside";
    out = top + "/out";
    for (const std::string& folder : {card, outside, out}) fs::create_directories(folder);
    std::ofstream(outside + "/victim.mp3") << std::string(4096, '\xFF');
    fs::create_symlink("../outside", card + "/up");
  }
  ~Place() {
    std::error_code ignored;
    fs::remove_all(top, ignored);
  }
};

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault;
  static const Place place;  // one card for the whole run
  static const std::string victim = Contents(place.outside + "/victim.mp3");
  fs::create_directories(place.card + "/" + device::PlayerStore::kLibraryFolder);
  files::WriteWholeFile(place.card + "/.tonvault-player/index.txt",
                        std::string(reinterpret_cast<const char*>(data), size));
  {
    device::PlayerStore store(place.card);
    if (store.Open() == device::kOk) {
      std::vector<int> ids;
      for (const auto& [id, track] : store.Index().tracks) ids.push_back(id);
      for (int id : ids) {
        const auto& track = store.Index().tracks.at(id);
        store.CopyOut(track.relativePath, place.out + "/" + std::to_string(id));
        device::AudioInfo info = track.info;
        info.title = "changed";
        store.SetTrackInfo(id, info);
        store.DeleteTrack(id);
      }
      store.Rebuild();
    }
  }
  if (Contents(place.outside + "/victim.mp3") != victim) __builtin_trap();
  // Nothing new appeared beside the victim either.
  if (std::distance(fs::directory_iterator(place.outside), fs::directory_iterator()) != 1) __builtin_trap();
  files::RemoveFolderContents(place.out);
  return 0;
}
