#pragma once

#include <optional>
#include <string>

namespace tonvault::files {

// Why a file operation did not happen. The callers turn these into the
// program's own messages; Text() is the plain reason for logs and tools.
enum class Failure {
  NotFound,        // the path names nothing, or a link that leads nowhere
  NotRegularFile,  // a folder, FIFO, device or socket where a file was needed
  WriteProtected,  // the file exists but the user may not change it
  AlreadyExists,   // a rename or copy that must not replace found a file
  ReadFailed,      // the new content could not be read from its source
  Unsafe,          // a name that leads outside its folder or through a link
  System,          // another error of the system; `code` holds it
};

struct FileError {
  Failure failure = Failure::System;
  int code = 0;  // errno, where one is known

  std::string Text() const;
};

// Empty when the operation succeeded.
using FileStatus = std::optional<FileError>;

// The error for an errno value: ENOENT and ENOTDIR are NotFound, the
// permission errors of a write are the caller's to name.
FileError ErrorFromErrno(int code);

}  // namespace tonvault::files
