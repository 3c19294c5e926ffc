#pragma once

#include <cstdint>
#include <string>

#include "audio/StreamScan.h"
#include "audio/analysis/FrameRecords.h"

namespace tonvault::audio {

// Everything known of one analysed MPEG audio file: its frame records and
// groups, its tags and the figures the repair works from.
struct Mp3Analysis {
  enum class Outcome { Done, NotFound, Unreadable, Stopped };

  std::string path;
  Outcome outcome = Outcome::NotFound;
  std::int64_t fileSize = 0;
  std::int64_t modifiedNanoseconds = 0;  // the file's date when analysed; a fix refuses a file changed since
  int id3v1Version = 0;                  // 10, 11, or 0 without a tag
  StreamScanResult scan;
  FrameAnalysis frames;

  bool HasId3v1() const { return id3v1Version != 0; }
  // The ID3v2 tag's total length, 0 without one.
  std::int64_t TagLength() const { return frames.Id3v2Length(); }
  std::int64_t FirstFrame() const { return frames.FirstFrame(); }
  // Bytes between the ID3v2 tag and the first valid frame.
  std::int64_t SpaceBefore() const;
  // The file size without an ID3v1 tag.
  std::int64_t SizeWithoutId3v1() const { return fileSize - (HasId3v1() ? 128 : 0); }
  // The end of the last frame record (0 without records).
  std::int64_t RecordsEnd() const;
  // Bytes between the last record and the end (or the ID3v1 tag).
  std::int64_t SpaceAfter() const;
  // round(audio bytes / bitrate × 8), 0 when the bitrate is below 1 bit/s.
  std::int64_t PlayingSeconds() const;
};

// Analyses one file: its ID3v1 tag, then a full stream scan in analysis
// mode with `toleratedErrors`. The scan asks `host` about read errors and,
// every 1000 records, about a stop request.
Mp3Analysis AnalyzeMp3(const std::string& path, int toleratedErrors, ScanHost& host);

}  // namespace tonvault::audio
