#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

#include "files/FileError.h"
#include "files/UniqueDescriptor.h"

namespace tonvault::files {

// Access to the entries beneath a folder that is itself untrusted input (a
// player card): names read from files on it are followed only down, one
// component at a time, never through a symbolic link and never out of the
// folder, whatever the names or links in it say.

// Whether `relative` names something beneath the folder it is taken
// relative to: not empty, not absolute, no "", "." or ".." component, no
// NUL byte.
bool IsBeneathPath(std::string_view relative);

// Opens the folder `relative` (components separated by '/'; empty for
// `root` itself) beneath the folder open at `root`. Every component must be
// a real folder: a link, a file or anything else is refused
// (Failure::Unsafe), as is a path IsBeneathPath refuses. With `create`,
// missing folders are made (permissions from the umask).
FileStatus OpenFolderBeneath(int root, std::string_view relative, bool create, UniqueDescriptor& folder);

// A path that names `name` in the folder open at `folder`, for the
// path-based functions of this module: it reaches exactly that folder while
// the descriptor is open, however the folders above it are renamed or
// linked. Only the last component is looked up by name.
std::string PathInFolder(int folder, std::string_view name);

enum class EntryKind { Missing, RegularFile, Folder, Other };

// What `name` is in the folder open at `folder`, links not followed (a
// link is Other); `info` receives what lstat said when it is given.
EntryKind KindOfEntry(int folder, const std::string& name, struct stat* info = nullptr);

// The names in the folder open at `folder` ("." and ".." left out), in no
// particular order; empty when it cannot be read.
std::vector<std::string> FolderEntries(int folder);

// Opens the regular file `name` in the folder open at `folder` for reading,
// without following a link and without blocking on a FIFO.
FileStatus OpenEntryForReading(int folder, const std::string& name, UniqueDescriptor& file);

// Removes the file (or link, FIFO …) `name` from the folder open at
// `folder`; a folder is refused. A link is removed as itself.
FileStatus RemoveEntry(int folder, const std::string& name);

// Opens (creating it when missing) the regular file `name` in the folder
// open at `folder` and takes an exclusive lock on it without waiting:
// Failure::AlreadyExists with EWOULDBLOCK while another program, or another
// open of the same file, holds it. The lock lasts while `lock` is open.
FileStatus LockEntry(int folder, const std::string& name, UniqueDescriptor& lock);

}  // namespace tonvault::files
