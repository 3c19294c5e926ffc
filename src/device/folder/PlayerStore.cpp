#include "device/folder/PlayerStore.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "audio/Id3v2Writer.h"
#include "device/folder/CardNames.h"
#include "device/folder/FileAudioInfo.h"
#include "files/Beneath.h"
#include "files/CopyFile.h"
#include "files/ReadWholeFile.h"
#include "files/RenameFile.h"
#include "files/ReplaceFile.h"
#include "files/TemporaryFile.h"

namespace tonvault::device {
namespace fs = std::filesystem;

namespace {

constexpr const char* kStagingPrefix = "incoming-";
constexpr int kMaxFolderDepth = 32;

Status StatusOfErrno(int code) {
  switch (code) {
    case EROFS:
    case EACCES:
    case EPERM: return kReadOnly;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case ENOENT: return kNotFound;
    default: return kFileError;
  }
}

Status StatusOf(const files::FileStatus& status) { return status ? StatusOfFileError(*status) : kOk; }

std::string LowerExtension(const std::string& path) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

bool IsMpegName(const std::string& path) {
  const std::string extension = LowerExtension(path);
  return extension == ".mp3" || extension == ".mp2";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string RandomToken() {
  static std::mt19937_64 generator{std::random_device{}()};
  char token[20];
  std::snprintf(token, sizeof token, "%016llx", static_cast<unsigned long long>(generator()));
  return token;
}

// The tag fields a track's info gives; numbers of 0 stay empty.
audio::Id3v2TagFields TagFieldsOf(const AudioInfo& info) {
  audio::Id3v2TagFields fields;
  fields.title = info.title, fields.artist = info.artist, fields.album = info.album;
  fields.comment = info.comment, fields.genre = info.genre;
  if (info.year > 0) fields.year = std::to_string(info.year);
  if (info.trackNumber > 0) fields.track = std::to_string(info.trackNumber);
  return fields;
}

// The player's view of a track goes into the file's ID3v2 tag, keeping the
// tag's other frames.
audio::Id3v2WriteOptions TagOptions() {
  audio::Id3v2WriteOptions options;
  options.keepOldContent = true;
  return options;
}

Status StatusOfTagFailure(const audio::Id3v2WriteResult& result) {
  return result.fileError ? StatusOfFileError(*result.fileError) : kFileError;
}

// Writes the tag of a track already on the card. Only MPEG files carry
// one; the write is part of the change, so a tag that could not be written
// fails it.
Status WriteTag(const std::string& path, const std::string& name, const AudioInfo& info) {
  if (!IsMpegName(name)) return kOk;
  const audio::Id3v2WriteResult result = audio::WriteId3v2Tag(path, TagFieldsOf(info), TagOptions());
  return result.ok ? kOk : StatusOfTagFailure(result);
}

std::string FolderOfRelative(const std::string& relative) {
  const std::size_t slash = relative.rfind('/');
  return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

// A file found by the rebuild walk.
struct FoundFile {
  std::string relativePath;
  std::int64_t size = 0;
  AudioInfo info;  // audio files whose tags were wanted only
};

struct Walk {
  // Whether the tags of the audio file at a path and of a size are wanted:
  // a file the old index knows unchanged is not read again.
  std::function<bool(const std::string& relativePath, std::int64_t size)> wantsTags;
  std::vector<FoundFile> audio, data;
  int links = 0;
  std::size_t entries = 0;
};

void WalkFolder(int folder, const std::string& prefix, int depth, Walk& walk) {
  std::vector<std::string> names = files::FolderEntries(folder);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (name.front() == '.' || walk.entries >= PlayerStore::kMaxEntries) continue;
    const std::string relative = prefix.empty() ? name : prefix + "/" + name;
    struct stat info {};
    switch (files::KindOfEntry(folder, name, &info)) {
      case files::EntryKind::Folder: {
        files::UniqueDescriptor below;
        if (depth < kMaxFolderDepth && !files::OpenFolderBeneath(folder, name, false, below)) {
          WalkFolder(below.Get(), relative, depth + 1, walk);
        }
        break;
      }
      case files::EntryKind::RegularFile:
        if (relative.rfind(std::string(PlayerStore::kDataFolder) + "/", 0) == 0) {
          walk.data.push_back({relative, info.st_size, {}});
          ++walk.entries;
        } else if (IsAudioFileName(name)) {
          walk.audio.push_back({relative, info.st_size,
                                walk.wantsTags(relative, info.st_size) ? ReadFileAudioInfo(files::PathInFolder(folder, name))
                                                                       : AudioInfo{}});
          ++walk.entries;
        }
        break;
      case files::EntryKind::Other:
        if (S_ISLNK(info.st_mode)) ++walk.links;
        break;
      case files::EntryKind::Missing: break;
    }
  }
}

// The entries of `known` by their path.
template <class Entries>
std::map<std::string, const typename Entries::mapped_type*> ByPath(const Entries& entries) {
  std::map<std::string, const typename Entries::mapped_type*> byPath;
  for (const auto& [id, entry] : entries) byPath.emplace(entry.relativePath, &entry);
  return byPath;
}

}  // namespace

Status StatusOfFileError(const files::FileError& error) {
  switch (error.failure) {
    case files::Failure::NotFound: return kNotFound;
    case files::Failure::WriteProtected: return kReadOnly;
    case files::Failure::AlreadyExists: return kFileError;
    case files::Failure::System: return StatusOfErrno(error.code);
    default: return kFileError;
  }
}

PlayerStore::PlayerStore(std::string root, bool rootMayBeLink) : root_(std::move(root)), rootMayBeLink_(rootMayBeLink) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::vector<std::string> PlayerStore::TakeWarnings() { return std::exchange(warnings_, {}); }

void PlayerStore::Close() {
  lock_.Reset();
  library_.Reset();
  card_.Close();
}

Status PlayerStore::Open() {
  Close();
  rebuilt_ = false;
  if (const Status status = card_.Open(root_, rootMayBeLink_); status != kOk) return status;
  if (const Status status = OpenLibrary(false); status != kOk && status != kNotFound) return status;
  if (const Status status = TakeLock(); status != kOk) {
    Close();
    return status;
  }
  RemoveStagingLeftovers();
  const Status status = ReadIndex();
  if (status != kOk) Close();
  return status;
}

// The library folder must be a real folder of the card: a link there would
// take every change of the player somewhere else.
Status PlayerStore::OpenLibrary(bool create) {
  if (library_.IsOpen()) return kOk;
  const files::EntryKind kind = files::KindOfEntry(card_.Descriptor(), kLibraryFolder);
  if (kind == files::EntryKind::Missing && !create) return kNotFound;
  if (kind != files::EntryKind::Missing && kind != files::EntryKind::Folder) {
    Warn("The player's library folder " + Quoted(kLibraryFolder) +
         " is a link or a file, not a folder: the player is not opened.");
    return kFileError;
  }
  if (create) {
    if (const Status status = card_.CheckPresent(); status != kOk) return status;
  }
  return StatusOf(files::OpenFolderBeneath(card_.Descriptor(), kLibraryFolder, create, library_));
}

// One program at a time changes a card. A card that cannot be written has
// nobody to protect from and is opened without the lock.
Status PlayerStore::TakeLock() {
  const Status opened = OpenLibrary(true);
  if (opened == kReadOnly) return kOk;
  if (opened != kOk) return opened;
  const auto failed = files::LockEntry(library_.Get(), kLockName, lock_);
  if (!failed) return kOk;
  if (failed->failure == files::Failure::AlreadyExists) {
    Warn(StatusText(kBusy));
    return kBusy;
  }
  const Status status = StatusOfFileError(*failed);
  return status == kReadOnly ? kOk : status;
}

// Files a killed transfer left under their staging name are incomplete
// copies no index names: they go.
void PlayerStore::RemoveStagingLeftovers() {
  if (!library_.IsOpen()) return;
  for (const std::string& name : files::FolderEntries(library_.Get())) {
    if (name.rfind(kStagingPrefix, 0) == 0 &&
        files::KindOfEntry(library_.Get(), name) == files::EntryKind::RegularFile) {
      files::RemoveEntry(library_.Get(), name);
    }
  }
}

Status PlayerStore::ReadIndex() {
  std::string text;
  bool tooLarge = false;
  const Status read = ReadOwnFile(kIndexName, text, kMaxIndexBytes, &tooLarge);
  // An index too large to be a player's is never rebuilt over.
  if (tooLarge) return kFileError;
  if (read != kOk && read != kNotFound && read != kFileError) return read;
  if (read == kOk) {
    if (auto parsed = ParseTrackIndex(text)) {
      if (parsed->tracks.size() + parsed->dataFiles.size() > kMaxEntries) {
        Warn("The player's index holds more entries than a player can (at most 100.000): the player is not opened.");
        return kFileError;
      }
      index_ = std::move(*parsed);
      DropUnsafeEntries();
      Recover();
      return kOk;
    }
  }
  rebuilt_ = true;
  const Status status = RebuildFrom(read == kOk ? SalvageTrackIndex(text) : TrackIndex{});
  ClearJournal();
  return status == kReadOnly ? kOk : status;
}

// An entry whose path leads outside the card, or through a folder that is
// not one, is never followed: it leaves the index.
void PlayerStore::DropUnsafeEntries() {
  std::vector<std::string> dropped;
  const auto drop = [&dropped](auto& entries) {
    for (auto it = entries.begin(); it != entries.end();) {
      if (files::IsBeneathPath(it->second.relativePath)) {
        ++it;
        continue;
      }
      dropped.push_back(it->second.relativePath);
      it = entries.erase(it);
    }
  };
  drop(index_.tracks);
  drop(index_.dataFiles);
  // One message for them all, naming the first few: a hostile index must
  // not bury the user in boxes.
  constexpr std::size_t kNamed = 10;
  for (std::size_t i = 0; i < std::min(dropped.size(), kNamed); ++i) {
    Warn("The player's index names " + Quoted(dropped[i]) + ", which is not a place on the player: the entry is skipped.");
  }
  if (dropped.size() > kNamed) {
    Warn(std::to_string(dropped.size() - kNamed) + " more entries of the player's index are skipped for the same reason.");
  }
}

// Takes back what a change that was killed midway left behind: a placed
// file the index never came to name, an old file the index already let go.
void PlayerStore::Recover() {
  std::string text;
  if (ReadOwnFile(kJournalName, text, std::size_t{1} << 20) != kOk) return;
  std::vector<std::string> removed;
  if (const auto entries = ParseJournal(text)) {
    const auto tracks = ByPath(index_.tracks);
    const auto dataFiles = ByPath(index_.dataFiles);
    for (const JournalEntry& entry : *entries) {
      if (entry.kind == JournalEntry::Kind::Move) {
        UndoMove(entry, tracks.contains(entry.from));
        continue;
      }
      if (tracks.contains(entry.relativePath) || dataFiles.contains(entry.relativePath)) continue;
      CardEntry file;
      struct stat info {};
      if (card_.Locate(entry.relativePath, file) || file.Kind(&info) != files::EntryKind::RegularFile ||
          info.st_ino != entry.inode) {
        continue;
      }
      if (card_.CheckPresent() == kOk && !files::RemoveEntry(file.folder.Get(), file.name)) {
        removed.push_back(entry.relativePath);
      }
    }
  }
  ClearJournal();
  if (removed.empty()) return;
  std::string text2 = "Removed " + std::to_string(removed.size()) +
                      (removed.size() == 1 ? " file" : " files") + " that an interrupted change left on the player:";
  for (const std::string& path : removed) text2 += "\n" + path;
  Warn(text2);
}

// A rename the index never came to know is taken back: the file gets the
// name the index has for it.
void PlayerStore::UndoMove(const JournalEntry& move, bool indexNamesOld) {
  CardEntry moved, back;
  struct stat info {};
  if (!indexNamesOld || card_.Locate(move.relativePath, moved) || moved.Kind(&info) != files::EntryKind::RegularFile ||
      info.st_ino != move.inode || card_.Locate(move.from, back) || card_.CheckPresent() != kOk) {
    return;
  }
  files::MoveFile(moved.Path(), back.Path(), FoldedName(moved.name) == FoldedName(back.name));
}

Status PlayerStore::Rebuild() {
  if (const Status status = Writable(); status != kOk && status != kReadOnly) return status;
  return RebuildFrom(index_);
}

Status PlayerStore::RebuildFrom(const TrackIndex& known) {
  const auto knownTracks = ByPath(known.tracks);
  Walk walk;
  walk.wantsTags = [&knownTracks](const std::string& relativePath, std::int64_t size) {
    const auto match = knownTracks.find(relativePath);
    return match == knownTracks.end() || match->second->info.fileSize != size || match->second->info.length == 0;
  };
  WalkFolder(card_.Descriptor(), "", 0, walk);
  if (walk.links == 1) Warn("1 link on the player points elsewhere and was left out.");
  if (walk.links > 1) Warn(std::to_string(walk.links) + " links on the player point elsewhere and were left out.");
  TrackIndex index;
  index.nextId = known.nextId;
  for (const auto& [id, track] : known.tracks) index.nextId = std::max(index.nextId, id + 1);
  for (const auto& [id, file] : known.dataFiles) index.nextId = std::max(index.nextId, id + 1);
  for (FoundFile& found : walk.audio) {
    // A file the old index named keeps its ID (so its playlists keep it);
    // what the index knew stays while the file is unchanged, else the
    // file's own tags are taken.
    const auto match = knownTracks.find(found.relativePath);
    if (match != knownTracks.end()) {
      IndexedTrack track = *match->second;
      if (track.info.fileSize != found.size) {
        const int length = track.info.length;
        track.info = std::move(found.info);
        track.info.id = match->second->info.id;
        if (track.info.length == 0) track.info.length = length;
      } else if (track.info.length == 0) {
        track.info.length = found.info.length;
      }
      index.tracks.emplace(track.info.id, std::move(track));
      continue;
    }
    const int id = index.TakeId();
    IndexedTrack track{found.relativePath, std::move(found.info)};
    track.info.id = id;
    index.tracks.emplace(id, std::move(track));
  }
  const auto knownData = ByPath(known.dataFiles);
  for (const FoundFile& found : walk.data) {
    const auto match = knownData.find(found.relativePath);
    if (match != knownData.end() && match->second->info.fileSize == found.size) {
      index.dataFiles.emplace(match->second->info.id, *match->second);
      continue;
    }
    const int id = index.TakeId();
    index.dataFiles.emplace(id, IndexedDataFile{found.relativePath,
                                                {fs::path(found.relativePath).filename().string(), found.size, id}});
  }
  index_ = std::move(index);
  return SaveIndex();
}

// kOk while the card can be changed: it is still there (a removed card is
// never written, its bare mount point least of all).
Status PlayerStore::Writable() {
  if (!card_.IsOpen()) return kNotOpen;
  const Status status = card_.CheckPresent();
  if (status == kRemoved) Warn("The player was removed.");
  return status;
}

Status PlayerStore::ReadOwnFile(const std::string& name, std::string& text, std::size_t limit, bool* tooLarge) {
  text.clear();
  if (tooLarge != nullptr) *tooLarge = false;
  if (!library_.IsOpen()) return kNotFound;
  files::UniqueDescriptor file;
  if (const auto failed = files::OpenEntryForReading(library_.Get(), name, file)) {
    if (failed->failure == files::Failure::NotFound) return kNotFound;
    if (failed->failure == files::Failure::Unsafe || failed->failure == files::Failure::NotRegularFile) {
      Warn("The player's file " + Quoted(name) + " is not a regular file (a link, a FIFO or a device): it is not read.");
      return kFileError;
    }
    return StatusOfFileError(*failed);
  }
  if (const auto failed = files::ReadWholeDescriptor(file.Get(), text, limit)) {
    if (failed->code != EFBIG) return StatusOfFileError(*failed);
    Warn("The player's file " + Quoted(name) + " is larger than a player's library can be: the player is not opened.");
    if (tooLarge != nullptr) *tooLarge = true;
    return kFileError;
  }
  return kOk;
}

Status PlayerStore::WriteOwnFile(const std::string& name, const std::string& content) {
  if (const Status status = Writable(); status != kOk) return status;
  if (const Status status = OpenLibrary(true); status != kOk) return status;
  struct stat info {};
  const files::EntryKind kind = files::KindOfEntry(library_.Get(), name, &info);
  if (kind == files::EntryKind::Folder) return kFileError;
  // A link, a FIFO, or a file with other names elsewhere is not the
  // library's own: the entry goes and a new file takes its name.
  if (kind == files::EntryKind::Other || (kind == files::EntryKind::RegularFile && info.st_nlink > 1)) {
    if (const auto failed = files::RemoveEntry(library_.Get(), name)) return StatusOfFileError(*failed);
  }
  return StatusOf(files::WriteWholeFile(files::PathInFolder(library_.Get(), name), content));
}

Status PlayerStore::WriteCardFile(const std::string& relative, const std::string& content) {
  if (const Status status = Writable(); status != kOk) return status;
  CardEntry entry;
  if (const auto failed = card_.Locate(relative, entry, true)) return StatusOfFileError(*failed);
  struct stat info {};
  const files::EntryKind kind = entry.Kind(&info);
  if (kind == files::EntryKind::Folder) return kFileError;
  if (kind == files::EntryKind::Other || (kind == files::EntryKind::RegularFile && info.st_nlink > 1)) {
    if (const auto failed = files::RemoveEntry(entry.folder.Get(), entry.name)) return StatusOfFileError(*failed);
  }
  return StatusOf(files::WriteWholeFile(entry.Path(), content));
}

Status PlayerStore::RemoveCardFile(const std::string& relative) {
  if (const Status status = Writable(); status != kOk) return status;
  CardEntry entry;
  if (const auto failed = card_.Locate(relative, entry)) return StatusOfFileError(*failed);
  if (entry.Kind() == files::EntryKind::Folder) return kFileError;
  const auto failed = files::RemoveEntry(entry.folder.Get(), entry.name);
  return failed && failed->failure != files::Failure::NotFound ? StatusOfFileError(*failed) : kOk;
}

Status PlayerStore::SaveIndex() { return WriteOwnFile(kIndexName, FormatTrackIndex(index_)); }

// The journal is written in place: a copy cut off by a crash reads as no
// journal, which is right, since its change had not begun.
Status PlayerStore::WriteJournal(const std::vector<JournalEntry>& entries) {
  if (const Status status = Writable(); status != kOk) return status;
  if (const Status status = OpenLibrary(true); status != kOk) return status;
  struct stat info {};
  const files::EntryKind kind = files::KindOfEntry(library_.Get(), kJournalName, &info);
  if (kind == files::EntryKind::Other || (kind == files::EntryKind::RegularFile && info.st_nlink > 1)) {
    if (const auto failed = files::RemoveEntry(library_.Get(), kJournalName)) return StatusOfFileError(*failed);
  }
  return StatusOf(files::OverwriteFile(files::PathInFolder(library_.Get(), kJournalName), FormatJournal(entries)));
}

void PlayerStore::ClearJournal() {
  if (library_.IsOpen() && files::KindOfEntry(library_.Get(), kJournalName) != files::EntryKind::Missing &&
      card_.CheckPresent() == kOk) {
    files::RemoveEntry(library_.Get(), kJournalName);
  }
}

struct stat PlayerStore::StatOf(const std::string& relativePath) const {
  CardEntry entry;
  struct stat info {};
  if (card_.Locate(relativePath, entry) || entry.Kind(&info) != files::EntryKind::RegularFile) return {};
  return info;
}

// Copies `source` to a new staging file in the library folder and, for a
// track, writes its tag there: the file is complete before it is placed.
Status PlayerStore::Stage(const std::string& source, const AudioInfo* tag, const std::string& extension,
                          std::string& staging) {
  if (const Status status = Writable(); status != kOk) return status;
  struct stat sourceInfo {};
  if (card_.LargestFile() >= 0 && ::stat(source.c_str(), &sourceInfo) == 0 &&
      sourceInfo.st_size > card_.LargestFile()) {
    Warn(Quoted(fs::path(source).filename().string()) +
         " is larger than the player's file system can hold (FAT: less than 4 GB): it is not sent.");
    return kFileError;
  }
  if (const Status status = OpenLibrary(true); status != kOk) return status;
  staging = kStagingPrefix + RandomToken() + extension;
  const std::string path = files::PathInFolder(library_.Get(), staging);
  // An MPEG track is copied with its new tag in one pass.
  if (tag != nullptr && IsMpegName(staging)) {
    const audio::Id3v2WriteResult written = audio::CopyWithId3v2Tag(source, path, TagFieldsOf(*tag), TagOptions());
    if (!written.ok) {
      files::RemoveEntry(library_.Get(), staging);
      return StatusOfTagFailure(written);
    }
    Step("staged");
    return kOk;
  }
  if (const auto failed = files::CopyFileExclusive(source, path)) {
    return failed->failure == files::Failure::NotFound || failed->failure == files::Failure::NotRegularFile ||
                   failed->failure == files::Failure::ReadFailed
               ? kFileError
               : StatusOfFileError(*failed);
  }
  Step("staged");
  return kOk;
}

// Renames the staged file to the first free name stem[ (n)]extension in
// `folder` (relative to the root), after the journal has named it.
Status PlayerStore::Settle(const std::string& staging, const std::string& folder, const std::string& stem,
                           const std::string& extension, std::vector<JournalEntry> also, std::string& relativePath) {
  const auto unstage = [this, &staging](Status status) {
    files::RemoveEntry(library_.Get(), staging);
    return status;
  };
  struct stat staged {};
  if (files::KindOfEntry(library_.Get(), staging, &staged) != files::EntryKind::RegularFile) return kFileError;
  CardEntry target;
  if (const Status status = Writable(); status != kOk) return unstage(status);
  if (const auto failed = card_.Locate(folder + "/" + stem + extension, target, true)) {
    if (failed->failure != files::Failure::Unsafe) return unstage(StatusOfFileError(*failed));
    Warn(Quoted(folder) + " on the player leads through a link or a file: nothing is put there.");
    return unstage(kFileError);
  }
  also.push_back({JournalEntry::Kind::Add, {}, staged.st_ino, {}});
  // Names are unique ignoring case on every card, so a card copied to a
  // case-insensitive file system keeps every file.
  std::set<std::string> taken;
  for (const std::string& entry : files::FolderEntries(target.folder.Get())) taken.insert(FoldedName(entry));
  for (int n = 1; n < 10000; ++n) {
    const std::string name = stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + extension;
    if (taken.contains(FoldedName(name)) || files::KindOfEntry(target.folder.Get(), name) != files::EntryKind::Missing) {
      continue;
    }
    also.back().relativePath = folder + "/" + name;
    if (const Status status = WriteJournal(also); status != kOk) return unstage(status);
    Step("journalled");
    const auto renamed =
        files::RenameExclusive(files::PathInFolder(library_.Get(), staging), files::PathInFolder(target.folder.Get(), name));
    if (!renamed) {
      // The new name must survive a power cut before the index names it.
      files::SyncFolder(files::PathInFolder(target.folder.Get(), ""));
      relativePath = folder + "/" + name;
      Step("placed");
      return kOk;
    }
    if (renamed->failure != files::Failure::AlreadyExists) {
      ClearJournal();
      return unstage(StatusOfFileError(*renamed));
    }
  }
  ClearJournal();
  return unstage(kFileError);
}

// Where a track with `info` goes on the card: Music/<artist>/<album>/<name>.
PlayerStore::TrackPlace PlayerStore::PlaceOf(const std::string& source, const AudioInfo& info) {
  TrackPlace place;
  place.extension = LowerExtension(source);
  place.folder = std::string(kMusicFolder) + "/" + SafeFileName(info.artist, "Unknown Artist") + "/" +
                 SafeFileName(info.album, "Unknown Album");
  const std::string nameGiven = info.fileName.empty() ? fs::path(source).filename().string() : info.fileName;
  place.stem = SafeFileName(fs::path(nameGiven).stem().string(), "Track");
  return place;
}

Status PlayerStore::AddTrack(const std::string& source, AudioInfo info, int& id) {
  if (index_.tracks.size() + index_.dataFiles.size() >= kMaxEntries) return kDiskFull;
  const TrackPlace place = PlaceOf(source, info);
  std::string staging, relativePath;
  if (const Status status = Stage(source, &info, place.extension, staging); status != kOk) return status;
  if (const Status status = Settle(staging, place.folder, place.stem, place.extension, {}, relativePath);
      status != kOk) {
    return status;
  }
  info.fileSize = StatOf(relativePath).st_size;
  info.fileName = fs::path(relativePath).filename().string();
  id = info.id = index_.TakeId();
  index_.tracks[id] = {relativePath, info};
  const Status saved = SaveIndex();
  if (saved == kOk) Step("indexed");
  if (saved != kOk) {
    // No file without its entry.
    index_.tracks.erase(id);
    RemoveCardFile(relativePath);
  }
  ClearJournal();
  return saved;
}

Status PlayerStore::ReplaceTrack(int id, const std::string& source, AudioInfo info) {
  const auto found = index_.tracks.find(id);
  if (found == index_.tracks.end()) return kNotFound;
  const IndexedTrack old = found->second;
  const TrackPlace place = PlaceOf(source, info);
  std::string staging, relativePath;
  if (const Status status = Stage(source, &info, place.extension, staging); status != kOk) return status;
  const bool samePlace = old.relativePath == place.folder + "/" + place.stem + place.extension;
  if (samePlace) {
    // The new file takes the old one's name in one step: at every moment
    // one of the two is there, whole.
    CardEntry target;
    Status status = Writable();
    if (status == kOk && card_.Locate(old.relativePath, target)) status = kFileError;
    if (status == kOk && target.Kind() != files::EntryKind::RegularFile) status = kFileError;
    if (status == kOk) {
      status = StatusOf(files::MoveFile(files::PathInFolder(library_.Get(), staging), target.Path(), true));
    }
    if (status != kOk) {
      files::RemoveEntry(library_.Get(), staging);
      return status;
    }
    relativePath = old.relativePath;
    Step("placed");
  } else {
    const JournalEntry dropOld{JournalEntry::Kind::Drop, old.relativePath, StatOf(old.relativePath).st_ino, {}};
    if (const Status status = Settle(staging, place.folder, place.stem, place.extension, {dropOld}, relativePath);
        status != kOk) {
      return status;
    }
  }
  info.fileSize = StatOf(relativePath).st_size;
  info.fileName = fs::path(relativePath).filename().string();
  info.id = id;
  found->second = {relativePath, info};
  if (const Status saved = SaveIndex(); saved != kOk) {
    // The old file is gone only where the new one took its name; the
    // index then keeps its entry with the old record.
    found->second = old;
    if (!samePlace) RemoveCardFile(relativePath);
    ClearJournal();
    return saved;
  }
  Step("indexed");
  if (!samePlace) RemoveCardFile(old.relativePath);
  Step("old removed");
  ClearJournal();
  return kOk;
}

Status PlayerStore::AddDataFile(const std::string& source, DataInfo info, int& id) {
  if (index_.tracks.size() + index_.dataFiles.size() >= kMaxEntries) return kDiskFull;
  const std::string nameGiven = info.fileName.empty() ? fs::path(source).filename().string() : info.fileName;
  const fs::path name(nameGiven);
  // The extension keeps its dot: a safe name drops leading dots.
  const std::string extension = name.extension().string();
  std::string safeExtension;
  if (extension.size() > 1) {
    safeExtension.assign(1, '.');
    safeExtension += SafeFileName(extension.substr(1), "");
  }
  std::string staging, relativePath;
  if (const Status status = Stage(source, nullptr, safeExtension, staging); status != kOk) return status;
  const Status placed =
      Settle(staging, kDataFolder, SafeFileName(name.stem().string(), "File"), safeExtension, {}, relativePath);
  if (placed != kOk) return placed;
  info.fileSize = StatOf(relativePath).st_size;
  info.fileName = fs::path(relativePath).filename().string();
  id = info.id = index_.TakeId();
  index_.dataFiles[id] = {relativePath, info};
  const Status saved = SaveIndex();
  if (saved != kOk) {
    index_.dataFiles.erase(id);
    RemoveCardFile(relativePath);
  }
  ClearJournal();
  return saved;
}

Status PlayerStore::CopyOut(const std::string& relativePath, const std::string& target) {
  CardEntry entry;
  if (const auto failed = card_.Locate(relativePath, entry)) {
    if (failed->failure == files::Failure::Unsafe) {
      Warn(Quoted(relativePath) + " lies beyond a link or outside the player: it is not copied.");
    }
    return kFileError;
  }
  if (entry.Kind() != files::EntryKind::RegularFile) {
    Warn(Quoted(relativePath) + " on the player is a link or not a regular file: it is not copied.");
    return kFileError;
  }
  const auto failed = files::CopyFileExclusive(entry.Path(), target);
  if (!failed) return kOk;
  return failed->failure == files::Failure::NotFound ? kFileError : StatusOfFileError(*failed);
}

Status PlayerStore::SetTrackInfo(int id, const AudioInfo& info) {
  const auto found = index_.tracks.find(id);
  if (found == index_.tracks.end()) return kNotFound;
  if (const Status status = Writable(); status != kOk) return status;
  IndexedTrack& track = found->second;
  AudioInfo changed = info;
  changed.id = id;
  changed.fileName = track.info.fileName;
  changed.fileSize = track.info.fileSize;
  // The tag is part of the change: the player reads it. A track whose file
  // is gone keeps only the index's record.
  CardEntry entry;
  struct stat file {};
  const files::FileStatus located = card_.Locate(track.relativePath, entry);
  const files::EntryKind kind = !located                                         ? entry.Kind(&file)
                                : located->failure == files::Failure::NotFound ? files::EntryKind::Missing
                                                                                : files::EntryKind::Other;
  if (kind == files::EntryKind::Other || kind == files::EntryKind::Folder ||
      (kind == files::EntryKind::RegularFile && file.st_nlink > 1)) {
    Warn(Quoted(track.relativePath) + " on the player is a link or not a file of its own: its tag is not written.");
    return kFileError;
  }
  // A new file name is the file's new name on the card.
  std::string relativePath = track.relativePath;
  if (kind == files::EntryKind::RegularFile && !info.fileName.empty() && info.fileName != track.info.fileName) {
    if (const Status status = RenameTrackFile(track, entry, info.fileName, relativePath); status != kOk) {
      return status;
    }
    changed.fileName = info.fileName;
    if (card_.Locate(relativePath, entry)) return kFileError;
  }
  if (kind == files::EntryKind::RegularFile && IsMpegName(relativePath)) {
    if (const Status status = WriteTag(entry.Path(), entry.name, changed); status != kOk) {
      ClearJournal();
      return status;
    }
  }
  const IndexedTrack old = track;
  track.info = changed;
  track.relativePath = relativePath;
  const Status saved = SaveIndex();
  if (saved != kOk) track = old;
  if (saved == kOk) Step("indexed");
  // A failed save leaves the journal, which takes a rename back at the next
  // open; a kept one is no longer needed.
  if (saved == kOk || relativePath == old.relativePath) ClearJournal();
  return saved;
}

// Renames the track's file to `requested` (made safe, its own extension
// kept, unique ignoring case in its folder), after the journal has named
// the move.
Status PlayerStore::RenameTrackFile(const IndexedTrack& track, const CardEntry& entry, const std::string& requested,
                                    std::string& relativePath) {
  const std::string extension = fs::path(entry.name).extension().string();
  const std::string stem = SafeFileName(fs::path(requested).stem().string(), "Track");
  const std::string folder = FolderOfRelative(track.relativePath);
  std::set<std::string> taken;
  for (const std::string& name : files::FolderEntries(entry.folder.Get())) {
    if (name != entry.name) taken.insert(FoldedName(name));
  }
  std::string name;
  for (int n = 1; name.empty() && n < 10000; ++n) {
    const std::string candidate = stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + extension;
    if (!taken.contains(FoldedName(candidate))) name = candidate;
  }
  if (name.empty()) return kFileError;
  if (name == entry.name) return kOk;
  struct stat info {};
  entry.Kind(&info);
  const std::string target = folder.empty() ? name : folder + "/" + name;
  if (const Status status = WriteJournal({{JournalEntry::Kind::Move, target, info.st_ino, track.relativePath}});
      status != kOk) {
    return status;
  }
  Step("journalled");
  // A change of case only is the same name on a case-insensitive card.
  const bool caseOnly = FoldedName(name) == FoldedName(entry.name);
  const std::string to = files::PathInFolder(entry.folder.Get(), name);
  const files::FileStatus renamed =
      caseOnly ? files::MoveFile(entry.Path(), to, true) : files::RenameExclusive(entry.Path(), to);
  if (renamed) {
    ClearJournal();
    Warn(Quoted(track.relativePath) + " on the player could not be renamed to " + Quoted(name) + ".");
    return StatusOfFileError(*renamed);
  }
  Step("placed");
  relativePath = target;
  return kOk;
}

// Takes the entry out of the index first: a file the index no longer names
// is taken back by the journal, while an index entry without its file would
// be a track that cannot be played or received.
template <class Entries>
Status PlayerStore::DeleteEntry(Entries& entries, int id) {
  const auto found = entries.find(id);
  if (found == entries.end()) return kNotFound;
  if (const Status status = Writable(); status != kOk) return status;
  const auto old = *found;
  const std::string path = old.second.relativePath;
  if (const ino_t inode = StatOf(path).st_ino; inode != 0) {
    if (const Status status = WriteJournal({{JournalEntry::Kind::Drop, path, inode, {}}}); status != kOk) return status;
    Step("journalled");
  }
  entries.erase(found);
  if (const Status saved = SaveIndex(); saved != kOk) {
    entries.insert(old);
    ClearJournal();
    return saved;
  }
  Step("indexed");
  CardEntry entry;
  if (!card_.Locate(path, entry) && entry.Kind() == files::EntryKind::RegularFile) {
    const auto removed = files::RemoveEntry(entry.folder.Get(), entry.name);
    if (removed && removed->failure != files::Failure::NotFound) {
      entries.insert(old);
      SaveIndex();
      ClearJournal();
      return StatusOfFileError(*removed);
    }
  }
  ClearJournal();
  return kOk;
}

Status PlayerStore::DeleteTrack(int id) { return DeleteEntry(index_.tracks, id); }
Status PlayerStore::DeleteDataFile(int id) { return DeleteEntry(index_.dataFiles, id); }

Status PlayerStore::Storage(StorageInfo& info) const {
  struct statvfs fsInfo {};
  if (!card_.IsOpen() || ::fstatvfs(card_.Descriptor(), &fsInfo) != 0) return StatusOfErrno(errno);
  info.totalKb = static_cast<std::int64_t>(fsInfo.f_blocks) * static_cast<std::int64_t>(fsInfo.f_frsize) / 1024;
  info.freeKb = static_cast<std::int64_t>(fsInfo.f_bavail) * static_cast<std::int64_t>(fsInfo.f_frsize) / 1024;
  info.tracks = static_cast<int>(index_.tracks.size());
  info.dataFiles = static_cast<int>(index_.dataFiles.size());
  info.audioKb = info.dataKb = 0;
  for (const auto& [id, track] : index_.tracks) info.audioKb += track.info.fileSize / 1024;
  for (const auto& [id, file] : index_.dataFiles) info.dataKb += file.info.fileSize / 1024;
  return kOk;
}

Status PlayerStore::Format() {
  if (const Status status = Writable(); status != kOk) return status;
  lock_.Reset();
  library_.Reset();
  if (files::RemoveFolderContents(files::PathInFolder(card_.Descriptor(), ""))) return kFileError;
  if (const Status status = TakeLock(); status != kOk) return status;
  index_ = {};
  return SaveIndex();
}

}  // namespace tonvault::device
