// The commands of the Playlists page's track list, and adding the selected
// rows of FILES or RESULTS to a playlist.
#include "catalogue/ListOperations.h"
#include "catalogue/PageChange.h"
#include "device/playlists/PlaylistAccess.h"
#include "device/playlists/PlaylistManager.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::Column;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr std::size_t kLongPlaylist = 300;
constexpr int kAddTries = 31;
constexpr int kWaitsPerTry = 21;
constexpr int kWaitMilliseconds = 500;
constexpr const char* kAddingFailed = "ERROR adding tracks to playlist !";
constexpr const char* kDeletingFailed = "ERROR deleting tracks from playlist !";

// Only tracks of a Jukebox can go into a playlist; a protected one can.
bool OnlyJukeboxTracks(const std::vector<catalogue::TrackRecord>& rows) {
  for (const catalogue::TrackRecord& row : rows) {
    if (row.selected && row.icon != catalogue::StatusIcon::JukeboxTrack &&
        row.icon != catalogue::StatusIcon::ProtectedJukeboxTrack) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool PlaylistManager::EnsurePlaylistForAdding(const std::string& proposal) {
  if (FirstSelected(lists_.playlists)) return true;
  const auto name = app_.frontend.InputText("Create new PlayList", "Enter name for new PlayList", proposal);
  if (!name) {
    Inform("Please select or create\n\ra playlist first.");
    return false;
  }
  if (StartAvailable()) {
    int id = 0;
    if (session_.CurrentDevice().CreatePlaylist(*name, id) == kOk) {
      session_.PauseDevice();
      AppendPlaylist(id);
      SelectOnly(lists_.playlists, lists_.playlists.size() - 1);
      Changed();
    } else {
      Fail("ERROR saving Playlist !\n\r\rExisting playlist with same name ?");
    }
  }
  StopSession();
  return FirstSelected(lists_.playlists).has_value();
}

void PlaylistManager::AddSelectedFiles() {
  const catalogue::ListId list =
      app_.currentPage == catalogue::Page::Results ? catalogue::ListId::Results : catalogue::ListId::Files;
  const std::vector<catalogue::TrackRecord> rows = catalogue::Rows(app_, list);
  const std::size_t selected = catalogue::CountSelected(rows);
  if (selected == 0) return Inform("Please select files on\n\rFILES or RESULTS first.");
  if (!OnlyJukeboxTracks(rows)) return Inform("Only on NJB stored files can\n\rbe added to a playlist.");
  lists_.trackSort.Clear();
  catalogue::ChangePage(app_, catalogue::Page::Playlists);
  if (app_.currentPage != catalogue::Page::Playlists || !EnsurePlaylistForAdding()) return;
  AppendToSelected(selected, [&] {
    const catalogue::ColumnMap& map = app_.columnMap;
    std::vector<int> ids;
    for (const catalogue::TrackRecord& row : rows) {
      if (!row.selected) continue;
      ids.push_back(content_.Table().FindDeviceTrackId(map.Get(row, Column::Artist), map.Get(row, Column::Title),
                                                       map.Get(row, Column::Album)));
    }
    return ids;
  });
}

void PlaylistManager::AddPlayerTracks(const std::function<std::vector<int>()>& gather,
                                      const std::string& proposedName) {
  lists_.trackSort.Clear();
  catalogue::ChangePage(app_, catalogue::Page::Playlists);
  if (app_.currentPage != catalogue::Page::Playlists) return;
  if (const auto chosen = FirstSelected(lists_.playlists)) {
    const std::string question = "Add to PlayList  \"" + lists_.playlists[*chosen].texts[kPlaylistName] + "\" ?";
    if (catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation, question,
                       {Button::Yes, Button::No}) != Button::Yes) {
      for (ListRow& row : lists_.playlists) row.selected = false;
      Changed();
    }
  }
  if (!EnsurePlaylistForAdding(proposedName)) return;
  const std::vector<int> ids = gather();
  AppendToSelected(ids.size(), [&] { return ids; });
}

void PlaylistManager::AppendToSelected(std::size_t count, const std::function<std::vector<int>()>& ids) {
  const std::size_t total = count + lists_.tracks.size();
  if (total >= kLongPlaylist &&
      catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation,
                     "Long playlists can cause problems !\n\r\rDo you really want to create a\n\rplaylist with " +
                         std::to_string(total) + " tracks ?",
                     {Button::Yes, Button::No}) != Button::Yes) {
    return catalogue::RefreshPage(app_);
  }
  catalogue::SetCommandState(app_, 0);
  ChangeTracks([&](Device& device) -> const char* {
    return AddTracksToPlaylist(device, ids(), TrackListPlaylistId()) ? nullptr : kAddingFailed;
  });
}

void PlaylistManager::ChangeTracks(const std::function<const char*(Device&)>& change) {
  if (StartAvailable()) {
    if (const char* failure = change(session_.CurrentDevice())) {
      Fail(failure);
    } else {
      session_.PauseDevice();
      ShowPlaylistTracks();
    }
  }
  StopSession();
  catalogue::RefreshPage(app_);
}

void PlaylistManager::DeleteFromPlaylist() {
  const std::size_t selected = CountSelectedRows(lists_.tracks);
  if (selected == 0) return Inform("No tracks selected.");
  if (catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation,
                     "Do you really want to delete\n\r" + std::to_string(selected) + " tracks  ?",
                     {Button::Yes, Button::No}) != Button::Yes) {
    return;
  }
  catalogue::SetCommandState(app_, 0);
  std::vector<int> ids;
  for (const ListRow& row : lists_.tracks) {
    if (row.selected) ids.push_back(RowId(row));
  }
  ChangeTracks([&](Device& device) -> const char* {
    return RemoveTracksFromPlaylist(device, ids, TrackListPlaylistId()) ? nullptr : kDeletingFailed;
  });
}

void PlaylistManager::ShuffleTracks() {
  if (lists_.tracks.size() < 2) return;
  catalogue::SetCommandState(app_, 0);
  lists_.trackSort.Clear();
  ShuffleRows(lists_.tracks, app_.random);
  Changed();
  catalogue::RefreshPage(app_);
}

// Adds the tracks, trying again while the player refuses: up to 31 tries,
// ten and a half seconds apart, in which Esc may end the retries (and the
// playlist stays without its tracks).
bool PlaylistManager::RetryAdding(const std::vector<int>& ids, int playlistId) {
  app_.stopRequest = false;
  for (int attempt = 1; attempt <= kAddTries; ++attempt) {
    if (AddTracksToPlaylist(session_.CurrentDevice(), ids, playlistId)) return true;
    for (int wait = 0; wait < kWaitsPerTry && attempt < kAddTries; ++wait) {
      session_.SleepAndPump(kWaitMilliseconds);
      if (!app_.stopRequest) continue;
      if (catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation,
                         "The playlist is lost on STOP !\n\r\rDo you really want to STOP ?",
                         {Button::Yes, Button::No}) == Button::Yes) {
        return false;
      }
      app_.stopRequest = false;
    }
  }
  return false;
}

void PlaylistManager::SaveTrackOrder() {
  catalogue::SetCommandState(app_, 0);
  std::vector<int> ids;
  for (const ListRow& row : lists_.tracks) ids.push_back(RowId(row));
  const int playlistId = TrackListPlaylistId();
  if (playlistId == -1) return catalogue::RefreshPage(app_);
  ChangeTracks([&](Device& device) -> const char* {
    if (!RemoveTracksFromPlaylist(device, ids, playlistId)) return kDeletingFailed;
    return RetryAdding(ids, playlistId) ? nullptr : kAddingFailed;
  });
}

}  // namespace tonvault::device
