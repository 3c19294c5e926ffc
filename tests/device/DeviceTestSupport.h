#pragma once

// Helpers shared by the player tests: a small MPEG file to send, an event
// sink that records what a pump delivered, a player's library index written
// directly, and the fixture that connects the program to a player.

#include <gtest/gtest.h>

#include <algorithm>
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

// An MP3 track of 4,000,000 bytes named after its title; the tests add the
// length and numbers they need.
inline AudioInfo Mp3Track(const std::string& title, const std::string& artist = "Artist",
                          const std::string& album = "Album") {
  AudioInfo info;
  info.title = title, info.artist = artist, info.album = album;
  info.codec = "MP3", info.fileName = title + ".mp3", info.fileSize = 4'000'000;
  return info;
}

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

// The program's state around one player: the scratch folder, the scripted
// frontend, the application, the session's host, the session and the
// player's content. A test's fixture derives from it (`Base` is the gtest
// base, `TestWithParam` for suites run over several players; `Host` the
// session's host) and builds the objects of the page it tests in Use.
template <class Base = ::testing::Test, class Host = HeadlessHost>
class PlayerFixture : public Base {
 protected:
  // The folder of a simulated player's memory.
  std::string MemoryRoot(int kind, int memory = 0) const {
    return temp_.Path() + (kind == kKindNomadII ? "/nomad2-" : "/jukebox-") + (memory == 0 ? "internal" : "external");
  }
  // A simulated player of `kind` whose memory `memory` holds `tracks`.
  SimulatedPlayer& AttachSimulated(int kind, const std::vector<AudioInfo>& tracks, int memory = 0) {
    WritePlayerIndex(MemoryRoot(kind, memory), tracks);
    return UseSimulated({kind});
  }
  // A simulated player with the kinds `attached` plugged in.
  SimulatedPlayer& UseSimulated(std::vector<int> attached) {
    auto made = std::make_unique<SimulatedPlayer>(temp_.Path(), std::move(attached));
    player_ = made.get();
    Use(std::move(made));
    return *player_;
  }
  // Connects the program to `library`: a new session and content over it.
  // A fixture that builds objects over the session overrides this, drops
  // them before calling it and builds them again after.
  virtual void Use(std::unique_ptr<DeviceLibrary> library) {
    auto taken = std::make_shared<std::unique_ptr<DeviceLibrary>>(std::move(library));
    content_.reset();
    session_ = std::make_unique<DeviceSession>(app_, host_, [taken] { return std::move(*taken); });
    content_ = std::make_unique<PlayerContent>(app_, *session_);
  }
  // How often the simulated player was called with `call`.
  int CallCount(const std::string& call) const {
    const auto& calls = player_->Calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  tonvault::testing::TempFolder temp_;
  tonvault::testing::ScriptedFrontend frontend_;
  catalogue::Application app_{frontend_};
  Host host_;
  SimulatedPlayer* player_ = nullptr;  // null over any other player
  std::unique_ptr<DeviceSession> session_;
  std::unique_ptr<PlayerContent> content_;
};

}  // namespace tonvault::device::test
