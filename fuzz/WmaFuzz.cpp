// The WMA header reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "audio/WmaHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvault::audio::MemoryByteSource source({data, size});
  (void)tonvault::audio::ReadWmaHeader(&source);
  return 0;
}
