// The playlist operations of a Nomad Jukebox through libnjb.
#include <algorithm>
#include <memory>

#include "device/njb/NjbLibrary.h"

namespace tonvault::device {
namespace {

struct PlaylistDeleter {
  void operator()(njb_playlist_t* playlist) const { NJB_Playlist_Destroy(playlist); }
};
using PlaylistPtr = std::unique_ptr<njb_playlist_t, PlaylistDeleter>;

}  // namespace

Status NjbLibrary::NjbDevice::FindFirstPlaylist(int& id) {
  {
    std::unique_lock<std::mutex> lock;
    if (const Status status = Enter(lock); status != kOk) return status;
    // A playlist read before keeps its ID, so a new listing (a count, say)
    // does not change the IDs the program already shows.
    std::map<std::uint32_t, int> known;
    for (const auto& [ourId, plid] : plids_) known[plid] = ourId;
    playlists_.clear();
    plids_.clear();
    playlistCursor_.clear();
    NJB_Reset_Get_Playlist(njb_);
    while (njb_playlist_t* raw = NJB_Get_Playlist(njb_)) {
      PlaylistPtr read(raw);
      Playlist playlist;
      playlist.name = read->name == nullptr ? "" : read->name;
      NJB_Playlist_Reset_Gettrack(raw);
      while (njb_playlist_track_t* track = NJB_Playlist_Gettrack(raw)) {
        playlist.AddTrack(static_cast<int>(track->trackid));
      }
      const auto found = known.find(read->plid);
      const int ourId = found != known.end() ? found->second : nextPlaylistId_++;
      playlists_[ourId] = std::move(playlist);
      plids_[ourId] = read->plid;
      playlistCursor_.insert(playlistCursor_.begin(), ourId);  // taken from the back
    }
    if (NJB_Error_Pending(njb_)) return Failure();
  }
  return FindNextPlaylist(id);
}

Status NjbLibrary::NjbDevice::FindNextPlaylist(int& id) {
  if (playlistCursor_.empty()) return kEndOfList;
  id = playlistCursor_.back();
  playlistCursor_.pop_back();
  return kOk;
}

Status NjbLibrary::NjbDevice::GetPlaylist(int id, Playlist& playlist) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  const auto found = playlists_.find(id);
  if (found == playlists_.end()) return kNotFound;
  playlist = found->second;
  return kOk;
}

Status NjbLibrary::NjbDevice::WritePlaylist(const Playlist& playlist, std::uint32_t& plid, bool renamed) {
  PlaylistPtr written(NJB_Playlist_New());
  if (!written || NJB_Playlist_Set_Name(written.get(), playlist.name.c_str()) == -1) return kFailed;
  for (int track : playlist.trackIds) {
    NJB_Playlist_Addtrack(written.get(), NJB_Playlist_Track_New(static_cast<u_int32_t>(track)), NJB_PL_END);
  }
  written->plid = plid;
  written->_state = plid == 0 ? NJB_PL_NEW : renamed && playlist.trackIds.empty() ? NJB_PL_CHNAME : NJB_PL_CHTRACKS;
  if (NJB_Update_Playlist(njb_, written.get()) == -1) return Failure();
  plid = written->plid;
  return kOk;
}

Status NjbLibrary::NjbDevice::SetPlaylist(int id, const Playlist& playlist) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  const auto found = playlists_.find(id);
  if (found == playlists_.end()) return kNotFound;
  std::uint32_t plid = plids_[id];
  if (const Status status = WritePlaylist(playlist, plid, found->second.name != playlist.name); status != kOk) {
    return status;
  }
  found->second = playlist;
  plids_[id] = plid;
  return kOk;
}

Status NjbLibrary::NjbDevice::CreatePlaylist(const std::string& name, int& id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  std::uint32_t plid = 0;
  const Playlist playlist{name, {}};
  if (const Status status = WritePlaylist(playlist, plid, false); status != kOk) return status;
  id = nextPlaylistId_++;
  playlists_[id] = playlist;
  plids_[id] = plid;
  return kOk;
}

Status NjbLibrary::NjbDevice::DeletePlaylist(int id) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  if (!plids_.contains(id)) return kNotFound;
  if (NJB_Delete_Playlist(njb_, plids_[id]) == -1) return Failure();
  playlists_.erase(id);
  plids_.erase(id);
  return kOk;
}

}  // namespace tonvault::device
