#include "files/ReadAhead.h"

#include <fcntl.h>

#include <algorithm>

#include "files/OpenFile.h"

namespace tonvault::files {

void AnnounceReads(const std::string& path, std::int64_t headBytes, std::int64_t tailBytes) {
  OpenedFile file;
  if (OpenForReading(path, file)) return;
  const std::int64_t size = file.info.st_size;
  ::posix_fadvise(file.descriptor.Get(), 0, static_cast<off_t>(std::min(headBytes, size)), POSIX_FADV_WILLNEED);
  const std::int64_t tailStart = std::max<std::int64_t>(std::min(headBytes, size), size - tailBytes);
  if (tailStart < size) {
    ::posix_fadvise(file.descriptor.Get(), static_cast<off_t>(tailStart), static_cast<off_t>(size - tailStart),
                    POSIX_FADV_WILLNEED);
  }
}

}  // namespace tonvault::files
