// The playlist operations of a player folder (and of the simulated player).
#include <algorithm>

#include "device/folder/StoreDevice.h"

namespace tonvault::device {

PlaylistStore* StoreDevice::Playlists() {
  PlayerStore* store = Store();
  if (!playlists_ || &playlists_->Tracks() != store) {
    playlists_ = std::make_unique<PlaylistStore>(*store);
    playlists_->Open();
    Report(kOk);
  }
  return playlists_.get();
}

Status StoreDevice::CheckPlaylists(std::string_view call) {
  if (const Status status = Check(call); status != kOk) return status;
  return HasPlaylists() ? kOk : kNotSupported;
}

Status StoreDevice::FindFirstPlaylist(int& id) {
  if (const Status status = CheckPlaylists("FindFirstPlaylist"); status != kOk) return status;
  playlistCursor_.clear();
  for (const auto& entry : Playlists()->Playlists()) playlistCursor_.push_back(entry.first);
  std::reverse(playlistCursor_.begin(), playlistCursor_.end());  // taken from the back
  return FindNextPlaylist(id);
}

Status StoreDevice::FindNextPlaylist(int& id) { return NextOf(playlistCursor_, id); }

Status StoreDevice::GetPlaylist(int id, Playlist& playlist) {
  if (const Status status = CheckPlaylists("GetPlaylist"); status != kOk) return status;
  const auto& playlists = Playlists()->Playlists();
  const auto found = playlists.find(id);
  if (found == playlists.end()) return kNotFound;
  playlist = found->second.playlist;
  return kOk;
}

Status StoreDevice::SetPlaylist(int id, const Playlist& playlist) {
  if (const Status status = CheckPlaylists("SetPlaylist"); status != kOk) return status;
  return Report(Playlists()->Set(id, playlist));
}

Status StoreDevice::CreatePlaylist(const std::string& name, int& id) {
  if (const Status status = CheckPlaylists("CreatePlaylist"); status != kOk) return status;
  return Report(Playlists()->Create(name, id));
}

Status StoreDevice::DeletePlaylist(int id) {
  if (const Status status = CheckPlaylists("DeletePlaylist"); status != kOk) return status;
  return Report(Playlists()->Delete(id));
}

}  // namespace tonvault::device
