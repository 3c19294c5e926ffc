#include "device/playlists/PlaylistAccess.h"

namespace tonvault::device {
namespace {

template <class Change>
bool ChangePlaylist(Device& device, int playlistId, Change change) {
  Playlist playlist;
  if (device.GetPlaylist(playlistId, playlist) != kOk) return false;
  change(playlist);
  return device.SetPlaylist(playlistId, playlist) == kOk;
}

}  // namespace

PlaylistSummary ReadPlaylistSummary(Device& device, int playlistId) {
  PlaylistSummary summary;
  Playlist playlist;
  if (device.GetPlaylist(playlistId, playlist) != kOk) return summary;
  summary.name = playlist.name;
  for (int id : playlist.trackIds) {
    AudioInfo info;
    if (device.GetTrackInfo(id, info) != kOk) continue;
    ++summary.tracks;
    summary.seconds += info.length;
  }
  return summary;
}

std::vector<int> ReadablePlaylistTracks(Device& device, int playlistId) {
  std::vector<int> readable;
  Playlist playlist;
  if (device.GetPlaylist(playlistId, playlist) != kOk) return readable;
  for (int id : playlist.trackIds) {
    AudioInfo info;
    if (device.GetTrackInfo(id, info) == kOk) readable.push_back(id);
  }
  return readable;
}

bool AddTracksToPlaylist(Device& device, const std::vector<int>& trackIds, int playlistId) {
  return ChangePlaylist(device, playlistId, [&](Playlist& playlist) {
    for (int id : trackIds) playlist.AddTrack(id);
  });
}

bool RemoveTracksFromPlaylist(Device& device, const std::vector<int>& trackIds, int playlistId) {
  return ChangePlaylist(device, playlistId, [&](Playlist& playlist) {
    for (int id : trackIds) playlist.RemoveTrack(id);
  });
}

}  // namespace tonvault::device
