#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace tonvault::device {

// The most tracks one playlist may hold; a playlist file with more is not
// loaded.
inline constexpr std::size_t kMaxPlaylistTracks = 100000;

// A playlist as the player hands it out and takes it back: its name and
// the IDs of its tracks in playing order. Changes are made on this copy and
// reach the player with SetPlaylist.
struct Playlist {
  std::string name;
  std::vector<int> trackIds;

  void AddTrack(int id) { trackIds.push_back(id); }
  // Takes out the first entry with this ID; false when there is none.
  bool RemoveTrack(int id) {
    const auto found = std::find(trackIds.begin(), trackIds.end(), id);
    if (found == trackIds.end()) return false;
    trackIds.erase(found);
    return true;
  }

  bool operator==(const Playlist&) const = default;
};

}  // namespace tonvault::device
