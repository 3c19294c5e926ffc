#pragma once

#include <string>

#include "files/FileError.h"
#include "files/UniqueDescriptor.h"

namespace tonvault::files {

// The file a replacement is written to before it takes the target's place.
//
// Where the file system allows, it is created without a name (O_TMPFILE):
// a crash or `kill -9` while it is written leaves nothing behind. It gets a
// name in the target's folder only when complete, just before it is renamed
// over the target. Elsewhere it is created under that name at once.
//
// The names are short and do not grow with the target's name:
// ".tonvault-HHHHHHHH-N.tmp", HHHHHHHH a hash of the target's name and N
// one of a few slots. So the next write of the same target finds a
// temporary file left by a crashed run without listing the folder, and
// removes it when no running writer holds its lock.
class TemporaryFile {
 public:
  static constexpr int kSlots = 8;
  // A temporary file younger than this is never taken as stale: a writer
  // that has just created it may not hold its lock yet.
  static constexpr int kStaleSeconds = 2;

  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Removes stale temporary files of this target, then creates a new one
  // (mode 0600 until Finish gives it its own) in `folder`.
  FileStatus Create(const std::string& folder, const std::string& targetName);
  int Descriptor() const { return file_.Get(); }

  // Gives the file its name in the folder (the unnamed kind only).
  FileStatus Name();
  // Flushes the file and renames it over `target` in one step; then flushes
  // the folder so the rename survives a crash.
  FileStatus RenameOver(const std::string& target);
  // Flushes the file and gives it the name `target` only when no file has
  // that name (Failure::AlreadyExists otherwise); the temporary name goes.
  FileStatus LinkAs(const std::string& target);
  // Closes and removes the file.
  void Discard();
  // Closes the file and leaves it under its name: a complete copy that is
  // the only whole version of the content after a failed rewrite. The next
  // write of the same target removes it as stale.
  void Keep();

  // The name of slot `slot` for a target name, in `folder`.
  static std::string SlotPath(const std::string& folder, const std::string& targetName, int slot);

 private:
  std::string folder_;
  std::string targetName_;
  std::string path_;  // empty while the file has no name
  UniqueDescriptor file_;
};

// Flushes a folder's entries to disk (a rename or a new file in it).
void SyncFolder(const std::string& folder);

}  // namespace tonvault::files
