#pragma once

#include <cstdint>
#include <string>

#include "audio/ByteSource.h"
#include "audio/ScanHost.h"

namespace tonvault::audio {

// The first frame header of an MPEG audio file, found by the quick read.
struct MpegHeaderInfo {
  bool hasId3v2 = false;
  bool error = false;  // unreadable, or no frame header anywhere
  std::string versionLayerText;
  std::string modeText;
  std::int64_t fileSize = 0;
  std::int64_t audioBytes = 0;  // file size minus the whole ID3v2 tag at the start
  int bitrateKbps = 0;
  int sampleRate = 0;
  int version = 0;
  int layer = 0;
};

// Where the audio starts: after an ID3v2 tag at the file start (the first
// bytes begin with "ID3"), else 0. `first` holds at least the first 10
// bytes of the file when there are that many.
std::int64_t AudioStart(const std::uint8_t* first, std::size_t count);

// Skips an ID3v2 tag and takes the first 4 bytes that pass IsFrameHeader,
// searching 4 KB windows that overlap by three bytes. `source` is null when
// the file could not be opened.
MpegHeaderInfo ReadMpegHeader(ByteSource* source, ScanHost& host);
MpegHeaderInfo ReadMpegHeader(const std::string& path, ScanHost& host);

}  // namespace tonvault::audio
