#include "files/ReadWholeFile.h"

#include <unistd.h>

#include <cerrno>

#include "files/OpenFile.h"

namespace tonvault::files {

FileStatus ReadWholeFile(const std::string& path, std::string& content, std::size_t limit) {
  OpenedFile file;
  if (const auto error = OpenForReading(path, file)) return error;
  const auto size = static_cast<std::size_t>(file.info.st_size);
  if (size > limit) return FileError{Failure::System, EFBIG};
  content.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(file.descriptor.Get(), content.data() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ErrorFromErrno(errno);
    if (got == 0) break;  // the file shrank while read
    done += static_cast<std::size_t>(got);
  }
  content.resize(done);
  return std::nullopt;
}

}  // namespace tonvault::files
