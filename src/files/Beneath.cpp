#include "files/Beneath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tonvault::files {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens one component below `parent`: a real folder, never a link.
FileStatus OpenComponent(int parent, const std::string& name, bool create, UniqueDescriptor& out) {
  if (create && ::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return ErrorFromErrno(errno);
  UniqueDescriptor folder(::openat(parent, name.c_str(), kFolderFlags));
  if (!folder.IsOpen()) {
    // ELOOP: a link; ENOTDIR: a file or a link; both are refused as such.
    if (errno == ELOOP || errno == ENOTDIR) return FileError{Failure::Unsafe, errno};
    return ErrorFromErrno(errno);
  }
  out = std::move(folder);
  return std::nullopt;
}

}  // namespace

bool IsBeneathPath(std::string_view relative) {
  if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string_view::npos) return false;
  for (std::size_t start = 0; start <= relative.size();) {
    std::size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    const std::string_view part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

FileStatus OpenFolderBeneath(int root, std::string_view relative, bool create, UniqueDescriptor& folder) {
  UniqueDescriptor current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
  if (!current.IsOpen()) return ErrorFromErrno(errno);
  if (!relative.empty()) {
    if (!IsBeneathPath(relative)) return FileError{Failure::Unsafe, EINVAL};
    for (std::size_t start = 0; start < relative.size();) {
      std::size_t end = relative.find('/', start);
      if (end == std::string_view::npos) end = relative.size();
      UniqueDescriptor next;
      if (const auto error = OpenComponent(current.Get(), std::string(relative.substr(start, end - start)), create, next)) {
        return error;
      }
      current = std::move(next);
      start = end + 1;
    }
  }
  folder = std::move(current);
  return std::nullopt;
}

std::string PathInFolder(int folder, std::string_view name) {
  std::string path = "/proc/self/fd/" + std::to_string(folder);
  if (!name.empty()) {
    path += '/';
    path += name;
  }
  return path;
}

EntryKind KindOfEntry(int folder, const std::string& name, struct stat* info) {
  struct stat found {};
  if (::fstatat(folder, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Missing;
  if (info != nullptr) *info = found;
  if (S_ISREG(found.st_mode)) return EntryKind::RegularFile;
  if (S_ISDIR(found.st_mode)) return EntryKind::Folder;
  return EntryKind::Other;
}

std::vector<std::string> FolderEntries(int folder) {
  std::vector<std::string> names;
  const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed < 0) return names;
  DIR* directory = ::fdopendir(listed);
  if (directory == nullptr) {
    ::close(listed);
    return names;
  }
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(directory);
  return names;
}

FileStatus OpenEntryForReading(int folder, const std::string& name, UniqueDescriptor& file) {
  if (name.empty() || name.find('/') != std::string::npos) return FileError{Failure::Unsafe, EINVAL};
  // A device is never opened: an open alone can have effects on it.
  switch (KindOfEntry(folder, name)) {
    case EntryKind::Missing: return FileError{Failure::NotFound, ENOENT};
    case EntryKind::RegularFile: break;
    case EntryKind::Folder: return FileError{Failure::NotRegularFile, EISDIR};
    case EntryKind::Other: {
      struct stat info {};
      KindOfEntry(folder, name, &info);
      return S_ISLNK(info.st_mode) ? FileError{Failure::Unsafe, ELOOP} : FileError{Failure::NotRegularFile, 0};
    }
  }
  UniqueDescriptor opened(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!opened.IsOpen()) return errno == ELOOP ? FileError{Failure::Unsafe, ELOOP} : ErrorFromErrno(errno);
  struct stat info {};
  if (::fstat(opened.Get(), &info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  ::fcntl(opened.Get(), F_SETFL, ::fcntl(opened.Get(), F_GETFL) & ~O_NONBLOCK);
  file = std::move(opened);
  return std::nullopt;
}

FileStatus RemoveEntry(int folder, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return FileError{Failure::Unsafe, EINVAL};
  if (::unlinkat(folder, name.c_str(), 0) != 0) return ErrorFromErrno(errno);
  return std::nullopt;
}

FileStatus LockEntry(int folder, const std::string& name, UniqueDescriptor& lock) {
  if (name.empty() || name.find('/') != std::string::npos) return FileError{Failure::Unsafe, EINVAL};
  // Anything but a regular file of that name (a link, a FIFO) is not ours:
  // it goes, and the lock file is made anew.
  if (const EntryKind kind = KindOfEntry(folder, name); kind == EntryKind::Other) {
    if (const auto error = RemoveEntry(folder, name)) return error;
  } else if (kind == EntryKind::Folder) {
    return FileError{Failure::NotRegularFile, EISDIR};
  }
  UniqueDescriptor file(::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!file.IsOpen()) return errno == ELOOP ? FileError{Failure::Unsafe, ELOOP} : ErrorFromErrno(errno);
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? FileError{Failure::AlreadyExists, EWOULDBLOCK} : ErrorFromErrno(errno);
  }
  lock = std::move(file);
  return std::nullopt;
}

}  // namespace tonvault::files
