// The player folder's track index reader over arbitrary bytes: whatever it
// accepts must be written back to text that reads as the same index.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/folder/TrackIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::device;
  const auto index = ParseTrackIndex(std::string(reinterpret_cast<const char*>(data), size));
  if (!index) return 0;
  const std::string written = FormatTrackIndex(*index);
  const auto again = ParseTrackIndex(written);
  if (!again || FormatTrackIndex(*again) != written || again->nextId != index->nextId) __builtin_trap();
  return 0;
}
