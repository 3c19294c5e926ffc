#include "audio/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tonvault::audio {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::string> ReplaceFile(const std::string& path, const std::function<bool(const WriteCallback&)>& produce,
                                       const ReplaceFault* fault) {
  std::string pattern = FolderOf(path) + "/." + NameOf(path) + ".tonvault-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) return std::string("Cannot create a temporary file beside ") + path + ": " + std::strerror(errno);
  const std::string temporary(name.data());

  int error = 0;
  std::size_t written = 0;
  const WriteCallback write = [&](const char* data, std::size_t size) {
    while (size > 0) {
      std::size_t chunk = size;
      if (fault != nullptr) {
        if (written >= fault->failAfterBytes) {
          error = ENOSPC;
          return false;
        }
        chunk = std::min(chunk, fault->failAfterBytes - written);
      }
      const ssize_t done = ::write(descriptor, data, chunk);
      if (done < 0) {
        if (errno == EINTR) continue;
        error = errno;
        return false;
      }
      data += done;
      size -= static_cast<std::size_t>(done);
      written += static_cast<std::size_t>(done);
    }
    return true;
  };
  struct stat original {};
  const mode_t mode = ::stat(path.c_str(), &original) == 0 ? (original.st_mode & 07777) : 0644;
  bool ok = produce(write);
  if (ok && ::fchmod(descriptor, mode) != 0) error = errno, ok = false;
  if (ok && ::fsync(descriptor) != 0) error = errno, ok = false;
  if (::close(descriptor) != 0 && ok) error = errno, ok = false;
  if (!ok) {
    ::unlink(temporary.c_str());
    return std::string("Cannot write the temporary file ") + temporary + ": " +
           (error != 0 ? std::strerror(error) : "read error");
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(temporary.c_str());
    return std::string("Cannot rename \"") + temporary + "\" to \"" + path + "\": " + std::strerror(renameError);
  }
  return std::nullopt;
}

}  // namespace tonvault::audio
