#pragma once

#include <string>
#include <vector>

#include "audio/ScanHost.h"

namespace tonvault::testing {

// A scan host that counts what the scan asked and can confirm a stop.
struct RecordingHost : audio::ScanHost {
  int openFailures = 0, readFailures = 0, stopChecks = 0, pumps = 0;
  int confirmStopAtCheck = 0;  // 1-based; 0 never
  void OpenFailed() override { ++openFailures; }
  void ReadFailed() override { ++readFailures; }
  bool StopConfirmed() override { return ++stopChecks == confirmStopAtCheck; }
  void PumpEvents() override { ++pumps; }
};

// A frame sink that keeps everything it is told, one line per call.
struct RecordingSink : audio::FrameSink {
  std::vector<std::string> lines;
  std::vector<audio::FrameReport> frames;
  void Begin() override { lines.push_back("begin"); }
  void Id3v2Tag(std::int64_t length, int major, int revision) override {
    lines.push_back("tag " + std::to_string(length) + " 2." + std::to_string(major) + "." + std::to_string(revision));
  }
  void FirstFrame(std::int64_t position) override { lines.push_back("first " + std::to_string(position)); }
  void Frame(const audio::FrameReport& frame) override { frames.push_back(frame); }
  void BadPlace(std::int64_t position) override { lines.push_back("bad " + std::to_string(position)); }
};

}  // namespace tonvault::testing
