#include "device/folder/PlaylistStore.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>
#include <system_error>

#include "catalogue/DatabaseFormat.h"
#include "device/folder/CardNames.h"
#include "device/folder/FileAudioInfo.h"
#include "files/Beneath.h"
#include "files/ReadWholeFile.h"

namespace tonvault::device {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "TONVAULT-PLAYER-PLAYLISTS 1";

template <class T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "WORD NUMBER" → NUMBER.
bool ParseTagged(std::string_view line, std::string_view word, int& value) {
  return line.size() > word.size() + 1 && line.substr(0, word.size()) == word && line[word.size()] == ' ' &&
         ParseNumber(line.substr(word.size() + 1), value);
}

bool ParseIds(std::string_view line, int count, std::vector<int>& ids) {
  while (!line.empty()) {
    const std::size_t space = line.find(' ');
    int id = 0;
    if (!ParseNumber(line.substr(0, space), id)) return false;
    ids.push_back(id);
    line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
  }
  return static_cast<int>(ids.size()) == count;
}

// One playlist: "P ID COUNT", the name, the file name and the IDs.
bool ReadPlaylist(catalogue::LineReader& lines, std::string_view head, PlaylistList& list) {
  const std::size_t space = head.rfind(' ');
  int id = 0, count = 0;
  if (space == std::string_view::npos || !ParseTagged(head.substr(0, space), "P", id) || id <= 0 ||
      !ParseNumber(head.substr(space + 1), count) || count < 0 || count > 1000000) {
    return false;
  }
  StoredPlaylist stored;
  auto name = UnescapeLibraryField(lines.Next());
  auto file = UnescapeLibraryField(lines.Next());
  if (!name || !file || lines.AtEnd() || !ParseIds(lines.Next(), count, stored.playlist.trackIds)) return false;
  stored.playlist.name = std::move(*name);
  stored.fileName = std::move(*file);
  return id < list.nextId && list.playlists.emplace(id, std::move(stored)).second;
}

}  // namespace

std::string FormatPlaylistList(const PlaylistList& list) {
  std::string text = std::string(kHeader) + "\nnext " + std::to_string(list.nextId) + "\n";
  for (const auto& [id, stored] : list.playlists) {
    text += "P ";
    text += std::to_string(id);
    text += ' ';
    text += std::to_string(stored.playlist.trackIds.size());
    text += '\n';
    text += EscapeLibraryField(stored.playlist.name) + "\n" + EscapeLibraryField(stored.fileName) + "\n";
    for (std::size_t i = 0; i < stored.playlist.trackIds.size(); ++i) {
      if (i > 0) text += ' ';
      text += std::to_string(stored.playlist.trackIds[i]);
    }
    text += "\n";
  }
  return text + "end " + std::to_string(list.playlists.size()) + "\n";
}

std::optional<PlaylistList> ParsePlaylistList(const std::string& text) {
  if (text.empty() || text.back() != '\n') return std::nullopt;
  catalogue::LineReader lines(text);
  PlaylistList list;
  if (lines.Next() != kHeader || !ParseTagged(lines.Next(), "next", list.nextId) || list.nextId <= 0) {
    return std::nullopt;
  }
  while (!lines.AtEnd()) {
    const std::string_view line = lines.Next();
    int count = 0;
    if (ParseTagged(line, "end", count)) {
      if (!lines.AtEnd() || count != static_cast<int>(list.playlists.size())) return std::nullopt;
      return list;
    }
    if (!ReadPlaylist(lines, line, list)) return std::nullopt;
  }
  return std::nullopt;
}

std::string PlaylistStore::M3u8Path(const StoredPlaylist& stored) const {
  return std::string(kPlaylistFolder) + "/" + stored.fileName;
}

Status PlaylistStore::Open() {
  list_ = {};
  damaged_ = false;
  std::string text;
  bool tooLarge = false;
  const Status read = tracks_.ReadOwnFile(kListName, text, std::size_t{16} << 20, &tooLarge);
  // A list that is no regular file (a link, a FIFO) is not read and is
  // replaced by the next change; one too large is left alone.
  if (tooLarge) damaged_ = true;
  if (read != kOk) return read == kNotFound || read == kFileError ? kOk : read;
  auto parsed = ParsePlaylistList(text);
  damaged_ = !parsed;
  if (!parsed) return kOk;
  list_ = std::move(*parsed);
  // A file name that is not one plain name in the playlist folder is never
  // used, nor one that another playlist's file has in another case: the
  // playlist gets a file of its own.
  const PlaylistList asRead = list_;
  std::vector<int> renamed;
  std::set<std::string> seen;
  for (auto& [id, stored] : list_.playlists) {
    const bool plain = files::IsBeneathPath(stored.fileName) && stored.fileName.find('/') == std::string::npos;
    if (!plain) {
      tracks_.Warn("The playlist " + catalogue::CleanField(stored.playlist.name) +
                   " named a file outside the player's playlist folder; it gets a file of its own.");
    }
    if (!plain || !seen.insert(FoldedName(stored.fileName)).second) {
      stored.fileName = FreeFileName(stored.playlist.name, id);
      seen.insert(FoldedName(stored.fileName));
      if (plain) renamed.push_back(id);
    }
  }
  if (!renamed.empty()) Commit(asRead, renamed);
  if (tracks_.Rebuilt()) RepairAfterRebuild();
  return kOk;
}

void PlaylistStore::RepairAfterRebuild() {
  std::map<std::string, int> idOfPath;
  for (const auto& [id, track] : tracks_.Index().tracks) idOfPath.emplace(track.relativePath, id);
  std::vector<int> changed;
  const PlaylistList before = list_;
  for (auto& [id, stored] : list_.playlists) {
    std::vector<int> ids;
    std::string text;
    CardEntry entry;
    files::UniqueDescriptor file;
    const bool readable = !tracks_.Card().Locate(M3u8Path(stored), entry) &&
                          !files::OpenEntryForReading(entry.folder.Get(), entry.name, file) &&
                          !files::ReadWholeDescriptor(file.Get(), text, std::size_t{16} << 20);
    if (readable) {
      catalogue::LineReader lines(text);
      while (!lines.AtEnd()) {
        std::string_view line = lines.Next();
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (line.substr(0, 3) == "../") line.remove_prefix(3);
        if (const auto found = idOfPath.find(std::string(line)); found != idOfPath.end()) ids.push_back(found->second);
      }
    } else {
      for (int track : stored.playlist.trackIds) {
        if (tracks_.Index().tracks.contains(track)) ids.push_back(track);
      }
    }
    if (ids != stored.playlist.trackIds) {
      stored.playlist.trackIds = std::move(ids);
      changed.push_back(id);
    }
  }
  if (!changed.empty()) Commit(before, changed);
}

bool PlaylistStore::NameTaken(const std::string& name, int except) const {
  for (const auto& [id, stored] : list_.playlists) {
    if (id != except && stored.playlist.name == name) return true;
  }
  return false;
}

// A .m3u8 name no other playlist has, compared as a case-insensitive card
// compares names: "Rock" and "rock" never share a file.
std::string PlaylistStore::FreeFileName(const std::string& name, int id) const {
  const std::string stem = SafeFileName(name, "Playlist");
  std::set<std::string> taken;
  for (const auto& [other, stored] : list_.playlists) {
    if (other != id) taken.insert(FoldedName(stored.fileName));
  }
  std::string candidate = stem + ".m3u8";
  for (int n = 2; taken.contains(FoldedName(candidate)); ++n) {
    candidate = stem + " (" + std::to_string(n == 2 ? id : id * 1000 + n) + ").m3u8";
  }
  return candidate;
}

Status PlaylistStore::Create(const std::string& name, int& id) {
  if (damaged_) return kFileError;
  if (NameTaken(name, 0)) return kFailed;
  const PlaylistList before = list_;
  id = list_.nextId++;
  list_.playlists[id] = {{name, {}}, FreeFileName(name, id)};
  return Commit(before, {id});
}

Status PlaylistStore::Set(int id, const Playlist& playlist) {
  if (damaged_) return kFileError;
  if (playlist.trackIds.size() > kMaxPlaylistTracks) return kFailed;
  const auto found = list_.playlists.find(id);
  if (found == list_.playlists.end()) return kNotFound;
  if (NameTaken(playlist.name, id)) return kFailed;
  const PlaylistList before = list_;
  // A new name gets a new file, unless it differs from the old file's
  // name in case only: the same file then stays (on a case-insensitive card
  // it is the same file anyway).
  if (found->second.playlist.name != playlist.name) {
    const std::string fileName = FreeFileName(playlist.name, id);
    if (FoldedName(fileName) != FoldedName(found->second.fileName)) found->second.fileName = fileName;
  }
  found->second.playlist = playlist;
  return Commit(before, {id});
}

Status PlaylistStore::Delete(int id) {
  if (damaged_) return kFileError;
  if (!list_.playlists.contains(id)) return kNotFound;
  const PlaylistList before = list_;
  list_.playlists.erase(id);
  return Commit(before, {});
}

Status PlaylistStore::DropTrack(int trackId) {
  std::vector<int> changed;
  for (const auto& [id, stored] : list_.playlists) {
    if (std::find(stored.playlist.trackIds.begin(), stored.playlist.trackIds.end(), trackId) !=
        stored.playlist.trackIds.end()) {
      changed.push_back(id);
    }
  }
  // A damaged list reads as empty, so it is never written here either.
  if (changed.empty()) return kOk;
  const PlaylistList before = list_;
  for (int id : changed) std::erase(list_.playlists.at(id).playlist.trackIds, trackId);
  return Commit(before, changed);
}

Status PlaylistStore::TrackMoved(int trackId) {
  for (const auto& [id, stored] : list_.playlists) {
    const auto& ids = stored.playlist.trackIds;
    if (std::find(ids.begin(), ids.end(), trackId) == ids.end()) continue;
    if (const Status status = WritePlaylistFile(stored); status != kOk) return status;
  }
  return kOk;
}

Status PlaylistStore::Commit(const PlaylistList& before, const std::vector<int>& changed) {
  // The .m3u8 files are what the player itself reads: each is part of the
  // change and written first, so a failure leaves the list as it was.
  for (int id : changed) {
    const auto found = list_.playlists.find(id);
    if (found == list_.playlists.end()) continue;
    if (const Status status = WritePlaylistFile(found->second); status != kOk) {
      list_ = before;
      return status;
    }
  }
  if (const Status status = tracks_.WriteOwnFile(kListName, FormatPlaylistList(list_)); status != kOk) {
    list_ = before;
    return status;
  }
  // A file goes only when no playlist names it in any case: on a
  // case-insensitive card "Rock.m3u8" is also "rock.m3u8".
  std::set<std::string> used;
  for (const auto& [id, stored] : list_.playlists) used.insert(FoldedName(stored.fileName));
  for (const auto& [id, stored] : before.playlists) {
    if (!used.contains(FoldedName(stored.fileName))) tracks_.RemoveCardFile(M3u8Path(stored));
  }
  return kOk;
}

std::string PlaylistStore::M3u8Of(const Playlist& playlist) const {
  std::string text = "#EXTM3U\n";
  const auto& tracks = tracks_.Index().tracks;
  for (int id : playlist.trackIds) {
    const auto found = tracks.find(id);
    if (found == tracks.end()) continue;
    const AudioInfo& info = found->second.info;
    const std::string shown = info.artist.empty() ? info.title : info.artist + " - " + info.title;
    text += "#EXTINF:" + std::to_string(info.length) + "," + catalogue::CleanField(shown) + "\n../" +
            found->second.relativePath + "\n";
  }
  return text;
}

Status PlaylistStore::WritePlaylistFile(const StoredPlaylist& stored) const {
  return tracks_.WriteCardFile(M3u8Path(stored), M3u8Of(stored.playlist));
}

}  // namespace tonvault::device
