// Target names of tracks received from the player, over arbitrary bytes:
// the player's file name, title, codec, artist, the separator and the
// substitute divided by 0x01 bytes; the first byte picks the renaming. A
// target always names a file directly inside the chosen folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/FillRow.h"
#include "catalogue/Options.h"
#include "device/transfer/UploadFileName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault;
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> parts(6);
  std::size_t part = 0;
  for (const char c : input) {
    if (c == '\x01' && part + 1 < parts.size()) ++part;
    else parts[part] += c;
  }
  device::DeviceTrack track;
  track.fileName = parts[0], track.title = parts[1], track.codec = parts[2], track.artist = parts[3];
  track.album = parts[1], track.trackNumber = data[0], track.year = data[0] * 7;
  catalogue::Options options;
  options.upload.renaming = data[0] & 1;
  options.rename.separator = parts[4];
  options.rename.substitute = parts[5];
  options.rename.order = {" Track ", " Artist ", " Album ", " Title ", catalogue::kItemSeparator, "", "", ""};
  const std::string folder = "/music/in/";
  const std::string target = device::UploadFileName(folder, track, options);
  const std::string name = target.substr(folder.size());
  if (!target.starts_with(folder) || catalogue::FolderOf(target) != folder || name.empty() || name.front() == '.' ||
      name.find('\0') != std::string::npos) {
    __builtin_trap();
  }
  return 0;
}
