// The ID3v2 reader and frame lister over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "audio/Id3v2Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvault::audio::MemoryByteSource source({data, size});
  (void)tonvault::audio::ReadId3v2Tag(&source);
  const auto list = tonvault::audio::ListId3v2Frames(&source);
  if (list.rows.size() != list.keptFrames.size()) __builtin_trap();
  return 0;
}
