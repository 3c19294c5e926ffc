#include <iostream>

#include "cli/Commands.h"
#include "cli/JsonLines.h"
#include "cli/Session.h"
#include "device/Backends.h"
#include "device/session/DeviceSession.h"

namespace tonvault::cli {
namespace {

constexpr const char* kPlayerUsage =
    "Usage: tonvault-cli player info [--player folder:PATH|simulated:jukebox|simulated:nomad2|njb|auto]\n";

// Without a window there is nothing to shape and no timer to run: the
// player is closed at the end of each command.
class NoWindow : public device::SessionHost {
 public:
  void ApplyDeviceKind(int) override {}
  void ShowJukeboxToolBar(bool) override {}
  void EnablePlayerAbout() override {}
  void StartIdleTimer(int) override {}
  void StopIdleTimer() override {}
};

const char* KindName(int deviceKind) {
  switch (deviceKind) {
    case 1: return "Nomad Jukebox";
    case 2: return "Nomad II";
    default: return "none";
  }
}

int CountEntries(device::Device& device, bool tracks) {
  int id = 0, count = 0;
  device::Status status = tracks ? device.FindFirstTrack(id) : device.FindFirstDataFile(id);
  while (status == device::kOk) {
    ++count;
    status = tracks ? device.FindNextTrack(id) : device.FindNextDataFile(id);
  }
  return count;
}

int PlayerInfo(const device::PlayerSpec& spec) {
  Session session;
  NoWindow host;
  device::DeviceSession player(session.app, host, [&spec] { return device::FindBackends(spec); });
  if (!player.StartDevice(true)) return 1;
  device::Device& device = player.CurrentDevice();
  device::DeviceInfo info;
  device.GetDeviceInfo(info);
  device::StorageInfo storage;
  const device::Status status = device.GetStorageInfo(storage);
  JsonObject object;
  object.Add("backend", info.backend).Add("version", info.version).Add("player", info.name);
  object.Add("kind", static_cast<long long>(player.DeviceKind())).Add("kindName", KindName(player.DeviceKind()));
  if (!info.firmware.empty()) object.Add("firmware", info.firmware);
  if (status == device::kOk) {
    object.Add("totalKB", static_cast<long long>(storage.totalKb)).Add("freeKB", static_cast<long long>(storage.freeKb));
  } else {
    std::cerr << "tonvault-cli: storage: " << device::StatusText(status) << '\n';
  }
  object.Add("tracks", static_cast<long long>(CountEntries(device, true)));
  object.Add("dataFiles", static_cast<long long>(CountEntries(device, false)));
  std::cout << object.Line() << '\n';
  player.StopDevice(true, false);
  return status == device::kOk ? 0 : 1;
}

}  // namespace

// tonvault-cli player SUBCOMMAND [--player SPEC]: the portable player.
int PlayerCommand(const Arguments& arguments) {
  if (arguments.empty() || arguments.front() != "info") {
    std::cerr << kPlayerUsage;
    return 2;
  }
  device::PlayerSpec spec;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const auto parsed = arguments[i] == "--player" && i + 1 < arguments.size()
                            ? device::ParsePlayerSpec(arguments[++i])
                            : std::nullopt;
    if (!parsed) {
      std::cerr << kPlayerUsage;
      return 2;
    }
    spec = *parsed;
  }
  return PlayerInfo(spec);
}

}  // namespace tonvault::cli
