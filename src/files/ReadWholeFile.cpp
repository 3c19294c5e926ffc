#include "files/ReadWholeFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/OpenFile.h"

namespace tonvault::files {

FileStatus ReadWholeFile(const std::string& path, std::string& content, std::size_t limit) {
  OpenedFile file;
  if (const auto error = OpenForReading(path, file)) return error;
  return ReadWholeDescriptor(file.descriptor.Get(), content, limit);
}

FileStatus ReadWholeDescriptor(int descriptor, std::string& content, std::size_t limit) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  const auto size = static_cast<std::size_t>(info.st_size);
  if (size > limit) return FileError{Failure::System, EFBIG};
  content.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(descriptor, content.data() + done, size - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ErrorFromErrno(errno);
    if (got == 0) break;  // the file shrank while read
    done += static_cast<std::size_t>(got);
  }
  content.resize(done);
  return std::nullopt;
}

}  // namespace tonvault::files
