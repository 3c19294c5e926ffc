#include "files/OpenFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tonvault::files {

namespace {

// Checks the path before opening it, so a device node is never opened (an
// open alone can rewind a tape or wait for a modem), and again after.
FileStatus Open(const std::string& path, int access, OpenedFile& out) {
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(before.st_mode)) return FileError{Failure::NotRegularFile, 0};
  const int descriptor = ::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    const int error = errno;
    if (access != O_RDONLY && (error == EACCES || error == EPERM || error == EROFS)) {
      return FileError{Failure::WriteProtected, error};
    }
    return ErrorFromErrno(error);
  }
  UniqueDescriptor file(descriptor);
  if (::fstat(descriptor, &out.info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(out.info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  // Regular files never block; the flag only mattered for the open itself.
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  out.descriptor = std::move(file);
  return std::nullopt;
}

}  // namespace

FileStatus OpenForReading(const std::string& path, OpenedFile& out) { return Open(path, O_RDONLY, out); }

FileStatus OpenForPatch(const std::string& path, OpenedFile& out) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && IsWriteProtected(path, info)) {
    return FileError{Failure::WriteProtected, EACCES};
  }
  return Open(path, O_RDWR, out);
}

FileStatus CheckRegularFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  return std::nullopt;
}

bool IsWriteProtected(const std::string& path, const struct stat& info) {
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace tonvault::files
