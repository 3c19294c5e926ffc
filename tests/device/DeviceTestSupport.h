#pragma once

// Helpers shared by the player tests: a small MPEG file to send, and an
// event sink that records what a pump delivered.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceEvents.h"
#include "device/content/PlayerContent.h"
#include "device/folder/TrackIndex.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/ReplaceFile.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

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

// Writes the library index of a player memory at `root` directly: the
// tracks need no files.
inline void WritePlayerIndex(const std::string& root, const std::vector<AudioInfo>& tracks) {
  std::filesystem::create_directories(root + "/.tonvault-player");
  TrackIndex index;
  for (AudioInfo info : tracks) {
    info.id = index.TakeId();
    index.tracks[info.id] = IndexedTrack{"Music/" + info.fileName, info};
  }
  EXPECT_FALSE(files::WriteWholeFile(root + "/.tonvault-player/index.txt", FormatTrackIndex(index)));
}

// The program's state with a simulated Jukebox, its session and content.
// The player's library index is written directly: its tracks need no files.
struct PlayerTestBed {
  void Attach(const std::vector<AudioInfo>& tracks) {
    WritePlayerIndex(temp.Path() + "/jukebox-internal", tracks);
    auto made = std::make_unique<SimulatedPlayer>(temp.Path(), std::vector<int>{kKindJukebox});
    player = made.get();
    auto taken = std::make_shared<std::unique_ptr<SimulatedPlayer>>(std::move(made));
    session = std::make_unique<DeviceSession>(app, host, [taken] { return std::move(*taken); });
    content = std::make_unique<PlayerContent>(app, *session);
  }

  tonvault::testing::TempFolder temp;
  tonvault::testing::ScriptedFrontend frontend;
  catalogue::Application app{frontend};
  HeadlessHost host;
  SimulatedPlayer* player = nullptr;
  std::unique_ptr<DeviceSession> session;
  std::unique_ptr<PlayerContent> content;
};

}  // namespace tonvault::device::test
