// Feeds arbitrary bytes to the quick header read and to the stream scan in
// every mode. The first byte chooses the scan options; the rest is the file.
#include <cstddef>
#include <cstdint>

#include "audio/MpegHeader.h"
#include "audio/StreamScan.h"

namespace {

struct CountingSink : tonvault::audio::FrameSink {
  std::int64_t reports = 0;
  void Begin() override {}
  void Id3v2Tag(std::int64_t, int, int) override {}
  void FirstFrame(std::int64_t) override {}
  void Frame(const tonvault::audio::FrameReport& frame) override { reports += frame.frameLength > 0; }
  void BadPlace(std::int64_t) override { ++reports; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::audio;
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  MemoryByteSource source({data + 1, size - 1});
  SilentScanHost host;
  (void)ReadMpegHeader(&source, host);

  ScanOptions options;
  options.toleratedErrors = choice & 0x03;
  options.fullScan = (choice & 0x04) != 0;
  options.analysisMode = (choice & 0x08) != 0;
  options.readVbrHeader = (choice & 0x10) != 0;
  options.cbrSeconds = 1 + (choice >> 5);
  CountingSink sink;
  (void)ScanMpegStream(&source, options, host, &sink);
  return 0;
}
