// "Save all &to PC" and "Load &from PC": the player's playlists as playlist
// files and back.
#include <filesystem>
#include <system_error>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/TextFormats.h"
#include "device/Playlist.h"
#include "device/playlists/PlaylistAccess.h"
#include "device/playlists/PlaylistManager.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// The remembered folder, or the nearest folder above it that exists.
std::string StartFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  while (!Exists(folder) && folder.find('/') != std::string::npos) {
    folder.erase(folder.rfind('/'));
  }
  return folder;
}

bool IsAllAnswer(Button answer) { return answer == Button::YesToAll || answer == Button::NoToAll; }

// The question unless an earlier "… to All" answered it for every file; that
// answer is kept in `all`. True for Yes or Yes to All.
bool AskUnlessAnswered(catalogue::Frontend& frontend, const std::string& question, Button& all) {
  if (!IsAllAnswer(all)) {
    const Button answer = catalogue::Ask(frontend, Sound::Question, MessageKind::Confirmation, question,
                                         {Button::Yes, Button::No, Button::NoToAll, Button::YesToAll});
    if (IsAllAnswer(answer)) all = answer;
    return answer == Button::Yes || answer == Button::YesToAll;
  }
  return all == Button::YesToAll;
}

}  // namespace

bool PlaylistManager::ReportProgress(std::size_t done, std::size_t total, bool stoppable) {
  app_.frontend.SetProgress(static_cast<int>(done * catalogue::kProgressMaximum / std::max<std::size_t>(total, 1)), 0);
  catalogue::ShowTimeEstimate(app_, total, done);
  app_.frontend.SetStatusPanel(0, std::to_string(done));
  app_.frontend.PumpEvents();
  return !stoppable || !catalogue::ConfirmStop(app_);
}

bool PlaylistManager::SavePlaylistFile(std::size_t row, const std::string& folder, Button& all) {
  SelectOnly(lists_.playlists, row);
  ShowPlaylistTracks();
  app_.frontend.PumpEvents();
  if (lists_.tracks.empty()) {
    Inform("PlayList is empty - will not be saved.");
    return true;
  }
  const std::string& name = lists_.playlists[row].texts[kPlaylistName];
  const std::string path = folder + PlaylistFileName(name, app_.options.rename.substitute);
  if (Exists(path) &&
      !AskUnlessAnswered(app_.frontend, "File  \"" + path + "\"  exists.\n\r\rReplace it ?", all)) {
    return true;
  }
  PlaylistFileContent content{name, {}};
  for (const ListRow& track : lists_.tracks) {
    content.tracks.push_back({track.texts[kTrackTitle], track.texts[kTrackArtist], track.texts[kTrackAlbum]});
  }
  if (!WritePlaylistFile(path, content)) return true;
  app_.frontend.Beep(Sound::Exclamation);
  catalogue::RefreshPage(app_);
  return app_.frontend.ShowMessage(MessageKind::Error, "Cannot write File\n\r\"" + path + "\" !",
                                   {Button::Ok, Button::Cancel}) != Button::Cancel;
}

void PlaylistManager::SaveAllToPc() {
  LoadPlaylists();
  catalogue::SetCommandState(app_, 0);
  app_.frontend.PumpEvents();
  const std::string start = StartFolder(app_.playlistFolder);
  std::optional<std::string> folder;
  if (lists_.playlists.empty()) {
    Inform("No PlayLists to save.");
  } else {
    folder = app_.frontend.ChooseFolder("Select Folder to store PlayLists:", start);
  }
  if (folder) {
    app_.playlistFolder = *folder + (folder->ends_with('/') ? "" : "/");
    app_.stopRequest = false;
    catalogue::StartProgress(app_);
    Button all = Button::Ok;
    const std::size_t count = lists_.playlists.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (!SavePlaylistFile(i, app_.playlistFolder, all) || !ReportProgress(i + 1, count, true)) break;
    }
    StopSession();
    for (ListRow& row : lists_.playlists) row.selected = false;
    ShowPlaylistTracks();
  }
  app_.frontend.SetProgress(0, 0);
  catalogue::RefreshPage(app_);
}

bool PlaylistManager::CollectTrackIds(const PlaylistFileContent& content, bool& warnMissing, std::vector<int>& ids) {
  for (const PlaylistFileTrack& track : content.tracks) {
    const int id = content_.Table().FindDeviceTrackId(track.artist, track.title, track.album);
    if (id != -1) {
      ids.push_back(id);
      continue;
    }
    if (!warnMissing) continue;
    const Button answer = catalogue::Ask(
        app_.frontend, Sound::Exclamation, MessageKind::Warning,
        track.title + "\n\r" + track.artist + "\n\r" + track.album + "\n\r\rnot found on NJB !\n\r\r" +
            "Show warning for each missing track ?",
        {Button::Yes, Button::No, Button::Cancel});
    if (answer == Button::Cancel) return false;
    warnMissing = answer == Button::Yes;
  }
  return true;
}

bool PlaylistManager::LoadPlaylistFile(const std::string& path, Button& all, bool& warnMissing) {
  PlaylistFileContent content;
  switch (ReadPlaylistFile(path, content)) {
    case PlaylistFileRead::Read: break;
    case PlaylistFileRead::Unreadable: Fail("Cannot read File\n\r\"" + path + "\" !"); return true;
    case PlaylistFileRead::TooLarge:
      Fail("Cannot load File\n\r\"" + path + "\" !\n\r\rThe PlayList file is too large: at most " +
           catalogue::FormatThousands(static_cast<std::int64_t>(kMaxPlaylistTracks)) + " tracks (" +
           std::to_string(kMaxPlaylistFileBytes >> 20) + " MB).");
      return true;
  }
  bool add = false;
  std::size_t listed = 0;
  while (listed < lists_.playlists.size() && lists_.playlists[listed].texts[kPlaylistName] != content.name) ++listed;
  if (listed < lists_.playlists.size()) {
    SelectOnly(lists_.playlists, listed);
    Changed();
    add = AskUnlessAnswered(app_.frontend, "PlayList  \"" + content.name + "\"  exists.\n\r\rAdd songs ?", all);
  } else {
    int id = 0;
    if (session_.CurrentDevice().CreatePlaylist(content.name, id) != kOk) {
      Fail("ERROR creating Playlist !");
    } else {
      session_.PauseDevice();
      AppendPlaylist(id);
      SelectOnly(lists_.playlists, lists_.playlists.size() - 1);
      add = true;
    }
  }
  if (!add) return true;
  std::vector<int> ids;
  if (!CollectTrackIds(content, warnMissing, ids)) return false;
  if (AddTracksToPlaylist(session_.CurrentDevice(), ids, TrackListPlaylistId())) {
    session_.PauseDevice();
    ShowPlaylistTracks();
  } else {
    Fail("ERROR adding tracks to playlist !");
  }
  return true;
}

void PlaylistManager::LoadFromPc() {
  const std::vector<std::string> paths = app_.frontend.ChooseOpenFiles(
      {" Open Tonvault PlayList(s)", app_.playlistFolder, "", "TVP", "Tonvault PlayList   (*.TVP)|*.TVP"});
  if (paths.empty()) return;
  lists_.playlistSort.Clear();
  LoadPlaylists();
  catalogue::SetCommandState(app_, 0);
  app_.frontend.PumpEvents();
  if (StartAvailable(false)) {
    app_.stopRequest = false;
    catalogue::StartProgress(app_);
    Button all = Button::Ok;
    bool warnMissing = true;
    for (std::size_t i = 0; i < paths.size(); ++i) {
      if (!LoadPlaylistFile(paths[i], all, warnMissing) || !ReportProgress(i + 1, paths.size(), true)) break;
      // Each file's playlist shows its tracks, which stops the session: open it for the next one.
      if (i + 1 < paths.size() && !StartAvailable(false)) break;
    }
    app_.playlistFolder = std::filesystem::path(paths.back()).parent_path().string() + "/";
  }
  StopSession();
  app_.frontend.SetProgress(0, 0);
  catalogue::RefreshPage(app_);
}

}  // namespace tonvault::device
