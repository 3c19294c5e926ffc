#pragma once

// Helpers shared by the player tests: a small MPEG file to send, and an
// event sink that records what a pump delivered.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "device/DeviceEvents.h"
#include "support/MpegSynth.h"

namespace tonvault::device::test {

// Writes a short MPEG-1 layer III file (no tag) and returns its path.
inline std::string WriteMp3(const std::string& path, int frames = 20) {
  const testing::Bytes bytes = testing::Frames(testing::FrameShape{}, frames);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Records every event as one line.
class RecordingSink : public DeviceEventSink {
 public:
  std::vector<std::string> events;
  void OnSendProgress(int percent) override { events.push_back("send " + std::to_string(percent)); }
  void OnSendCompleted(Status status, int id) override {
    events.push_back("sent " + std::to_string(status) + " id " + std::to_string(id));
  }
  void OnReceiveProgress(int percent) override { events.push_back("receive " + std::to_string(percent)); }
  void OnReceiveCompleted(Status status) override { events.push_back("received " + std::to_string(status)); }
  void OnRemoval() override { events.push_back("removal"); }
  void OnMessage(const std::string& text) override { events.push_back("message " + text); }
  std::string Last() const { return events.empty() ? "" : events.back(); }
};

}  // namespace tonvault::device::test
