#pragma once

#include <string>

#include "device/DeviceStatus.h"
#include "device/DeviceTypes.h"
#include "device/folder/TrackIndex.h"
#include "files/FileError.h"

namespace tonvault::device {

// The content of a player that is a folder (a mounted player, a memory
// card, a phone, or the simulated player's scratch folder): the audio and
// data files under its root and, in a hidden library folder, the index of
// tracks with their IDs and the player's view of their tags.
//
// Every change goes through src/files: files arrive under a staging name
// and are renamed exclusively into place (never over another file, never
// half-written under their final name); the index is replaced atomically,
// so a crash leaves the old or the new index whole.
class PlayerStore {
 public:
  static constexpr const char* kLibraryFolder = ".tonvault-player";
  static constexpr const char* kIndexName = "index.txt";
  static constexpr const char* kMusicFolder = "Music";
  static constexpr const char* kDataFolder = "Data";

  explicit PlayerStore(std::string root);

  // Reads the index, or rebuilds it from the files when it is missing or
  // damaged. kNotFound when the root is not a folder. A read-only store
  // opens (its index then lives in memory only).
  Status Open();
  // Builds the index again from the files under the root (new IDs) and
  // writes it.
  Status Rebuild();
  // Whether the last Open had to rebuild the index.
  bool Rebuilt() const { return rebuilt_; }
  const TrackIndex& Index() const { return index_; }
  const std::string& Root() const { return root_; }
  std::string IndexPath() const;
  std::string PathOf(const std::string& relativePath) const { return root_ + "/" + relativePath; }

  // Copies `source` into the store as a track with `info` (its ID is given
  // here), writing the info into the file's ID3 tag.
  Status AddTrack(const std::string& source, AudioInfo info, int& id);
  Status AddDataFile(const std::string& source, DataInfo info, int& id);
  // Copies a stored file to `target`, which must not exist yet.
  Status CopyOut(const std::string& relativePath, const std::string& target) const;
  Status SetTrackInfo(int id, const AudioInfo& info);
  Status DeleteTrack(int id);
  Status DeleteDataFile(int id);
  Status Storage(StorageInfo& info) const;

 private:
  Status SaveIndex();
  template <class Entries>
  Status DeleteEntry(Entries& entries, int id);
  template <class Entries, class Info>
  Status Admit(Entries& entries, const std::string& relativePath, Info info, int& id);
  Status EnsureLibraryFolder();
  Status Place(const std::string& source, const std::string& folder, const std::string& stem,
               const std::string& extension, std::string& relativePath);
  std::string root_;
  TrackIndex index_;
  bool rebuilt_ = false;
};

// The status a file operation's failure stands for on a player.
Status StatusOfFileError(const files::FileError& error);

}  // namespace tonvault::device
