// The WAV header reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "audio/WavHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvault::audio::MemoryByteSource source({data, size});
  (void)tonvault::audio::ReadWavHeader(&source);
  return 0;
}
