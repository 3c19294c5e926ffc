#pragma once

// Helpers shared by the files tests: reading and planting files without the
// module under test, listing a folder, and running a piece of code in a
// child process (as another user, or under a watchdog that ends it when it
// blocks, so a hang fails the test instead of stopping the run).

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "support/FileContents.h"
#include "files/FileError.h"

namespace tonvault::files::test {

using tonvault::testing::Contents;

inline void Plant(const std::string& path, const std::string& content, mode_t mode = 0644) {
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << content; }
  ::chmod(path.c_str(), mode);
}

// The names in a folder, sorted, without "." and "..".
inline std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline struct stat LinkInfo(const std::string& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

inline struct stat Info(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info;
}

inline void SetTimes(const std::string& path, time_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// What a status says, as a small number a child process can exit with:
// 0 for success, 1 + the failure otherwise.
inline int ExitCodeOf(const FileStatus& status) { return status ? 1 + static_cast<int>(status->failure) : 0; }
inline int ExitCodeOf(Failure failure) { return 1 + static_cast<int>(failure); }

// Runs `body` in a child process and returns its exit code, or nothing when
// the child was still running after `patienceSeconds` (it is then killed)
// or died of a signal. The bound only keeps a blocking call from hanging the
// test run; it measures nothing.
inline std::optional<int> RunInChild(const std::function<int()>& body, int patienceSeconds = 30) {
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) ::_exit(body());
  int status = 0;
  for (int tick = 0; tick < patienceSeconds * 100; ++tick) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
    const timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return std::nullopt;
}

// The user and group nobody's files belong to on most systems.
constexpr uid_t kNobody = 65534;

// RunInChild as user and group 65534 without supplementary groups; 127
// when the child could not drop root's rights.
inline std::optional<int> RunAsNobody(const std::function<int()>& body) {
  return RunInChild([&body] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 127;
    return body();
  });
}

}  // namespace tonvault::files::test
