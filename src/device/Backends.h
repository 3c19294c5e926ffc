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
std::string SimulatedPlayerFolder();

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
