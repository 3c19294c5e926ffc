#include "audio/analysis/Mp3Analysis.h"

#include <sys/stat.h>

#include "audio/Id3v1.h"
#include "audio/Rounding.h"

namespace tonvault::audio {

std::int64_t Mp3Analysis::SpaceBefore() const {
  const std::int64_t first = FirstFrame();
  return first >= 0 && TagLength() < first ? first - TagLength() : 0;
}

std::int64_t Mp3Analysis::RecordsEnd() const {
  const auto& records = frames.Records();
  return records.empty() ? 0 : records.back().End();
}

std::int64_t Mp3Analysis::SpaceAfter() const {
  if (frames.Records().empty()) return 0;
  const std::int64_t end = RecordsEnd();
  return end < SizeWithoutId3v1() ? SizeWithoutId3v1() - end : 0;
}

std::int64_t Mp3Analysis::PlayingSeconds() const {
  if (scan.bitrate < 1) return 0;
  return RoundHalfEven(static_cast<double>(scan.audioBytes) / scan.bitrate * 8.0);
}

Mp3Analysis AnalyzeMp3(const std::string& path, int toleratedErrors, ScanHost& host) {
  Mp3Analysis analysis;
  analysis.path = path;
  host.SetFile(path);
  auto source = FileByteSource::Open(path);
  if (source == nullptr) {
    struct stat info {};
    analysis.outcome = ::stat(path.c_str(), &info) == 0 ? Mp3Analysis::Outcome::Unreadable
                                                          : Mp3Analysis::Outcome::NotFound;
    if (analysis.outcome == Mp3Analysis::Outcome::Unreadable) host.OpenFailed();
    return analysis;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    analysis.modifiedNanoseconds = std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
  }
  analysis.fileSize = source->Size();
  analysis.id3v1Version = ReadId3v1Tag(source.get()).version;
  ScanOptions options;
  options.toleratedErrors = toleratedErrors;
  options.fullScan = true;
  options.analysisMode = true;
  analysis.frames.ExpectAudioBytes(analysis.fileSize);
  analysis.scan = ScanMpegStream(source.get(), options, host, &analysis.frames);
  analysis.outcome = analysis.scan.result < 0 ? Mp3Analysis::Outcome::Unreadable
                     : analysis.scan.stopped  ? Mp3Analysis::Outcome::Stopped
                                              : Mp3Analysis::Outcome::Done;
  return analysis;
}

}  // namespace tonvault::audio
