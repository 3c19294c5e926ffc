// Feeds arbitrary bytes to the analysis (frame records and groups) and
// plans a repair of them: the pieces a rebuild would copy must lie inside
// the file, in order, and the expected frames inside the new file. The
// first byte chooses what the repair drops; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/analysis/Mp3Analysis.h"
#include "audio/analysis/Mp3Rebuild.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::audio;
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  MemoryByteSource source({data + 1, size - 1});
  SilentScanHost host;
  Mp3Analysis analysis;
  analysis.fileSize = source.Size();
  analysis.id3v1Version = (choice & 0x10) != 0 && analysis.fileSize >= 128 ? 10 : 0;
  ScanOptions options;
  options.fullScan = true;
  options.analysisMode = true;
  analysis.scan = ScanMpegStream(&source, options, host, &analysis.frames);
  std::size_t i = 0;
  for (FrameRecord& record : analysis.frames.Records()) record.remove = ((choice >> 2) & 3) == (i++ & 3);

  RebuildRequest request;
  request.dropSpaceBefore = (choice & 1) != 0;
  request.dropSpaceAfter = (choice & 2) != 0;
  std::int64_t last = 0;
  std::int64_t total = 0;
  for (const ByteRange& range : KeptRanges(analysis, request)) {
    if (range.start < last || range.end <= range.start || range.end > analysis.fileSize) std::abort();
    last = range.end;
    total += range.end - range.start;
  }
  for (const FrameRecord& frame : ExpectedFrames(analysis, request)) {
    if (frame.position < 0 || frame.position >= total) std::abort();
  }
  (void)analysis.SpaceBefore();
  (void)analysis.SpaceAfter();
  (void)analysis.PlayingSeconds();
  return 0;
}
