#include "files/TemporaryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace tonvault::files {

namespace {

// FNV-1a over the name's bytes: stable across runs and builds.
std::uint32_t NameHash(const std::string& name) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

bool OlderThan(const struct stat& info, int seconds) {
  return std::time(nullptr) - info.st_mtim.tv_sec >= seconds;
}

// Removes the file at `path` when it is a temporary file nobody writes: it
// is old enough and its lock can be taken (a live writer holds it).
void RemoveIfStale(const std::string& path) {
  UniqueDescriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!file.IsOpen()) return;
  struct stat opened {};
  struct stat named {};
  if (::fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return;
  if (!OlderThan(opened, TemporaryFile::kStaleSeconds)) return;
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return;
  if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
    ::unlink(path.c_str());
  }
}

bool ProcSelfAvailable() {
  static const bool available = ::access("/proc/self/fd", X_OK) == 0;
  return available;
}

}  // namespace

std::string TemporaryFile::SlotPath(const std::string& folder, const std::string& targetName, int slot) {
  char name[40];
  std::snprintf(name, sizeof name, "/.tonvault-%08x-%d.tmp", static_cast<unsigned>(NameHash(targetName)), slot);
  return folder + name;
}

TemporaryFile::~TemporaryFile() { Discard(); }

FileStatus TemporaryFile::Create(const std::string& folder, const std::string& targetName) {
  Discard();
  folder_ = folder;
  targetName_ = targetName;
  for (int slot = 0; slot < kSlots; ++slot) RemoveIfStale(SlotPath(folder, targetName, slot));
  if (ProcSelfAvailable()) {
    const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
      file_ = UniqueDescriptor(unnamed);
      ::flock(unnamed, LOCK_EX);
      return std::nullopt;
    }
    // File systems without unnamed files say so in several ways; anything
    // else (no permission, no space) is the answer.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return ErrorFromErrno(errno);
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    const std::string path = SlotPath(folder, targetName, slot);
    const int named = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (named < 0) {
      if (errno == EEXIST) continue;
      return ErrorFromErrno(errno);
    }
    file_ = UniqueDescriptor(named);
    path_ = path;
    ::flock(named, LOCK_EX);
    return std::nullopt;
  }
  return FileError{Failure::AlreadyExists, EEXIST};
}

FileStatus TemporaryFile::Name() {
  if (!path_.empty()) return std::nullopt;
  const std::string self = "/proc/self/fd/" + std::to_string(file_.Get());
  for (int slot = 0; slot < kSlots; ++slot) {
    const std::string path = SlotPath(folder_, targetName_, slot);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      path_ = path;
      return std::nullopt;
    }
    if (errno != EEXIST) return ErrorFromErrno(errno);
  }
  return FileError{Failure::AlreadyExists, EEXIST};
}

FileStatus TemporaryFile::RenameOver(const std::string& target) {
  if (::fsync(file_.Get()) != 0) return ErrorFromErrno(errno);
  if (const auto error = Name()) return error;
  if (::rename(path_.c_str(), target.c_str()) != 0) return ErrorFromErrno(errno);
  path_.clear();
  const bool closed = file_.Close();
  SyncFolder(folder_);
  if (!closed) return FileError{Failure::System, EIO};
  return std::nullopt;
}

FileStatus TemporaryFile::LinkAs(const std::string& target) {
  if (::fsync(file_.Get()) != 0) return ErrorFromErrno(errno);
  const std::string source = path_.empty() ? "/proc/self/fd/" + std::to_string(file_.Get()) : path_;
  if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    if (errno == EEXIST) return FileError{Failure::AlreadyExists, EEXIST};
    // File systems without hard links (FAT, most FUSE mounts) have no
    // unnamed files either: the named file takes the name the target
    // reserved exclusively, never a name that existed before.
    if (path_.empty() || (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK)) {
      return ErrorFromErrno(errno);
    }
    const int reserved = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (reserved < 0) return errno == EEXIST ? FileError{Failure::AlreadyExists, EEXIST} : ErrorFromErrno(errno);
    ::close(reserved);
    if (::rename(path_.c_str(), target.c_str()) != 0) {
      const int error = errno;
      ::unlink(target.c_str());
      return ErrorFromErrno(error);
    }
    path_.clear();
  }
  Discard();
  SyncFolder(folder_);
  return std::nullopt;
}

void TemporaryFile::Discard() {
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  file_.Reset();
}

void TemporaryFile::Keep() {
  path_.clear();
  file_.Reset();
}

void SyncFolder(const std::string& folder) {
  UniqueDescriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (descriptor.IsOpen()) ::fsync(descriptor.Get());
}

}  // namespace tonvault::files
