#pragma once

#include <string>

#include "files/FileError.h"

namespace tonvault::files {

// Renames `from` to `to` only when `to` does not exist (Failure::AlreadyExists
// otherwise): a plain rename would silently replace the other file.
FileStatus RenameExclusive(const std::string& from, const std::string& to);

// Moves a file: an exclusive rename, or across file systems a complete copy
// (keeping the dates, and the permissions when it creates the target) and
// then the removal of the source. With
// `replaceExisting` an existing target is replaced instead of refused.
FileStatus MoveFile(const std::string& from, const std::string& to, bool replaceExisting);

// Removes the file named exactly `path` (never a look-alike name).
FileStatus RemoveFile(const std::string& path);

// Empties a folder: everything inside it goes, the folder itself stays.
// Symbolic links inside are removed as links; what they point to is kept.
FileStatus RemoveFolderContents(const std::string& folder);

}  // namespace tonvault::files
