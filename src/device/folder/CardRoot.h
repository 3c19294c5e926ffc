#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "device/DeviceStatus.h"
#include "files/Beneath.h"
#include "files/UniqueDescriptor.h"

namespace tonvault::device {

// An entry of a card located beneath its root: the folder that holds it,
// opened without following a link, and its name in that folder.
struct CardEntry {
  files::UniqueDescriptor folder;
  std::string name;

  // A path to the entry for the path-based file functions (valid while
  // `folder` is open).
  std::string Path() const { return files::PathInFolder(folder.Get(), name); }
  files::EntryKind Kind(struct stat* info = nullptr) const { return files::KindOfEntry(folder.Get(), name, info); }
};

// The root folder of a player card, opened once. A card is untrusted input:
// every path taken from it (its index, its playlists) is resolved beneath
// this root one component at a time, never through a link and never out of
// it. The root's device and inode are recorded at open, so a card that
// was removed (its mount point left as a bare folder on the computer's own
// disk) or replaced by another is noticed before anything is written.
class CardRoot {
 public:
  // Opens the folder at `path`; with `followLink` false, `path` itself must
  // not be a link. kNotFound when it is no folder.
  Status Open(const std::string& path, bool followLink);
  void Close() { root_.Reset(); }
  bool IsOpen() const { return root_.IsOpen(); }
  int Descriptor() const { return root_.Get(); }
  const std::string& Path() const { return path_; }

  // The largest file the card's file system holds (FAT: 4 GB less a byte),
  // or -1 when it sets no limit a song could reach.
  std::int64_t LargestFile() const { return largestFile_; }

  // kOk while the folder at Path() is the one opened, else kRemoved.
  Status CheckPresent() const;

  // The entry at `relative` (a path from the card's own files). A path
  // that leads outside the root or through a link is refused
  // (Failure::Unsafe). With `createFolders` the folders above it are made.
  files::FileStatus Locate(const std::string& relative, CardEntry& entry, bool createFolders = false) const;

 private:
  std::string path_;
  files::UniqueDescriptor root_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::int64_t largestFile_ = -1;
};

}  // namespace tonvault::device
