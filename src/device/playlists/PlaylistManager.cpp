#include "device/playlists/PlaylistManager.h"

#include <ctime>
#include <filesystem>

#include "catalogue/PageChange.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/TextFormats.h"
#include "device/playlists/PlaylistAccess.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

// The locale's date and time, as a name for a playlist created without one.
std::string LocalDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

constexpr const char* kNameExists = "A playlist with the same\n\rname already exists !";
constexpr const char* kSelectFirst = "Please select a playlist first.";

}  // namespace

PlaylistManager::PlaylistManager(catalogue::Application& app, DeviceSession& session, PlayerContent& content)
    : nowText(LocalDateTime),
      recoveryFolder(
          (std::filesystem::path(catalogue::SettingsFilePath(app.programFolder)).parent_path() / "playlist-recovery")
              .string()),
      app_(app),
      session_(session),
      content_(content) {}

bool PlaylistManager::StartAvailable(bool showErrors) {
  const bool ready = session_.StartDevice(showErrors);
  session_.SetDeviceReady(ready);
  return ready && session_.DeviceKind() != catalogue::kDeviceNomadII && content_.EnsureDeviceTable();
}

void PlaylistManager::StopSession() { session_.SetDeviceReady(session_.StopDevice(false, false)); }

void PlaylistManager::Changed() {
  if (listsChanged) listsChanged();
}

void PlaylistManager::Inform(const std::string& text) {
  catalogue::Ask(app_.frontend, Sound::Hand, MessageKind::Information, text, {Button::Ok});
}

void PlaylistManager::Fail(const std::string& text) {
  catalogue::Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, text, {Button::Ok});
}

bool PlaylistManager::NameListed(const std::string& name) const {
  for (const ListRow& row : lists_.playlists) {
    if (row.texts[kPlaylistName] == name) return true;
  }
  return false;
}

int PlaylistManager::TrackListPlaylistId() const {
  if (lists_.playlists.empty()) return -1;
  return RowId(lists_.playlists[FirstSelected(lists_.playlists).value_or(0)]);
}

void PlaylistManager::AppendPlaylist(int id) {
  const PlaylistSummary summary = ReadPlaylistSummary(session_.CurrentDevice(), id);
  lists_.playlists.push_back(MakePlaylistRow(summary.name, summary.tracks, summary.seconds, id));
  Changed();
}

void PlaylistManager::LoadPlaylists() {
  lists_.playlistSort.Clear();
  catalogue::SetCommandState(app_, 0);
  lists_.playlists.clear();
  Changed();
  if (StartAvailable()) {
    Device& device = session_.CurrentDevice();
    int id = 0;
    for (Status status = device.FindFirstPlaylist(id); status == kOk; status = device.FindNextPlaylist(id)) {
      AppendPlaylist(id);
    }
  }
  ShowPlaylistTracks();
  StopSession();
  catalogue::RefreshPage(app_);
}

std::vector<int> PlaylistManager::FillTrackList(int playlistId, int& seconds) {
  std::vector<int> shown;
  Device& device = session_.CurrentDevice();
  Playlist playlist;
  if (device.GetPlaylist(playlistId, playlist) != kOk) return shown;
  for (int id : playlist.trackIds) {
    AudioInfo info;
    if (device.GetTrackInfo(id, info) != kOk) continue;
    const auto track = content_.Table().GetDeviceTrack(id);
    lists_.tracks.push_back(MakeTrackRow(track, id));
    seconds += track ? track->length : 0;
    shown.push_back(id);
  }
  return shown;
}

void PlaylistManager::ShowPlaylistTracks() {
  lists_.tracks.clear();
  Changed();
  const auto selected = FirstSelected(lists_.playlists);
  if (!selected) return;
  lists_.trackSort.Clear();
  if (StartAvailable()) {
    ListRow& row = lists_.playlists[*selected];
    int seconds = 0;
    const std::size_t count = FillTrackList(RowId(row), seconds).size();
    row.texts[kPlaylistTracks] = std::to_string(count);
    row.texts[kPlaylistLength] = catalogue::FormatLength(seconds);
    Changed();
  }
  StopSession();
}

std::optional<std::string> PlaylistManager::AskName(const std::string& initial) {
  auto name = app_.frontend.InputText("New Playlist", "Enter name for new playlist:", initial);
  if (name && name->empty()) name = nowText();
  return name;
}

void PlaylistManager::NewPlaylist() {
  lists_.playlistSort.Clear();
  const auto name = AskName("");
  if (!name) return;
  if (NameListed(*name)) return Fail(kNameExists);
  catalogue::SetCommandState(app_, 0);
  if (StartAvailable()) {
    int id = 0;
    if (session_.CurrentDevice().CreatePlaylist(*name, id) == kOk) {
      session_.PauseDevice();
      AppendPlaylist(id);
    } else {
      Fail("ERROR saving Playlist !\n\r\rExisting playlist with same name ?");
    }
  }
  StopSession();
  catalogue::RefreshPage(app_);
}

void PlaylistManager::RenamePlaylist() {
  const auto selected = FirstSelected(lists_.playlists);
  if (!selected) return Inform(kSelectFirst);
  const auto name = AskName(lists_.playlists[*selected].texts[kPlaylistName]);
  if (!name) return;
  if (NameListed(*name)) return Fail(kNameExists);
  if (StartAvailable()) {
    Device& device = session_.CurrentDevice();
    ListRow& row = lists_.playlists[*selected];
    const int id = RowId(row);
    Playlist playlist;
    if (device.GetPlaylist(id, playlist) == kOk && (playlist.name = *name, device.SetPlaylist(id, playlist) == kOk)) {
      session_.PauseDevice();
      const PlaylistSummary summary = ReadPlaylistSummary(device, id);
      row = MakePlaylistRow(summary.name, summary.tracks, summary.seconds, id);
      row.selected = true;
      Changed();
    } else {
      Fail("ERROR renaming Playlist !");
    }
  }
  StopSession();
  catalogue::RefreshPage(app_);
}

void PlaylistManager::DeletePlaylist() {
  const auto selected = FirstSelected(lists_.playlists);
  if (!selected) return Inform(kSelectFirst);
  const std::string question =
      "Do you really want to delete\n\rPlaylist \"" + lists_.playlists[*selected].texts[kPlaylistName] + "\" ?";
  if (catalogue::Ask(app_.frontend, Sound::Question, MessageKind::Confirmation, question, {Button::Yes, Button::No}) !=
      Button::Yes) {
    return;
  }
  catalogue::SetCommandState(app_, 0);
  if (StartAvailable()) {
    if (session_.CurrentDevice().DeletePlaylist(RowId(lists_.playlists[*selected])) == kOk) {
      session_.PauseDevice();
      lists_.playlists.erase(lists_.playlists.begin() + static_cast<std::ptrdiff_t>(*selected));
      lists_.tracks.clear();
      Changed();
    } else {
      Fail("ERROR deleting Playlist !");
    }
  }
  StopSession();
  catalogue::RefreshPage(app_);
}

void PlaylistManager::SelectPlaylist(std::size_t row) {
  SelectOnly(lists_.playlists, row);
  ShowPlaylistTracks();
}

void PlaylistManager::DragPlaylist(std::size_t from, std::size_t target) {
  if (!MoveRow(lists_.playlists, from, target)) return;
  SelectOnly(lists_.playlists, target);
  lists_.playlistSort.Clear();
  Changed();
}

void PlaylistManager::DragTrack(std::size_t from, std::size_t target) {
  if (!MoveRow(lists_.tracks, from, target)) return;
  SelectOnly(lists_.tracks, target);
  lists_.trackSort.Clear();
  Changed();
}

void PlaylistManager::SortPlaylists(int displayColumn) {
  SortPlaylistRows(lists_.playlists, lists_.playlistSort, displayColumn);
  Changed();
}

void PlaylistManager::SortTracks(int displayColumn) {
  SortTrackRows(lists_.tracks, lists_.trackSort, displayColumn);
  Changed();
}

}  // namespace tonvault::device
