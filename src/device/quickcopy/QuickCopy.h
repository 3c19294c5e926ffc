#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/playback/PlaybackControl.h"
#include "device/playlists/PlaylistManager.h"
#include "device/quickcopy/QuickCopyRows.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// Which pop-up entries of the computer pane are enabled.
struct PcPopupState {
  bool copy = false, songDetails = false, analyze = false, play = false;
  bool operator==(const PcPopupState&) const = default;
};

// Which buttons and pop-up entries of the player pane are enabled.
struct PlayerPaneState {
  bool copy = false, remove = false, play = false, playlist = false, songDetails = false, copyInfo = false;
  bool operator==(const PlayerPaneState&) const = default;
};

// The Quick Copy page without its widgets: a folder of the computer on the
// left, the player's tracks grouped by album, artist or genre (or its data
// files) on the right, and the commands that move files between them.
// Row numbers are places in the pane's rows as they are now.
class QuickCopy {
 public:
  explicit QuickCopy(TransferContext& context);

  bool AudioMode() const { return context_.app.options.quick.audio; }
  // "Audio" or "Data": both panes show the other kind of files.
  void SetAudioMode(bool audio);
  // Not while the program starts: fillings lock the window then.
  void SetStartingUp(bool startingUp) { startingUp_ = startingUp; }

  // --- the computer ---
  // The folder shown, ending with the separator (the remembered upload folder).
  const std::string& Folder() const { return context_.app.uploadFolder; }
  const std::vector<QuickRow>& PcRows() const { return pcRows_; }
  std::string PathOfPcRow(std::size_t row) const { return Folder() + pcRows_.at(row).Name(); }
  // Shows `folder` (the remembered folder when empty).
  void FillPcPane(const std::string& folder = {});
  bool OneLevelUpEnabled() const;
  void OneLevelUp();
  void SelectDirectory();
  void NewDirectory();
  // A double-click: a folder row opens it.
  void OpenPcRow(std::size_t row);
  void PlayWithDefaultPlayer(const std::vector<std::size_t>& selected);
  void PcSongDetails(std::size_t row);
  PcPopupState PcPopup(bool anySelected, std::optional<std::size_t> focused) const;
  void SortPcPane(int displayColumn);
  // The column the pane is sorted by (-1: none) and its direction.
  std::pair<int, bool> PcSort() const { return {pcSortColumn_, pcAscending_}; }

  // --- the player ---
  QuickLevel Level() const { return level_; }
  const std::string& PlayerPath() const { return playerPath_; }
  const std::vector<QuickRow>& PlayerRows() const { return playerRows_; }
  PlayerPaneState PlayerButtons() const { return buttons_; }
  // Level 0 (Audio) or the data files: refilled when empty or `force`d.
  void FillPlayerPane(bool force);
  // A double-click: one level down from a group or name row.
  void OpenPlayerRow(std::size_t row);
  void UpOneLevel();
  void RefreshPlayerPane();
  void PlayerSongDetails(std::size_t row);
  PlayerPaneState PlayerPopup(bool anySelected) const;
  void SortPlayerPane(int displayColumn);
  std::pair<int, bool> PlayerSort() const { return {playerSortColumn_, playerAscending_}; }

  // --- moving files ---
  void CopyToPlayer(const std::vector<std::size_t>& selected);
  // Copies the selected player rows into the shown folder, or into the
  // folder of computer row `dropRow` (which then becomes the folder shown).
  void CopyToPc(const std::vector<std::size_t>& selected, std::optional<std::size_t> dropRow = {});
  void DeleteOnPlayer(const std::vector<std::size_t>& selected);
  void PlayOnPlayer(const std::vector<std::size_t>& selected, PlaybackControl& playback);
  void AddToPlaylist(const std::vector<std::size_t>& selected, PlaylistManager& playlists);
  void CopyInfoToFiles(const std::vector<std::size_t>& selected);
  // The IDs of the selected tracks, or of every track of the selected names.
  std::vector<int> SelectedTrackIds(const std::vector<std::size_t>& selected) const;

 private:
  void ShowPlayerRows(QuickLevel level, std::vector<QuickRow> rows, std::string name = {});
  void FillDataFiles();
  void ShowLevel(QuickLevel level, std::string name);
  void StopSession();
  bool NoneSelected(const std::vector<std::size_t>& selected);
  void Information(const std::string& text);
  void Error(const std::string& text);
  void DeleteFolderRow(std::size_t row);
  bool DeletePlayerFile(std::size_t row);
  std::vector<int> GatherForPlaylist(const std::vector<std::size_t>& selected);

  TransferContext& context_;
  bool startingUp_ = false;
  std::vector<QuickRow> pcRows_;
  std::vector<QuickRow> playerRows_;
  QuickLevel level_ = QuickLevel::Groups;
  QuickGroup group_ = QuickGroup::Albums;
  std::string name_;
  std::string playerPath_;
  PlayerPaneState buttons_;
  int pcSortColumn_ = -1, playerSortColumn_ = -1;
  bool pcAscending_ = true, playerAscending_ = true;
};

}  // namespace tonvault::device
