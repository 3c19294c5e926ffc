#include "files/PathLinks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <vector>

namespace tonvault::files {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel allows when it resolves a path

// Whether the link at `link` (described by `info`) may be followed, by the
// rule the kernel applies to links in shared folders such as /tmp: in a
// folder that is sticky and writable by everyone, only a link of the user
// who follows it or of the folder's owner leads anywhere. Anyone may plant
// a link there under a name another user's program is about to write; as
// the links are resolved here rather than by the kernel, its own guard
// (fs.protected_symlinks) never sees them, so the rule is kept here, always.
FileStatus MayFollow(const std::string& link, const struct stat& info) {
  struct stat folder {};
  if (::stat(FolderOf(link).c_str(), &folder) != 0) return ErrorFromErrno(errno);
  constexpr mode_t kShared = S_ISVTX | S_IWOTH;
  if ((folder.st_mode & kShared) != kShared) return std::nullopt;
  if (info.st_uid == ::geteuid() || info.st_uid == folder.st_uid) return std::nullopt;
  return FileError{Failure::System, EACCES};
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileStatus ResolveLinks(const std::string& path, std::string& resolved) {
  std::string current = path;
  for (int step = 0; step <= kMaxLinks; ++step) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return ErrorFromErrno(errno);
      resolved = current;
      return std::nullopt;
    }
    if (!S_ISLNK(info.st_mode)) {
      resolved = current;
      return std::nullopt;
    }
    if (const auto refused = MayFollow(current, info)) return refused;
    std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0) return ErrorFromErrno(errno);
    if (static_cast<std::size_t>(length) >= target.size()) return FileError{Failure::System, ENAMETOOLONG};
    const std::string link(target.data(), static_cast<std::size_t>(length));
    current = !link.empty() && link[0] == '/' ? link : FolderOf(current) + "/" + link;
  }
  return FileError{Failure::System, ELOOP};
}

int OwnDescriptorOf(const std::string& path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (path.size() > prefix.size() && std::string_view(path).substr(0, prefix.size()) == prefix) {
      int descriptor = -1;
      const char* first = path.data() + prefix.size();
      const auto [end, error] = std::from_chars(first, path.data() + path.size(), descriptor);
      if (error == std::errc() && end == path.data() + path.size()) return descriptor;
    }
  }
  return -1;
}

}  // namespace tonvault::files
