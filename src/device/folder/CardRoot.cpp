#include "device/folder/CardRoot.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace tonvault::device {

Status CardRoot::Open(const std::string& path, bool followLink) {
  path_ = path;
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
  root_ = files::UniqueDescriptor(::open(path.c_str(), flags));
  struct stat info {};
  if (!root_.IsOpen() || ::fstat(root_.Get(), &info) != 0) {
    root_.Reset();
    return errno == EACCES ? kReadOnly : kNotFound;
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
  return kOk;
}

Status CardRoot::CheckPresent() const {
  struct stat info {};
  if (!root_.IsOpen() || ::stat(path_.c_str(), &info) != 0) return kRemoved;
  return info.st_dev == device_ && info.st_ino == inode_ ? kOk : kRemoved;
}

files::FileStatus CardRoot::Locate(const std::string& relative, CardEntry& entry, bool createFolders) const {
  if (!files::IsBeneathPath(relative)) return files::FileError{files::Failure::Unsafe, EINVAL};
  const std::size_t slash = relative.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : relative.substr(0, slash);
  entry.name = slash == std::string::npos ? relative : relative.substr(slash + 1);
  return files::OpenFolderBeneath(root_.Get(), folder, createFolders, entry.folder);
}

}  // namespace tonvault::device
