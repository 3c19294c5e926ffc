#pragma once

#include <cstdint>
#include <string>

#include "audio/ByteSource.h"
#include "audio/ScanHost.h"

namespace tonvault::audio {

// How a stream scan runs; callers fill it from their settings.
struct ScanOptions {
  int toleratedErrors = 0;   // bad places allowed before the file is corrupt
  bool fullScan = false;     // walk every frame, even of a constant-bitrate file
  bool analysisMode = false; // report every frame to the FrameSink
  int cbrSeconds = 2;        // constant bitrate is decided after cbrSeconds × 40 frames
  bool readVbrHeader = true; // accept a Xing or VBRI header in the first frame
};

struct StreamScanResult {
  std::int32_t bitrate = 0;     // average, bit/s
  std::int32_t sampleRate = 0;  // Hz
  bool vbr = false;
  bool corrupt = false;
  std::string versionLayerText;
  std::string modeText;
  std::int32_t badPlaces = 0;
  std::int64_t audioBytes = 0;  // file size minus the whole ID3v2 tag at the start
  std::int32_t result = 0;      // 0, or -1 when the file could not be opened or read
  bool stopped = false;         // analysis mode: the user confirmed a stop; the records are partial
  // Diagnostics beyond what callers store: frames walked, and the frame and
  // byte counts of an accepted VBR header (0 when none was accepted).
  std::int64_t validFrames = 0;
  std::int64_t vbrHeaderFrames = 0;
  std::int64_t vbrHeaderBytes = 0;
};

// Walks the frames of an MPEG audio stream 16 bytes at a time from the end
// of an ID3v2 tag, counting the places where the frame sequence is lost,
// and decides constant or variable bitrate. `source` is null when the file
// could not be opened; `sink` receives frames in analysis mode (may be null).
StreamScanResult ScanMpegStream(ByteSource* source, const ScanOptions& options, ScanHost& host,
                                FrameSink* sink = nullptr);
StreamScanResult ScanMpegStream(const std::string& path, const ScanOptions& options, ScanHost& host,
                                FrameSink* sink = nullptr);

}  // namespace tonvault::audio
