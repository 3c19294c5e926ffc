#include "files/CopyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "files/FileIdentity.h"
#include "files/OpenFile.h"
#include "files/PathLinks.h"

namespace tonvault::files {

namespace {
constexpr std::size_t kCopyBlock = 1 << 20;
}  // namespace

FileStatus CopyFile(const std::string& source, const std::string& target, const WriteFault* fault,
                    NewCopyMode newMode) {
  OpenedFile from;
  if (const auto error = OpenForReading(source, from)) return error;
  const auto copy = [&from](const ContentWriter& write) {
    std::vector<char> block(kCopyBlock);
    for (;;) {
      const ssize_t got = ::read(from.descriptor.Get(), block.data(), block.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) return true;
      if (!write(block.data(), static_cast<std::size_t>(got))) return false;
    }
  };
  const mode_t sourceMode = from.info.st_mode & 0777;
  const mode_t created = newMode == NewCopyMode::Source ? sourceMode : NewFileMode(sourceMode);
  if (const auto error = ReplaceFile(target, copy, fault, created)) return error;
  // Only a regular file that the copy replaced or created takes the dates;
  // /dev/fd/N may stand for a file the output is appended to.
  struct stat written {};
  if (OwnDescriptorOf(target) < 0 && ::stat(target.c_str(), &written) == 0 && S_ISREG(written.st_mode)) {
    const timespec times[2] = {from.info.st_atim, from.info.st_mtim};
    ::utimensat(AT_FDCWD, target.c_str(), times, 0);
  }
  return std::nullopt;
}

}  // namespace tonvault::files
