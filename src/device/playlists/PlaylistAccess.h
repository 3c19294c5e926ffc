#pragma once

#include <string>
#include <vector>

#include "device/DeviceLibrary.h"

namespace tonvault::device {

struct PlaylistSummary {
  std::string name;
  int tracks = 0;
  int seconds = 0;
};

// A playlist's name, and the number and summed length of its tracks whose
// info the player gives (entries of tracks that are gone do not count).
// An unreadable playlist gives an empty summary.
PlaylistSummary ReadPlaylistSummary(Device& device, int playlistId);

// The IDs of the playlist's tracks whose info the player gives, in order.
std::vector<int> ReadablePlaylistTracks(Device& device, int playlistId);

// Adds or removes the tracks one by one on the playlist and writes it back;
// true when the player took the changed playlist.
bool AddTracksToPlaylist(Device& device, const std::vector<int>& trackIds, int playlistId);
bool RemoveTracksFromPlaylist(Device& device, const std::vector<int>& trackIds, int playlistId);

}  // namespace tonvault::device
