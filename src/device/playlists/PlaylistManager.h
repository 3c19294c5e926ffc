#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/playlists/PlaylistFile.h"
#include "device/playlists/PlaylistRows.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// The Playlists page without its widgets: the two lists and every command
// on the player's playlists and on playlist files. Each command opens the
// player through the session, reports through the frontend and ends with
// the page change.
class PlaylistManager {
 public:
  PlaylistManager(catalogue::Application& app, DeviceSession& session, PlayerContent& content);

  PlaylistLists& Lists() { return lists_; }
  const PlaylistLists& Lists() const { return lists_; }
  // Called whenever the lists changed, for the page to redraw them.
  std::function<void()> listsChanged;
  // The current date and time in the short form, the name of a playlist
  // created without one.
  std::function<std::string()> nowText;
  // Where "Save a&gain" of the playlist list keeps copies of every playlist
  // while it re-creates them: a folder beside the settings file.
  std::string recoveryFolder;

  // --- the playlist list ---
  void LoadPlaylists();
  void ShowPlaylistTracks();
  void NewPlaylist();
  void RenamePlaylist();
  void DeletePlaylist();
  // "Save a&gain": the playlists in the order of the list.
  void SavePlaylistOrder();
  void SaveAllToPc();
  void LoadFromPc();

  // --- the track list ---
  // "Add selected files to playlist" of FILES and RESULTS.
  void AddSelectedFiles();
  // "Add selected files to a Playlist" of the Quick Copy page: the player
  // tracks that `gather` returns go to the selected playlist (when the user
  // agrees) or to a new one, its name proposed as `proposedName`. They are
  // gathered once a playlist is chosen.
  void AddPlayerTracks(const std::function<std::vector<int>()>& gather, const std::string& proposedName);
  void DeleteFromPlaylist();
  void ShuffleTracks();
  // "Save &again": the selected playlist in the order of the track list.
  void SaveTrackOrder();

  // --- on screen only ---
  void SelectPlaylist(std::size_t row);
  void DragPlaylist(std::size_t from, std::size_t target);
  void DragTrack(std::size_t from, std::size_t target);
  void SortPlaylists(int displayColumn);
  void SortTracks(int displayColumn);

 private:
  // Starts the session; true when the player is there, has playlists and
  // its track table could be read.
  bool StartAvailable(bool showErrors = true);
  void StopSession();
  void Changed();
  void Inform(const std::string& text);
  void Fail(const std::string& text);
  bool NameListed(const std::string& name) const;
  // The playlist the track list belongs to: the first selected one, else
  // the first one; -1 without playlists.
  int TrackListPlaylistId() const;
  void AppendPlaylist(int id);
  std::vector<int> FillTrackList(int playlistId, int& seconds);
  // Asks for a playlist's name; an empty answer becomes the date and time.
  std::optional<std::string> AskName(const std::string& initial);
  // Creates a playlist for the selected files when none is selected.
  bool EnsurePlaylistForAdding(const std::string& proposal = {});
  // Appends `count` tracks, the IDs given by `ids`, to the selected playlist
  // after the question about long playlists.
  void AppendToSelected(std::size_t count, const std::function<std::vector<int>()>& ids);
  bool RetryAdding(const std::vector<int>& ids, int playlistId);
  // Runs `change` on the available player: it returns the error to show, or
  // nothing when the playlist changed, whose tracks are then shown again.
  // Ends with the session stopped and the page change.
  void ChangeTracks(const std::function<const char*(Device&)>& change);
  // The steps of "Save a&gain" of the playlist list.
  struct Remembered {
    int id;
    std::string name;
    std::vector<int> tracks;
  };
  std::vector<Remembered> RememberPlaylists(bool available);
  std::string WriteRecoveryCopies(const std::vector<Remembered>& playlists);
  bool RecreatePlaylists(const std::vector<Remembered>& playlists, const std::string& recovery);
  PlaylistFileContent FileContentOf(const Remembered& playlist);
  // One playlist of "Save all &to PC"; false when the run must end.
  bool SavePlaylistFile(std::size_t row, const std::string& folder, catalogue::Button& all);
  // One file of "Load &from PC"; false when the run must end.
  bool LoadPlaylistFile(const std::string& path, catalogue::Button& all, bool& warnMissing);
  bool CollectTrackIds(const PlaylistFileContent& content, bool& warnMissing, std::vector<int>& ids);
  // Progress, estimate, panel 0 and pumping after `done` items; with
  // `stoppable` also the stop question. False when the user stopped.
  bool ReportProgress(std::size_t done, std::size_t total, bool stoppable);

  catalogue::Application& app_;
  DeviceSession& session_;
  PlayerContent& content_;
  PlaylistLists lists_;
};

}  // namespace tonvault::device
