#include "audio/analysis/Mp3Rebuild.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "audio/ByteSource.h"
#include "files/OpenFile.h"

namespace tonvault::audio {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Collects pieces in order, clipped to the file and never overlapping the
// piece before, joining adjacent ones.
class RangeList {
 public:
  explicit RangeList(std::int64_t size) : size_(size) {}

  // Returns where the piece starts in the new file (-1 when nothing of it
  // exists).
  std::int64_t Add(std::int64_t start, std::int64_t end) {
    start = std::max(start, last_);
    end = std::min(end, size_);
    if (end <= start) return -1;
    const std::int64_t at = written_;
    if (!ranges_.empty() && ranges_.back().end == start) {
      ranges_.back().end = end;
    } else {
      ranges_.push_back({start, end});
    }
    written_ += end - start;
    last_ = end;
    return at;
  }
  std::vector<ByteRange> Take() { return std::move(ranges_); }

 private:
  std::int64_t size_;
  std::int64_t last_ = 0;
  std::int64_t written_ = 0;
  std::vector<ByteRange> ranges_;
};

// Walks the plan once for both the pieces and the expected frames.
template <class OnFrame>
std::vector<ByteRange> Plan(const Mp3Analysis& analysis, const RebuildRequest& request, OnFrame onFrame) {
  RangeList ranges(analysis.fileSize);
  const auto& records = analysis.frames.Records();
  const std::int64_t first = analysis.FirstFrame();
  const std::int64_t headEnd = request.dropSpaceBefore || first < 0 ? analysis.TagLength() : first;
  ranges.Add(0, headEnd);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const FrameRecord& record = records[i];
    if (record.remove) continue;
    if (!record.IsBad()) {
      const std::int64_t at = ranges.Add(record.position, record.End());
      if (at >= 0) onFrame(record, at);
    } else if (i + 1 < records.size()) {
      ranges.Add(record.position, records[i + 1].position);
    }
  }
  if (!request.dropSpaceAfter) {
    ranges.Add(analysis.RecordsEnd(), analysis.fileSize);
  } else if (analysis.HasId3v1()) {
    ranges.Add(analysis.fileSize - 128, analysis.fileSize);
  }
  return ranges.Take();
}

// Compares the frames a scan of the new file reports with those expected.
class FrameCheck : public FrameSink {
 public:
  explicit FrameCheck(const std::vector<FrameRecord>& expected) : expected_(expected) {}
  void Begin() override {}
  void Id3v2Tag(std::int64_t, int, int) override {}
  void FirstFrame(std::int64_t) override {}
  void BadPlace(std::int64_t) override {}
  void Frame(const FrameReport& frame) override {
    if (next_ >= expected_.size()) {
      matches_ = false;
      return;
    }
    const FrameRecord& want = expected_[next_++];
    matches_ = matches_ && want.position == frame.position && want.length == frame.frameLength &&
               want.version == frame.version && want.layer == frame.layer && want.bitrate == frame.bitrateKbps &&
               want.sampleRate == frame.sampleRate && FrameModeText(want.mode) == frame.mode;
  }
  bool AllFound() const { return matches_ && next_ == expected_.size(); }

 private:
  const std::vector<FrameRecord>& expected_;
  std::size_t next_ = 0;
  bool matches_ = true;
};

bool CopyRanges(int from, const std::vector<ByteRange>& ranges, const files::ContentWriter& write,
                const RebuildRequest& request, std::int64_t& written) {
  std::vector<char> block(kCopyBlock);
  for (const ByteRange& range : ranges) {
    for (std::int64_t at = range.start; at < range.end;) {
      const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(range.end - at, kCopyBlock));
      const ssize_t got = ::pread(from, block.data(), want, at);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;  // a read error, or the file shrank
      if (!write(block.data(), static_cast<std::size_t>(got))) return false;
      at += got;
      written += got;
      if (request.progress) request.progress(written);
    }
  }
  return true;
}

std::int64_t ModifiedNanoseconds(const struct stat& info) {
  return std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
}

}  // namespace

std::vector<ByteRange> KeptRanges(const Mp3Analysis& analysis, const RebuildRequest& request) {
  return Plan(analysis, request, [](const FrameRecord&, std::int64_t) {});
}

std::vector<FrameRecord> ExpectedFrames(const Mp3Analysis& analysis, const RebuildRequest& request) {
  std::vector<FrameRecord> frames;
  Plan(analysis, request, [&frames](const FrameRecord& record, std::int64_t at) {
    frames.push_back(record);
    frames.back().position = at;
  });
  return frames;
}

RebuildResult RebuildMp3(const Mp3Analysis& analysis, const RebuildRequest& request) {
  RebuildResult result;
  if (analysis.outcome != Mp3Analysis::Outcome::Done || analysis.frames.Records().empty()) {
    result.failure = RebuildFailure::NotAnalysed;
    return result;
  }
  files::OpenedFile original;
  if (auto error = files::OpenForReading(analysis.path, original)) {
    result.failure = RebuildFailure::Read;
    result.error = error;
    return result;
  }
  if (original.info.st_size != analysis.fileSize || ModifiedNanoseconds(original.info) != analysis.modifiedNanoseconds) {
    result.failure = RebuildFailure::Changed;
    return result;
  }
  const std::vector<ByteRange> ranges = KeptRanges(analysis, request);
  const std::vector<FrameRecord> expected = ExpectedFrames(analysis, request);

  bool readFailed = false;
  bool checkFailed = false;
  const auto produce = [&](const files::ContentWriter& write) {
    bool writeFailed = false;
    const files::ContentWriter counted = [&](const char* data, std::size_t size) {
      writeFailed = !write(data, size);
      return !writeFailed;
    };
    const bool copied = CopyRanges(original.descriptor.Get(), ranges, counted, request, result.bytesWritten);
    readFailed = !copied && !writeFailed;
    return copied;
  };
  const auto check = [&](int descriptor) -> files::FileStatus {
    struct stat written {};
    if (::fstat(descriptor, &written) != 0) return files::ErrorFromErrno(errno);
    DescriptorSource source(descriptor, written.st_size);
    FrameCheck frames(expected);
    SilentScanHost host;
    ScanOptions options;
    options.fullScan = true;
    options.analysisMode = true;
    const StreamScanResult scan = ScanMpegStream(&source, options, host, &frames);
    if (scan.result < 0 || !frames.AllFound()) {
      checkFailed = true;
      return files::FileError{files::Failure::ReadFailed, 0};
    }
    if (request.keepFileDate) {
      const timespec times[2] = {{0, UTIME_OMIT}, original.info.st_mtim};
      ::futimens(descriptor, times);
    }
    return std::nullopt;
  };
  result.error = files::ReplaceFileChecked(analysis.path, produce, check, request.fault);
  if (!result.error) {
    if (request.keepFileDate) {
      // A file with several links is rewritten through its own inode, which
      // dates it anew.
      const timespec times[2] = {{0, UTIME_OMIT}, original.info.st_mtim};
      ::utimensat(AT_FDCWD, analysis.path.c_str(), times, 0);
    }
    return result;
  }
  result.failure = checkFailed ? RebuildFailure::Check : readFailed ? RebuildFailure::Read : RebuildFailure::Write;
  return result;
}

}  // namespace tonvault::audio
