#pragma once

// A FAT32 card image mounted through FUSE (fusefat), as a memory card or a
// phone appears: case-insensitive names, no hard links, no exclusive
// rename, no unnamed files.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tonvault::device::test {

class FatCard {
 public:
  // Makes a `megabytes` image beside `mountPoint` and mounts it there;
  // Mounted() tells whether that worked, Why() why not.
  FatCard(const std::string& mountPoint, int megabytes = 300) : mountPoint_(mountPoint) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
      why_ = "no /dev/fuse here";
      return;
    }
    std::filesystem::create_directories(mountPoint);
    image_ = mountPoint + ".img";
    // mkfs.vfat lives in /usr/sbin, which an ordinary PATH may lack.
    const std::string make = "PATH=\"$PATH:/usr/sbin:/sbin\" mkfs.vfat -F 32 -C '" + image_ + "' " +
                             std::to_string(megabytes * 1024) + " >/dev/null 2>&1";
    const std::string mount = "fusefat -o rw+ '" + image_ + "' '" + mountPoint + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0 || std::system(mount.c_str()) != 0) {
      why_ = "fusefat or mkfs.vfat is missing or failed";
      return;
    }
    mounted_ = true;
  }
  ~FatCard() {
    if (mounted_) std::system(("fusermount -u '" + mountPoint_ + "' >/dev/null 2>&1").c_str());
    if (!image_.empty()) std::filesystem::remove(image_);
  }
  FatCard(const FatCard&) = delete;
  FatCard& operator=(const FatCard&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Why() const { return why_; }

 private:
  std::string mountPoint_, image_, why_;
  bool mounted_ = false;
};

}  // namespace tonvault::device::test
