#include "device/Backends.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "device/folder/FolderPlayer.h"
#include "device/folder/PlayerStore.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/Folders.h"
#ifdef TONVAULT_HAVE_NJB
#include "device/njb/NjbLibrary.h"
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

// A library whose content lives in a folder of this run only: the folder
// goes when the library does, after the player in it has been closed.
class OneRunLibrary : public DeviceLibrary {
 public:
  OneRunLibrary(std::unique_ptr<DeviceLibrary> library, std::string folder)
      : library_(std::move(library)), folder_(std::move(folder)) {}
  ~OneRunLibrary() override {
    library_.reset();
    files::RemoveFolder(folder_);
  }
  OneRunLibrary(const OneRunLibrary&) = delete;
  OneRunLibrary& operator=(const OneRunLibrary&) = delete;

  int CountDevices(int kind) override { return library_->CountDevices(kind); }
  Status SelectDevice(int& selection) override { return library_->SelectDevice(selection); }
  Device& GetDevice() override { return library_->GetDevice(); }
  EventQueue& Events() override { return library_->Events(); }
  DeviceInfo GetVersionInfo() override { return library_->GetVersionInfo(); }

 private:
  std::unique_ptr<DeviceLibrary> library_;
  std::string folder_;
};

constexpr const char* kSimulatedFolderName = "tonvault-simulated-player";

// Whether `path` is the user's private runtime folder: an absolute path
// naming a folder itself (not a link) of the effective user with mode 0700.
bool IsPrivateRuntimeFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && path.front() == '/' && ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

// Why `path` cannot hold the simulated player, or empty when it can: it
// must be a folder itself (a link is never followed), belong to the
// effective user and give nobody else any permission.
std::string WhyNotPrivate(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return std::string("it cannot be examined: ") + std::strerror(errno);
  if (S_ISLNK(info.st_mode)) return "it is a symbolic link";
  if (!S_ISDIR(info.st_mode)) return "it is not a folder";
  if (info.st_uid != ::geteuid()) return "it belongs to user " + std::to_string(info.st_uid);
  if ((info.st_mode & 077) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return std::string("other users may use it (mode ") + mode + ")";
  }
  return {};
}

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

SimulatedFolder SimulatedPlayerFolder(const std::string& runtimeFolder, const std::string& tempFolder) {
  const bool runtime = IsPrivateRuntimeFolder(runtimeFolder);
  const std::string base = runtime ? runtimeFolder : tempFolder;
  const std::string uid = std::to_string(::geteuid());
  const std::string usual = base + "/" + kSimulatedFolderName + (runtime ? "" : "-" + uid);
  // A folder of that name already there is checked like a new one; mkdir
  // never follows a link in the way, not even one leading nowhere.
  std::string why;
  if (::mkdir(usual.c_str(), 0700) != 0 && errno != EEXIST) {
    why = std::string("it cannot be made: ") + std::strerror(errno);
  } else {
    why = WhyNotPrivate(usual);
  }
  if (why.empty()) return {usual, false, {}};

  std::string fresh = base + "/" + kSimulatedFolderName + "-" + uid + "-XXXXXX";
  const bool made = ::mkdtemp(fresh.data()) != nullptr;
  const std::string failure = made ? WhyNotPrivate(fresh) : std::strerror(errno);
  const std::string notUsed = "The simulated player's folder \"" + usual + "\" is not used (" + why + ")";
  if (!failure.empty()) {
    return {{}, false, notUsed + " and no private folder could be made in \"" + base + "\": " + failure + "."};
  }
  return {fresh, true, notUsed + ": this run keeps the player in \"" + fresh + "\", removed at the end."};
}

SimulatedFolder SimulatedPlayerFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  std::string temp = std::filesystem::temp_directory_path(error).string();
  if (error) temp = "/tmp";
  return SimulatedPlayerFolder(runtime != nullptr ? runtime : "", temp);
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
      const SimulatedFolder folder = SimulatedPlayerFolder();
      // The only word the device layer has before any window or command
      // runs: one line on the standard error.
      if (!folder.notice.empty()) std::cerr << folder.notice << '\n';
      if (folder.path.empty()) return nullptr;
      const int kind = where.choice == PlayerChoice::SimulatedJukebox ? kKindJukebox : kKindNomadII;
      auto player = std::make_unique<SimulatedPlayer>(folder.path, std::vector<int>{kind});
      if (!folder.fresh) return player;
      return std::make_unique<OneRunLibrary>(std::move(player), folder.path);
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
