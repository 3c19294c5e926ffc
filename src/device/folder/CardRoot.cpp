#include "device/folder/CardRoot.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <sys/sysmacros.h>
#include <sys/vfs.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace tonvault::device {
namespace {

constexpr long kMsdosMagic = 0x4d44;
constexpr long kFuseMagic = 0x65735546;
constexpr std::int64_t kFatLargestFile = 0xFFFFFFFFll;

// The type of the file system mounted on `device`, as the mount table
// names it ("vfat", "fuse.fusefat", "fuseblk" …).
std::string MountType(dev_t device) {
  std::ifstream table("/proc/self/mountinfo");
  const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  for (std::string line; std::getline(table, line);) {
    std::istringstream fields(line);
    std::string id, parent, numbers;
    fields >> id >> parent >> numbers;
    const std::size_t dash = line.find(" - ");
    if (numbers != wanted || dash == std::string::npos) continue;
    std::istringstream rest(line.substr(dash + 3));
    std::string type;
    rest >> type;
    return type;
  }
  return {};
}

// FAT holds no file of 4 GB or more; exFAT and the others hold any song.
std::int64_t LargestFileOf(int root, dev_t device) {
  struct statfs info {};
  if (::fstatfs(root, &info) != 0) return -1;
  if (info.f_type == kMsdosMagic) return kFatLargestFile;
  if (info.f_type != kFuseMagic) return -1;
  const std::string type = MountType(device);
  return type.find("fat") != std::string::npos && type.find("exfat") == std::string::npos ? kFatLargestFile : -1;
}

}  // namespace

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
  largestFile_ = LargestFileOf(root_.Get(), device_);
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
