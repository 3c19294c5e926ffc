// The player folder's track index reader over arbitrary bytes: whatever it
// accepts must be written back to text that reads as the same index; what
// a damaged index still gives never hands out an ID twice; the journal
// reads back what it writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/folder/CardJournal.h"
#include "device/folder/TrackIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::device;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TrackIndex salvaged = SalvageTrackIndex(bytes);
  for (const auto& [id, track] : salvaged.tracks) {
    if (id >= salvaged.nextId) __builtin_trap();
  }
  for (const auto& [id, file] : salvaged.dataFiles) {
    if (id >= salvaged.nextId) __builtin_trap();
  }
  if (const auto journal = ParseJournal(bytes)) {
    if (ParseJournal(FormatJournal(*journal)) != journal) __builtin_trap();
  }
  const auto index = ParseTrackIndex(bytes);
  if (!index) return 0;
  const std::string written = FormatTrackIndex(*index);
  const auto again = ParseTrackIndex(written);
  if (!again || FormatTrackIndex(*again) != written || again->nextId != index->nextId) __builtin_trap();
  return 0;
}
