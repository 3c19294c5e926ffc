#include "catalogue/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tonvault::catalogue {

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

bool WriteAll(int descriptor, std::string_view content, const WriteFault* fault, int& error) {
  std::size_t limit = fault != nullptr ? std::min(fault->failAfterBytes, content.size()) : content.size();
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t written = ::write(descriptor, content.data() + done, limit - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  if (fault != nullptr) {
    error = ENOSPC;
    return false;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes the folder's entry so the rename itself survives a crash.
void SyncFolder(const std::string& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view content,
                                               const WriteFault* fault) {
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string folder = FolderOf(path);
  std::string pattern = folder + "/." + name + ".tmp-XXXXXX";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return ErrorText(errno);
  const std::string temporaryPath(temporary.data());

  int error = 0;
  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  bool ok = ::fchmod(descriptor, mode) == 0 || (error = errno, false);
  ok = ok && WriteAll(descriptor, content, fault, error);
  ok = ok && (::fsync(descriptor) == 0 || (error = errno, false));
  ok = (::close(descriptor) == 0 || (error = errno, false)) && ok;
  ok = ok && (::rename(temporaryPath.c_str(), path.c_str()) == 0 || (error = errno, false));
  if (!ok) {
    ::unlink(temporaryPath.c_str());
    return ErrorText(error);
  }
  SyncFolder(folder);
  return std::nullopt;
}

}  // namespace tonvault::catalogue
