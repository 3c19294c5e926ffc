#include "files/CopyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "files/FileIdentity.h"
#include "files/OpenFile.h"
#include "files/PathLinks.h"
#include "files/TemporaryFile.h"

namespace tonvault::files {

namespace {
constexpr std::size_t kCopyBlock = 1 << 20;

bool CopyContent(int from, const ContentWriter& write) {
  std::vector<char> block(kCopyBlock);
  for (;;) {
    const ssize_t got = ::read(from, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!write(block.data(), static_cast<std::size_t>(got))) return false;
  }
}

// A writer straight to a descriptor, failing as `fault` says.
ContentWriter DescriptorWrites(int descriptor, const WriteFault* fault, std::size_t& written) {
  return [descriptor, fault, &written](const char* data, std::size_t size) {
    while (size > 0) {
      if (fault != nullptr && written + size > fault->failAfterBytes) {
        errno = ENOSPC;
        return false;
      }
      const ssize_t done = ::write(descriptor, data, size);
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) return false;
      data += done;
      size -= static_cast<std::size_t>(done);
      written += static_cast<std::size_t>(done);
    }
    return true;
  };
}

}  // namespace

FileStatus CopyFile(const std::string& source, const std::string& target, const WriteFault* fault,
                    NewCopyMode newMode) {
  OpenedFile from;
  if (const auto error = OpenForReading(source, from)) return error;
  const auto copy = [&from](const ContentWriter& write) { return CopyContent(from.descriptor.Get(), write); };
  const mode_t sourceMode = from.info.st_mode & 0777;
  const mode_t created = newMode == NewCopyMode::Source ? sourceMode : NewFileMode(sourceMode);
  if (const auto error = ReplaceFile(target, copy, fault, created)) return error;
  // Only a regular file that the copy replaced or created takes the dates;
  // /dev/fd/N may stand for a file the output is appended to. The dates go
  // to the file the links led the copy to, found by the same rules, never
  // through a link the copy itself would not have followed.
  std::string written;
  struct stat info {};
  if (OwnDescriptorOf(target) < 0 && !ResolveLinks(target, written) && ::lstat(written.c_str(), &info) == 0 &&
      S_ISREG(info.st_mode)) {
    const timespec times[2] = {from.info.st_atim, from.info.st_mtim};
    ::utimensat(AT_FDCWD, written.c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  return std::nullopt;
}

FileStatus WriteFileExclusive(const std::string& target, const ContentProducer& produce, mode_t mode,
                              const timespec* times, const WriteFault* fault) {
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) == 0) return FileError{Failure::AlreadyExists, EEXIST};
  TemporaryFile temporary;
  if (const auto error = temporary.Create(FolderOf(target), NameOf(target))) return error;
  std::size_t written = 0;
  const ContentWriter write = DescriptorWrites(temporary.Descriptor(), fault, written);
  errno = 0;
  if (!produce(write)) return errno != 0 ? FileError{Failure::System, errno} : FileError{Failure::ReadFailed, 0};
  ::fchmod(temporary.Descriptor(), mode & 0777);
  if (times != nullptr) ::futimens(temporary.Descriptor(), times);
  return temporary.LinkAs(target);
}

FileStatus CopyFileExclusive(const std::string& source, const std::string& target, const WriteFault* fault) {
  OpenedFile from;
  if (const auto error = OpenForReading(source, from)) return error;
  const timespec times[2] = {from.info.st_atim, from.info.st_mtim};
  return WriteFileExclusive(
      target, [&from](const ContentWriter& write) { return CopyContent(from.descriptor.Get(), write); },
      NewFileMode(from.info.st_mode & 0777), times, fault);
}

}  // namespace tonvault::files
