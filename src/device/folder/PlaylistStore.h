#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceStatus.h"
#include "device/Playlist.h"
#include "device/folder/PlayerStore.h"

namespace tonvault::device {

// A playlist as a player folder keeps it: the playlist and the name of the
// .m3u8 file that lets the player itself play it.
struct StoredPlaylist {
  Playlist playlist;
  std::string fileName;  // in the Playlists folder

  bool operator==(const StoredPlaylist&) const = default;
};

struct PlaylistList {
  std::map<int, StoredPlaylist> playlists;
  int nextId = 1;
};

// The list as text: a header, per playlist a line with its ID and track
// count followed by its escaped name, its file name and its track IDs, and
// an end line with the count, so a cut-off file is noticed.
std::string FormatPlaylistList(const PlaylistList& list);
// Nothing when the text is damaged in any way.
std::optional<PlaylistList> ParsePlaylistList(const std::string& text);

// The playlists of a player folder (and of the simulated player's scratch
// folder): kept in the library folder (replaced atomically), and each also
// written as a .m3u8 file with paths relative to it, so the player itself
// plays them.
//
// Names are unique: creating or renaming to a name another playlist has is
// refused, as the player refuses it.
class PlaylistStore {
 public:
  static constexpr const char* kListName = "playlists.txt";
  static constexpr const char* kPlaylistFolder = "Playlists";

  explicit PlaylistStore(PlayerStore& tracks) : tracks_(tracks) {}

  // Reads the list; a missing list is an empty one. A damaged list is never
  // overwritten: every later change answers kFileError. After the track
  // index was rebuilt, each playlist takes its tracks from its .m3u8 file
  // again, by their paths, so it keeps playing the same songs.
  Status Open();
  const std::map<int, StoredPlaylist>& Playlists() const { return list_.playlists; }
  const PlayerStore& Tracks() const { return tracks_; }

  Status Create(const std::string& name, int& id);
  Status Set(int id, const Playlist& playlist);
  Status Delete(int id);
  // Takes a track the player no longer holds out of every playlist naming
  // it; only the .m3u8 files of those playlists are written again.
  Status DropTrack(int trackId);
  // Writes again the .m3u8 files of the playlists naming a track whose file
  // moved.
  Status TrackMoved(int trackId);

 private:
  bool NameTaken(const std::string& name, int except) const;
  // Writes the list, then the .m3u8 files of the playlists `changed` and
  // removes the files no playlist names any more; on failure the list in
  // memory goes back to `before`.
  Status Commit(const PlaylistList& before, const std::vector<int>& changed);
  Status WritePlaylistFile(const StoredPlaylist& stored) const;
  std::string FreeFileName(const std::string& name, int id) const;
  std::string M3u8Of(const Playlist& playlist) const;

  void RepairAfterRebuild();
  std::string M3u8Path(const StoredPlaylist& stored) const;

  PlayerStore& tracks_;
  bool damaged_ = false;
  PlaylistList list_;
};

}  // namespace tonvault::device
