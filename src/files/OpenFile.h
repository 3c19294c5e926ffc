#pragma once

#include <sys/stat.h>

#include <string>

#include "files/FileError.h"
#include "files/UniqueDescriptor.h"

namespace tonvault::files {

// An open regular file and what fstat said of it.
struct OpenedFile {
  UniqueDescriptor descriptor;
  struct stat info {};
};

// Opens an existing regular file for reading. A FIFO, device, socket or
// folder is refused without blocking (opening a FIFO for reading would wait
// for a writer forever); links are followed.
FileStatus OpenForReading(const std::string& path, OpenedFile& out);

// Opens an existing regular file for changing it in place (a tag patched
// where it stands). Refuses what OpenForReading refuses and a file the user
// may not write (see IsWriteProtected).
FileStatus OpenForPatch(const std::string& path, OpenedFile& out);

// Whether `path` names a regular file (links followed), without opening it:
// NotRegularFile for a FIFO, device, socket or folder, NotFound for a name
// or a link that leads nowhere, the system's error for a link loop.
FileStatus CheckRegularFile(const std::string& path);

// True when the user may not write the file at `path` described by `info`:
// the system denies it, or the file has no write permission for anyone.
// The second rule keeps a deliberately read-only file safe from a program
// running with the power to override permissions.
bool IsWriteProtected(const std::string& path, const struct stat& info);

}  // namespace tonvault::files
