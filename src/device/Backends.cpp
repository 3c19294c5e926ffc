#include "device/Backends.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/folder/FolderPlayer.h"
#include "device/folder/PlayerStore.h"
#include "device/simulated/SimulatedPlayer.h"
#ifdef TONVAULT_HAVE_NJB
#include "device/njb/NjbLibrary.h"
#include "files/Folders.h"
#endif

namespace tonvault::device {
namespace {

// The automatic choice: asks each candidate in turn whenever the players
// are counted, and hands out the device and events of the first one that
// has a player attached.
class AutomaticLibrary : public DeviceLibrary {
 public:
  int CountDevices(int kind) override {
    if (kind == kKindJukebox) Probe();
    return current_ ? current_->CountDevices(kind) : 0;
  }
  Status SelectDevice(int& selection) override { return current_ ? current_->SelectDevice(selection) : kOk; }
  Device& GetDevice() override {
    if (!current_) Probe();
    return current_->GetDevice();
  }
  EventQueue& Events() override { return current_ ? current_->Events() : DeviceLibrary::Events(); }
  DeviceInfo GetVersionInfo() override {
    if (current_) return current_->GetVersionInfo();
    DeviceInfo info;
    info.backend = NjbBackendBuilt() ? "automatic (libnjb, player folders)" : "automatic (player folders)";
    return info;
  }

 private:
  void Probe() {
    std::vector<std::unique_ptr<DeviceLibrary>> candidates;
#ifdef TONVAULT_HAVE_NJB
    candidates.push_back(std::make_unique<NjbLibrary>());
#endif
    for (const std::string& folder : FindPlayerFolders()) candidates.push_back(std::make_unique<FolderPlayer>(folder));
    for (auto& candidate : candidates) {
      if (candidate->CountDevices(kKindJukebox) + candidate->CountDevices(kKindNomadII) > 0) {
        current_ = std::move(candidate);
        return;
      }
    }
    // Nothing attached: a folder player on no folder counts none.
    current_ = std::make_unique<FolderPlayer>("");
  }

  std::unique_ptr<DeviceLibrary> current_;
};

}  // namespace

std::optional<PlayerAddress> ParsePlayerAddress(const std::string& text) {
  if (text == "auto") return PlayerAddress{};
  if (text == "njb") return PlayerAddress{PlayerChoice::Njb, {}};
  if (text == "simulated:jukebox") return PlayerAddress{PlayerChoice::SimulatedJukebox, {}};
  if (text == "simulated:nomad2") return PlayerAddress{PlayerChoice::SimulatedNomadII, {}};
  if (text.rfind("folder:", 0) == 0 && text.size() > 7) return PlayerAddress{PlayerChoice::Folder, text.substr(7)};
  return std::nullopt;
}

PlayerAddress AddressFromOptions(const catalogue::DeviceOptions& options) {
  switch (options.player) {
    case 1: return {PlayerChoice::Folder, options.folder};
    case 2: return {PlayerChoice::SimulatedJukebox, {}};
    case 3: return {PlayerChoice::SimulatedNomadII, {}};
    default: return {};
  }
}

std::string SimulatedPlayerFolder() {
  return (std::filesystem::temp_directory_path() / ("tonvault-simulated-player-" + std::to_string(::getuid())))
      .string();
}

std::vector<std::string> FindPlayerFolders() {
  std::vector<std::string> folders;
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint;
    fields >> device >> mountPoint;
    const bool removable = mountPoint.rfind("/media/", 0) == 0 || mountPoint.rfind("/run/media/", 0) == 0 ||
                           mountPoint.rfind("/mnt/", 0) == 0;
    std::error_code error;
    if (removable && std::filesystem::is_directory(mountPoint + "/" + PlayerStore::kLibraryFolder, error)) {
      folders.push_back(mountPoint);
    }
  }
  return folders;
}

bool NjbBackendBuilt() {
#ifdef TONVAULT_HAVE_NJB
  return true;
#else
  return false;
#endif
}

std::unique_ptr<DeviceLibrary> FindBackends(const PlayerAddress& where) {
  switch (where.choice) {
    case PlayerChoice::Automatic: return std::make_unique<AutomaticLibrary>();
    case PlayerChoice::Folder: return std::make_unique<FolderPlayer>(where.folder);
    case PlayerChoice::SimulatedJukebox:
    case PlayerChoice::SimulatedNomadII: {
      const std::string folder = SimulatedPlayerFolder();
      if (files::MakeFolders(folder)) return nullptr;
      const int kind = where.choice == PlayerChoice::SimulatedJukebox ? kKindJukebox : kKindNomadII;
      return std::make_unique<SimulatedPlayer>(folder, std::vector<int>{kind});
    }
    case PlayerChoice::Njb:
#ifdef TONVAULT_HAVE_NJB
      return std::make_unique<NjbLibrary>();
#else
      return nullptr;
#endif
  }
  return nullptr;
}

}  // namespace tonvault::device
