#include "catalogue/Platform.h"

#include <sys/resource.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace tonvault::catalogue {

namespace {
std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}
}  // namespace

bool SetProcessPriority(Priority priority) {
  const int nice = priority == Priority::Idle ? 19 : priority == Priority::High ? -5 : 0;
  errno = 0;
  return setpriority(PRIO_PROCESS, 0, nice) == 0;
}

std::string ProgramFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithSeparator(std::filesystem::current_path(error).string());
  return WithSeparator(exe.parent_path().string());
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return WithSeparator(home != nullptr && *home != '\0' ? home : "/");
}

}  // namespace tonvault::catalogue
