// The two playlist readers over arbitrary bytes: a playlist file (.TVP)
// must read without harm and write back to a file that reads the same, and
// whatever a player folder's playlist list accepts must be written back to
// text that reads as the same list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/folder/PlaylistStore.h"
#include "device/playlists/PlaylistFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::device;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const PlaylistFileContent content = DecodePlaylistFile(bytes);
  const std::string written = EncodePlaylistFile(content);
  if (EncodePlaylistFile(DecodePlaylistFile(written)) != written) __builtin_trap();

  const auto list = ParsePlaylistList(bytes);
  if (!list) return 0;
  const std::string text = FormatPlaylistList(*list);
  const auto again = ParsePlaylistList(text);
  if (!again || FormatPlaylistList(*again) != text) __builtin_trap();
  return 0;
}
