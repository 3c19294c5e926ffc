#pragma once

#include <cstdint>
#include <string_view>

namespace tonvault::audio {

inline constexpr std::string_view kReadErrorContinue = "Read Error !\n\r\rContinue ?";
inline constexpr std::string_view kReadError = "Read Error !";

// What the MPEG readers need from whoever runs them: the questions after a
// read error and, in analysis mode, the stop request and event pumping. The
// window implements it over its frontend; tools without a user use
// SilentScanHost.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  // Names the file the following reads are about, so that a question can
  // say which file failed. Hosts that ask nothing ignore it.
  virtual void SetFile(std::string_view /*path*/) {}
  // The file could not be opened or its first bytes read. The host asks
  // kReadErrorContinue (Yes/No); No stops the caller's long operation.
  virtual void OpenFailed() = 0;
  // A read failed while searching for the first frame header: kReadError.
  virtual void ReadFailed() = 0;
  // Analysis mode, every 1000 frame records: true when a stop was requested
  // and the user confirmed it.
  virtual bool StopConfirmed() = 0;
  virtual void PumpEvents() = 0;
};

// A host that asks nothing and never stops.
class SilentScanHost : public ScanHost {
 public:
  void OpenFailed() override {}
  void ReadFailed() override {}
  bool StopConfirmed() override { return false; }
  void PumpEvents() override {}
};

// One frame as the analysis page receives it.
struct FrameReport {
  int version = 0;
  int layer = 0;
  int bitrateKbps = 0;
  int sampleRate = 0;
  std::string_view mode;
  int frameLength = 0;
  std::int64_t position = 0;  // absolute offset of the frame header
};

// Receives every frame and bad place of a scan in analysis mode.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual void Begin() = 0;  // a new analysis starts: forget earlier frames
  virtual void Id3v2Tag(std::int64_t totalLength, int majorVersion, int revision) = 0;
  virtual void FirstFrame(std::int64_t position) = 0;
  virtual void Frame(const FrameReport& frame) = 0;
  // The walk lost the frame sequence in the 16-byte window at `walkPosition`.
  virtual void BadPlace(std::int64_t walkPosition) = 0;
};

}  // namespace tonvault::audio
