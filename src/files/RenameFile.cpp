#include "files/RenameFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "files/CopyFile.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace tonvault::files {

namespace {

FileError RenameError(int code) {
  return code == EEXIST || code == ENOTEMPTY ? FileError{Failure::AlreadyExists, code} : ErrorFromErrno(code);
}

// File systems with neither (FAT, most FUSE mounts): the name is reserved
// by creating it exclusively, then the file is renamed over the reserved,
// empty file of our own — never over a name that existed before.
FileStatus RenameOverReserved(const std::string& from, const std::string& to) {
  const int reserved = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (reserved < 0) return RenameError(errno);
  ::close(reserved);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    return ErrorFromErrno(error);
  }
  return std::nullopt;
}

}  // namespace

FileStatus RenameExclusive(const std::string& from, const std::string& to) {
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return std::nullopt;
  }
  if (errno != EINVAL && errno != ENOSYS) return RenameError(errno);
  // File systems without the exclusive rename: a new hard link fails when
  // the name is taken, and the old name goes once the new one exists.
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return ErrorFromErrno(errno);
  if (S_ISDIR(info.st_mode)) return FileError{Failure::NotRegularFile, EISDIR};
  if (::link(from.c_str(), to.c_str()) != 0) {
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK) return RenameError(errno);
    return RenameOverReserved(from, to);
  }
  if (::unlink(from.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    return ErrorFromErrno(error);
  }
  return std::nullopt;
}

FileStatus MoveFile(const std::string& from, const std::string& to, bool replaceExisting) {
  if (replaceExisting) {
    if (::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    if (errno != EXDEV) return RenameError(errno);
  } else {
    const FileStatus error = RenameExclusive(from, to);
    if (!error || error->code != EXDEV) return error;
  }
  struct stat existing {};
  const bool targetExisted = ::lstat(to.c_str(), &existing) == 0;
  if (!replaceExisting && targetExisted) return FileError{Failure::AlreadyExists, EEXIST};
  // The file arrives with the permissions it had, as a rename keeps them.
  if (const auto error = CopyFile(from, to, nullptr, NewCopyMode::Source)) return error;
  const FileStatus removed = RemoveFile(from);
  // A source that cannot go (its folder is read-only) makes the move fail
  // as a whole: the copy it made is taken back, so no second file is left.
  if (removed && !targetExisted) ::unlink(to.c_str());
  return removed;
}

FileStatus RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return ErrorFromErrno(errno);
  return std::nullopt;
}

FileStatus RemoveFolderContents(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    // remove_all never follows a symbolic link: a link is removed as itself.
    std::filesystem::remove_all(entry.path(), error);
    if (error) return ErrorFromErrno(error.value());
  }
  if (error) return ErrorFromErrno(error.value());
  return std::nullopt;
}

}  // namespace tonvault::files
