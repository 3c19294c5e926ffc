#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "audio/analysis/Mp3Analysis.h"
#include "files/FileError.h"
#include "files/ReplaceFile.h"

namespace tonvault::audio {

// What a rebuild drops besides the frames whose records are marked
// `remove`.
struct RebuildRequest {
  bool dropSpaceBefore = false;  // keep only the ID3v2 tag before the first frame
  bool dropSpaceAfter = false;   // keep only the ID3v1 tag after the last record
  bool keepFileDate = false;     // the new file keeps the old modification time
  const files::WriteFault* fault = nullptr;  // tests only
  // Called after each block written with the bytes written so far.
  std::function<void(std::int64_t written)> progress{};
};

enum class RebuildFailure {
  None,
  NotAnalysed,  // the analysis did not finish, or found no frame
  Changed,      // the file changed since it was analysed
  Read,         // the file could not be opened or read
  Write,        // the new file could not be written (full disk, no permission)
  Check,        // the new file did not hold exactly the frames meant to stay
};

struct RebuildResult {
  RebuildFailure failure = RebuildFailure::None;
  files::FileStatus error;  // the file operation's reason, where one is known
  std::int64_t bytesWritten = 0;

  bool Ok() const { return failure == RebuildFailure::None; }
};

// A piece of the original file that the new file keeps.
struct ByteRange {
  std::int64_t start = 0;
  std::int64_t end = 0;
};

// The pieces of the original the new file is made of, in order, adjacent
// pieces joined: the head (the ID3v2 tag, or everything before the first
// frame), every record not marked `remove` (a frame's own bytes, a bad
// place's bytes up to the next record), and the tail (the ID3v1 tag, or
// everything after the last record).
std::vector<ByteRange> KeptRanges(const Mp3Analysis& analysis, const RebuildRequest& request);

// The valid frames the new file must hold, with their positions in it.
std::vector<FrameRecord> ExpectedFrames(const Mp3Analysis& analysis, const RebuildRequest& request);

// Rewrites the analysed file without the parts the request and the
// records' `remove` marks drop. The new stream is written to a temporary
// file beside the original, flushed, scanned again and checked to hold
// exactly the frames meant to stay, and only then renamed over the
// original (keeping its permissions, and its date when asked). The
// original is never renamed away or truncated: any failure leaves it as it
// was and removes the temporary file.
RebuildResult RebuildMp3(const Mp3Analysis& analysis, const RebuildRequest& request);

}  // namespace tonvault::audio
