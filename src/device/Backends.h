#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Options.h"
#include "device/DeviceLibrary.h"

namespace tonvault::device {

// Which player the program talks to.
enum class PlayerChoice {
  Automatic = 0,         // a Jukebox through libnjb, else a player folder on removable media
  Folder = 1,            // the player folder the user chose
  SimulatedJukebox = 2,  // the demonstration players
  SimulatedNomadII = 3,
  Njb = 4,               // only a Jukebox through libnjb
};

struct PlayerAddress {
  PlayerChoice choice = PlayerChoice::Automatic;
  std::string folder;  // the player folder (Folder)
};

// "folder:PATH", "simulated:jukebox", "simulated:nomad2", "njb" or "auto";
// nothing for anything else.
std::optional<PlayerAddress> ParsePlayerAddress(const std::string& text);

// The player the settings choose.
PlayerAddress AddressFromOptions(const catalogue::DeviceOptions& options);

// The folder the simulated players keep their content in.
struct SimulatedFolder {
  std::string path;    // empty when no private folder could be made
  bool fresh = false;  // a folder of this run only: the usual one could not be used
  std::string notice;  // one line saying why, when the usual folder was not used
};

// The simulated players keep their content from run to run in a folder of
// a fixed name: "tonvault-simulated-player" in `runtimeFolder` when that is
// the user's private runtime folder (an absolute path to a folder, not a
// link, owned by the effective user, mode 0700), else
// "tonvault-simulated-player-UID" in `tempFolder`. The folder is made with
// mode 0700 and taken only when it is a folder (not a link) of the
// effective user that nobody else may read, write or enter. A name someone
// else took is never used: a fresh folder of this run stands in for it.
SimulatedFolder SimulatedPlayerFolder(const std::string& runtimeFolder, const std::string& tempFolder);
// The same for $XDG_RUNTIME_DIR and the system's temporary folder.
SimulatedFolder SimulatedPlayerFolder();

// Folders on mounted removable media (below /media, /run/media and /mnt)
// that hold a player library folder.
std::vector<std::string> FindPlayerFolders();

// Whether the libnjb backend was built in.
bool NjbBackendBuilt();

// Finds the backends for `where` and returns the device library; nothing
// when the chosen backend is not available (libnjb not built in) or its
// storage cannot be set up.
std::unique_ptr<DeviceLibrary> FindBackends(const PlayerAddress& where);

}  // namespace tonvault::device
