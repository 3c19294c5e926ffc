#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceStatus.h"
#include "device/DeviceTypes.h"
#include "device/folder/CardJournal.h"
#include "device/folder/CardRoot.h"
#include "device/folder/TrackIndex.h"
#include "files/FileError.h"

namespace tonvault::device {

// The content of a player that is a folder (a mounted player, a memory
// card, a phone, or the simulated player's scratch folder): the audio and
// data files under its root and, in a hidden library folder, the index of
// tracks with their IDs and the player's view of their tags.
//
// The card is untrusted input. Every path taken from its files is resolved
// beneath the card root without following links (CardRoot); the library's
// own files must be regular files; nothing is written once the card is
// gone. One program at a time: the store holds a lock in the library
// folder while it is open, and a second one is answered kBusy.
//
// Every change goes through src/files: files arrive under a staging name
// and are renamed exclusively into place (never over another file, never
// half-written under their final name); the index is replaced atomically,
// and a journal names the files a change is about to place or take away,
// so a kill at any point leaves the card consistent.
class PlayerStore {
 public:
  static constexpr const char* kLibraryFolder = ".tonvault-player";
  static constexpr const char* kIndexName = "index.txt";
  static constexpr const char* kLockName = "lock";
  static constexpr const char* kJournalName = "journal.txt";
  static constexpr const char* kMusicFolder = "Music";
  static constexpr const char* kDataFolder = "Data";
  // What a player's library can hold: more is refused, never half read.
  static constexpr std::size_t kMaxIndexBytes = std::size_t{64} << 20;
  static constexpr std::size_t kMaxEntries = 100000;

  // With `rootMayBeLink` false the root itself must be a real folder (the
  // program's own scratch folders).
  explicit PlayerStore(std::string root, bool rootMayBeLink = true);

  // Opens the card, takes its lock and reads the index, or rebuilds it from
  // the files when it is missing or damaged. kNotFound when the root is not
  // a folder, kBusy when another program has the card open. A read-only
  // store opens (its index then lives in memory only).
  Status Open();
  // Lets the card go (and its lock).
  void Close();
  // Builds the index again from the files under the root and writes it.
  // Files that the old index named keep their IDs and what it knew of them
  // when their size is unchanged.
  Status Rebuild();
  // Whether the last Open had to rebuild the index.
  bool Rebuilt() const { return rebuilt_; }
  const TrackIndex& Index() const { return index_; }
  const std::string& Root() const { return root_; }
  const CardRoot& Card() const { return card_; }
  // What the store refused or repaired since the last call, one sentence
  // each, for the user.
  std::vector<std::string> TakeWarnings();

  // Copies `source` into the store as a track with `info` (its ID is given
  // here), writing the info into the file's ID3 tag.
  Status AddTrack(const std::string& source, AudioInfo info, int& id);
  // Puts `source` in the place of track `id`: the new file is complete and
  // indexed under the same ID before the old one goes.
  Status ReplaceTrack(int id, const std::string& source, AudioInfo info);
  Status AddDataFile(const std::string& source, DataInfo info, int& id);
  // Copies a stored file to `target`, which must not exist yet: created
  // exclusively, never through a link.
  Status CopyOut(const std::string& relativePath, const std::string& target);
  // Changes what the player keeps of a track and writes it into the file's
  // tag; a new file name renames the file on the card.
  Status SetTrackInfo(int id, const AudioInfo& info);
  Status DeleteTrack(int id);
  Status DeleteDataFile(int id);
  Status Storage(StorageInfo& info) const;
  // Removes everything on the card and starts an empty index.
  Status Format();

  // The library's own files (the playlists keep theirs there): read only
  // when a regular file of at most `limit` bytes (kNotFound when missing),
  // replaced atomically.
  Status ReadOwnFile(const std::string& name, std::string& text, std::size_t limit, bool* tooLarge = nullptr);
  Status WriteOwnFile(const std::string& name, const std::string& content);
  // A file at `relative` on the card, outside the library (a playlist's
  // .m3u8): written or removed beneath the root only.
  Status WriteCardFile(const std::string& relative, const std::string& content);
  Status RemoveCardFile(const std::string& relative);
  // Adds a sentence for TakeWarnings.
  void Warn(std::string text) { warnings_.push_back(std::move(text)); }
  // For tests: called after each step of a change ("staged", "journalled",
  // "placed", "indexed", "old removed"), so a test can kill the process
  // there and check what the next open finds.
  void SetStepHook(std::function<void(std::string_view step)> hook) { stepHook_ = std::move(hook); }

 private:
  Status OpenLibrary(bool create);
  Status TakeLock();
  Status ReadIndex();
  Status RebuildFrom(const TrackIndex& known);
  void DropUnsafeEntries();
  void RemoveStagingLeftovers();
  void Recover();
  void UndoMove(const JournalEntry& move, bool indexNamesOld);
  Status RenameTrackFile(const IndexedTrack& track, const CardEntry& entry, const std::string& requested,
                         std::string& relativePath);
  Status SaveIndex();
  Status WriteJournal(const std::vector<JournalEntry>& entries);
  void ClearJournal();
  Status Writable();
  template <class Entries>
  Status DeleteEntry(Entries& entries, int id);
  Status Stage(const std::string& source, const AudioInfo* tag, const std::string& extension, std::string& staging);
  Status Settle(const std::string& staging, const std::string& folder, const std::string& stem,
                const std::string& extension, std::vector<JournalEntry> also, std::string& relativePath);
  struct TrackPlace {
    std::string folder, stem, extension;
  };
  static TrackPlace PlaceOf(const std::string& source, const AudioInfo& info);
  // What lstat says of a regular file on the card; zeros for anything else.
  struct stat StatOf(const std::string& relativePath) const;

  std::string root_;
  bool rootMayBeLink_;
  CardRoot card_;
  files::UniqueDescriptor library_;
  files::UniqueDescriptor lock_;
  TrackIndex index_;
  bool rebuilt_ = false;
  std::vector<std::string> warnings_;
  std::function<void(std::string_view)> stepHook_;
  void Step(std::string_view step) const {
    if (stepHook_) stepHook_(step);
  }
};

// The status a file operation's failure stands for on a player.
Status StatusOfFileError(const files::FileError& error);

}  // namespace tonvault::device
