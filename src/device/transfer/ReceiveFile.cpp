#include "device/transfer/ReceiveFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <string_view>
#include <vector>

#include "catalogue/FillRow.h"
#include "device/transfer/UpdateReceivedTags.h"
#include "files/CopyFile.h"
#include "files/OpenFile.h"
#include "files/PathLinks.h"
#include "files/RenameFile.h"
#include "files/TemporaryFile.h"
#include "files/UniqueDescriptor.h"

namespace tonvault::device {

using catalogue::Sound;

namespace {

constexpr const char* kCannotReplace = "Can not replace (write protected ?)";
constexpr std::string_view kReceivingPrefix = ".tonvault-receive-";

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, 0) == static_cast<ssize_t>(sizeof bits)) return bits;
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

// The hidden name a file from the player arrives under, in the target's
// folder: our process ID (a later receive tells a leftover of a killed run
// by it), then random digits, so nobody can plant a link or a file under
// the name beforehand, then the target's extension, so the tag writers see
// the same kind of file. The player creates the file exclusively.
std::string ReceivingName(const std::string& target) {
  char random[17];
  std::snprintf(random, sizeof random, "%016llx", static_cast<unsigned long long>(RandomBits()));
  return catalogue::FolderOf(target) + std::string(kReceivingPrefix) + std::to_string(::getpid()) + "-" + random +
         catalogue::LowerExtension(target);
}

// The process ID a receiving file's name carries, or 0 for another name. A
// player backend that stages the file once more beside the name it was
// given puts the prefix in front again; the ID is still ours.
pid_t ReceiverOf(std::string_view name) {
  if (!name.starts_with(kReceivingPrefix)) return 0;
  while (name.starts_with(kReceivingPrefix)) name.remove_prefix(kReceivingPrefix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  if (error != std::errc() || end == name.data() + name.size() || *end != '-' || pid <= 0) return 0;
  return pid;
}

// Whether `name` in the folder `folder` is a regular file of the effective
// user with no other name, looked at without following a link. Names of our
// form in a shared folder may be anyone's; only such a file is ever removed.
bool OwnPlainFile(int folder, const char* name) {
  struct stat info {};
  return ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
         info.st_uid == ::geteuid() && info.st_nlink == 1;
}

// Removes `name` in `folder` when it is our own plain file that no writer
// holds: old enough and unlocked, as the writers' own clean-up takes it (a
// temporary file of the tag writers).
void RemoveUnlocked(int folder, const std::string& name) {
  if (!OwnPlainFile(folder, name.c_str())) return;
  files::UniqueDescriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat opened {};
  struct stat named {};
  if (!file.IsOpen() || ::fstat(file.Get(), &opened) != 0) return;
  if (std::time(nullptr) - opened.st_mtim.tv_sec < files::TemporaryFile::kStaleSeconds) return;
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return;
  if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
      named.st_ino == opened.st_ino) {
    ::unlinkat(folder, name.c_str(), 0);
  }
}

// Removes the file a receive left under its receiving name. Nobody else
// can know the name, so a regular file there is the player's; the owner is
// not asked, as a FAT card shows every file as its mount's user's.
void Discard(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) files::RemoveFile(path);
}

std::string ReceiveErrorText(Status status) {
  switch (status) {
    case kCopyProtected: return "ERROR (copy protected)";
    case kDiskFull: return "ERROR (Disk full)";
    default: return "ERROR (on transfer)";
  }
}

// A file that is there and may be replaced: a regular file the user may
// write, reached through links only as a replacement would follow them.
bool Replaceable(const std::string& path) {
  std::string file;
  struct stat info {};
  return !files::ResolveLinks(path, file) && ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         !files::IsWriteProtected(file, info);
}

void Refuse(TransferContext& context, std::size_t row, const std::string& text, TransferIcon icon) {
  context.app.frontend.Beep(Sound::Exclamation);
  context.window.SetState(row, text, icon);
}

// Puts the complete received file in its place. A new name takes it by an
// exclusive rename. An existing file gets its content written over it, as
// every writer of the program replaces a file: a link stays a link, hard
// links stay in step, owner, group and mode stay; should that fail, the old
// file is whole.
bool Place(TransferContext& context, std::size_t row, const std::string& receiving, const std::string& target,
           bool replacing) {
  if (!replacing) {
    if (!files::RenameExclusive(receiving, target)) return true;
    Refuse(context, row, "File exists", TransferIcon::Exists);
    return false;
  }
  const files::FileStatus copied = files::CopyFile(receiving, target);
  if (!copied) return true;
  const bool full = copied->code == ENOSPC || copied->code == EDQUOT;
  Refuse(context, row, full ? "ERROR (Disk full ?)" : kCannotReplace, full ? TransferIcon::Error : TransferIcon::Exists);
  return false;
}

}  // namespace

int RemoveStaleReceivingFiles(const std::string& folder) {
  files::UniqueDescriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!opened.IsOpen()) return 0;
  std::vector<std::string> stale;
  if (DIR* listing = ::fdopendir(::fcntl(opened.Get(), F_DUPFD_CLOEXEC, 0))) {
    while (const dirent* entry = ::readdir(listing)) {
      const pid_t pid = ReceiverOf(entry->d_name);
      if (pid == 0 || pid == ::getpid()) continue;
      // EPERM: the process runs, as another user.
      if (::kill(pid, 0) != 0 && errno == ESRCH) stale.emplace_back(entry->d_name);
    }
    ::closedir(listing);
  }
  int removed = 0;
  for (const std::string& name : stale) {
    // Where the folder has no unnamed temporary files, the tag writers'
    // temporary file beside the receiving file may have been left too.
    for (int slot = 0; slot < files::TemporaryFile::kSlots; ++slot) {
      RemoveUnlocked(opened.Get(), files::NameOf(files::TemporaryFile::SlotPath(".", name, slot)));
    }
    if (OwnPlainFile(opened.Get(), name.c_str()) && ::unlinkat(opened.Get(), name.c_str(), 0) == 0) ++removed;
  }
  return removed;
}

bool ReceiveFile(TransferContext& context, int id, const std::string& target, bool isAudio, std::size_t row,
                 const DeviceTrack& data, std::string& stateText) {
  if (!context.session.LibraryPresent()) return false;
  catalogue::Application& app = context.app;
  if (context.content.Table().DeviceTableStale()) {
    context.window.SetState(row, "Preparing", TransferIcon::Preparing);
    context.content.BuildDeviceTrackTable();
    catalogue::ShowTimeEstimate(app, 0, 0);
  }
  context.window.SetState(row, "Transfering", TransferIcon::Transferring);
  stateText = "Done";
  const bool replacing = Exists(target);
  if (replacing) {
    if (!ReplaceExisting(app.frontend, app.options.upload.existingFiles)) {
      Refuse(context, row, "File exists", TransferIcon::Exists);
      return false;
    }
    if (!Replaceable(target)) {
      Refuse(context, row, kCannotReplace, TransferIcon::Exists);
      return false;
    }
    stateText = "Replaced";
    context.window.SetState(row, "Transfering", TransferIcon::Replacing);
  }
  RemoveStaleReceivingFiles(catalogue::FolderOf(target));
  const std::string receiving = ReceivingName(target);
  Device& device = context.session.CurrentDevice();
  const Status status = isAudio ? device.ReceiveTrack(id, receiving) : device.ReceiveDataFile(id, receiving);
  if (status != kOk) {
    Discard(receiving);
    Refuse(context, row, ReceiveErrorText(status), TransferIcon::Error);
    return false;
  }
  bool received = WaitForTransfer(context, app.transferFromPlayerInProgress) == kOk;
  if (!received) {
    Refuse(context, row, "ERROR (Disk full ?)", TransferIcon::Error);
  } else {
    if (isAudio) UpdateReceivedTags(receiving, target, data, app.options);
    received = Place(context, row, receiving, target, replacing);
  }
  // After an exclusive rename the name is gone; after a replacement, or a
  // failure, the received file itself goes.
  Discard(receiving);
  context.session.PauseDevice();
  return received;
}

}  // namespace tonvault::device
