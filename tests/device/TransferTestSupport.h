#pragma once

// A simulated player with real files, a scripted frontend and a recorded
// Transfer Status window, shared by the tests of both transfer directions.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/Id3v1.h"
#include "catalogue/Application.h"
#include "device/DeviceTestSupport.h"
#include "device/content/PlayerContent.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "device/transfer/TransferContext.h"
#include "device/transfer/TransferRecord.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::device::test {

// The headless host, passing the transfers' percent on to the window.
class RecordingHost : public HeadlessHost {
 public:
  explicit RecordingHost(TransferRecord& window) : window_(window) {}
  void ShowTransferProgress(int percent) override { window_.SetPercent(percent, false); }

 private:
  TransferRecord& window_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void AppendBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// The names in a folder (hidden ones included), sorted.
inline std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class TransferFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Pc());
    Attach(kKindJukebox);
    window_.After().beep = false;
  }

  void Attach(int kind) {
    auto player = std::make_unique<SimulatedPlayer>(temp_.Path() + "/player", std::vector<int>{kind});
    std::filesystem::create_directories(temp_.Path() + "/player");
    player_ = player.get();
    auto taken = std::make_shared<std::unique_ptr<SimulatedPlayer>>(std::move(player));
    session_ = std::make_unique<DeviceSession>(app_, host_, [taken] { return std::move(*taken); });
    content_ = std::make_unique<PlayerContent>(app_, *session_);
    context_ = std::make_unique<TransferContext>(TransferContext{app_, *session_, *content_, window_});
  }

  std::string Pc() const { return temp_.Path() + "/pc/"; }
  // An MP3 file on the computer, with an ID3v1 tag when `tagged`.
  std::string Mp3(const std::string& name, int frames = 200, bool tagged = false) {
    const std::string path = WriteMp3(Pc() + name, frames);
    if (tagged) {
      audio::Id3v1Fields fields;
      fields.title = "Tagged";
      AppendBytes(path, audio::EncodeId3v1Tag(fields));
    }
    return path;
  }
  std::vector<std::string> States() const {
    std::vector<std::string> states;
    for (const TransferRow& row : window_.Rows()) states.push_back(row.state);
    return states;
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }
  int CallCount(const std::string& call) const {
    const auto& calls = player_->Calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  testing::TempFolder temp_;
  testing::ScriptedFrontend frontend_;
  catalogue::Application app_{frontend_};
  TransferRecord window_;
  RecordingHost host_{window_};
  SimulatedPlayer* player_ = nullptr;
  std::unique_ptr<DeviceSession> session_;
  std::unique_ptr<PlayerContent> content_;
  std::unique_ptr<TransferContext> context_;
};

}  // namespace tonvault::device::test
