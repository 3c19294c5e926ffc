// "Save a&gain" of the playlist list: the player keeps its playlists in the
// order they were made, so the list's order is reached by deleting every
// playlist and creating them again. Before anything is deleted, every
// playlist is written as a playlist file into a recovery folder, so a
// player that fails halfway loses nothing "Load &from PC" cannot bring back.
#include <ctime>
#include <filesystem>
#include <system_error>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "device/playlists/PlaylistAccess.h"
#include "device/playlists/PlaylistManager.h"
#include "files/Folders.h"
#include "files/RenameFile.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr const char* kSortWarning =
    "Sorting Playlists can only be done\n\rby deleting and creating them new.\n\r\rThis is a risk !\n\r\r"
    "If the NJB crashes during this operation\n\rat least some of the Playlists are lost.\n\r\r"
    "You should save your Playlists first.\n\r\r(\"Ignore\" never shows this warning again)\n\r\r\r"
    "Do you want to continue ?";

std::string RecoveryNote(const std::string& folder) {
  return "\n\r\rCopies of all of them are in\n\r\"" + folder + "\"\n\r(\"Load from PC\" brings them back).";
}

// A folder name for this run: the date and time, so runs never mix.
std::string RunName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &local));
}

std::string Numbered(std::size_t index, std::size_t count) {
  std::string number = std::to_string(index + 1);
  const std::size_t width = std::to_string(count).size();
  return std::string(width - number.size(), '0') + number + " ";
}

}  // namespace

std::vector<PlaylistManager::Remembered> PlaylistManager::RememberPlaylists(bool available) {
  std::vector<Remembered> remembered;
  for (const ListRow& row : lists_.playlists) {
    const int id = RowId(row);
    remembered.push_back({id, row.texts[kPlaylistName],
                          available ? ReadablePlaylistTracks(session_.CurrentDevice(), id) : std::vector<int>{}});
  }
  return remembered;
}

PlaylistFileContent PlaylistManager::FileContentOf(const Remembered& playlist) {
  PlaylistFileContent content{playlist.name, {}};
  for (int id : playlist.tracks) {
    AudioInfo info;
    if (const auto track = content_.Table().GetDeviceTrack(id)) {
      content.tracks.push_back({track->title, track->artist, track->album});
    } else if (session_.CurrentDevice().GetTrackInfo(id, info) == kOk) {
      content.tracks.push_back({info.title, info.artist, info.album});
    }
  }
  return content;
}

// The folder the copies went to, or empty (after saying so) when they could
// not all be written.
std::string PlaylistManager::WriteRecoveryCopies(const std::vector<Remembered>& playlists) {
  const std::string folder = recoveryFolder + "/" + RunName();
  bool written = !files::MakeFolders(folder);
  for (std::size_t i = 0; i < playlists.size() && written; ++i) {
    const std::string path = folder + "/" + Numbered(i, playlists.size()) +
                             PlaylistFileName(playlists[i].name, app_.options.rename.substitute);
    written = !WritePlaylistFile(path, FileContentOf(playlists[i]));
  }
  if (written) return folder;
  Fail("Cannot write copies of the Playlists to\n\r\"" + folder + "\" !\n\r\rNo Playlist was changed.");
  return {};
}

bool PlaylistManager::RecreatePlaylists(const std::vector<Remembered>& playlists, const std::string& recovery) {
  Device& device = session_.CurrentDevice();
  catalogue::StartProgress(app_);
  app_.frontend.SetStatusPanel(0, "deleting ...");
  for (std::size_t i = 0; i < playlists.size(); ++i) {
    if (device.DeletePlaylist(playlists[i].id) != kOk) {
      Fail("Error while deleting Playlists !\n\r\rAt least some of your Playlists\n\rare lost." + RecoveryNote(recovery));
      return false;
    }
    ReportProgress(i + 1, playlists.size(), false);
  }
  app_.frontend.SetProgress(0, 0);
  app_.frontend.SetStatusPanel(1, "");
  catalogue::StartProgress(app_);
  app_.frontend.SetStatusPanel(0, "saving ...");
  for (std::size_t i = 0; i < playlists.size(); ++i) {
    int id = 0;
    if (device.CreatePlaylist(playlists[i].name, id) != kOk || !AddTracksToPlaylist(device, playlists[i].tracks, id)) {
      Fail("Error while saving Playlists !\n\r\rAt least some of your Playlists\n\rare lost." + RecoveryNote(recovery));
      return false;
    }
    ReportProgress(i + 1, playlists.size(), false);
  }
  return true;
}

void PlaylistManager::SavePlaylistOrder() {
  if (lists_.playlists.size() < 2) return Inform("Please load or create at least 2 Playlists first.");
  if (app_.options.playlist.sortWarning) {
    const Button answer = catalogue::Ask(app_.frontend, Sound::Asterisk, MessageKind::Warning, kSortWarning,
                                         {Button::Yes, Button::No, Button::Ignore});
    if (answer == Button::No) return;
    if (answer == Button::Ignore) app_.options.playlist.sortWarning = false;
  }
  app_.frontend.SetProgress(0, 0);
  catalogue::SetCommandState(app_, 0);
  const bool available = StartAvailable();
  const std::vector<Remembered> playlists = RememberPlaylists(available);
  if (available) {
    const std::string recovery = WriteRecoveryCopies(playlists);
    if (!recovery.empty() && RecreatePlaylists(playlists, recovery)) {
      // Every playlist is back on the player: the copies have done their work.
      files::RemoveFolder(recovery);
    }
    LoadPlaylists();
  }
  app_.frontend.SetProgress(0, 0);
  StopSession();
  catalogue::RefreshPage(app_);
}

}  // namespace tonvault::device
