#include "files/FileIdentity.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace tonvault::files {

namespace {

// The umask from /proc (reading it through umask() would change it for a
// moment, which other threads could see).
mode_t CurrentUmask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned value = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::strncmp(line, "Umask:", 6) == 0 && std::sscanf(line + 6, "%o", &value) == 1;
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(value);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

}  // namespace

KeptIdentity KeepIdentity(int descriptor, const struct stat& original, bool refuseOwner) {
  KeptIdentity kept;
  if (!refuseOwner && ::fchown(descriptor, original.st_uid, original.st_gid) == 0) {
    kept.owner = kept.group = true;
  } else {
    // The new file is ours; that keeps the owner when the old one was ours.
    kept.owner = !refuseOwner && original.st_uid == ::geteuid();
    kept.group = ::fchown(descriptor, static_cast<uid_t>(-1), original.st_gid) == 0;
  }
  kept.mode = original.st_mode & 07777;
  if (!kept.owner) kept.mode &= static_cast<mode_t>(~(S_ISUID | S_ISGID));
  if (!kept.group) kept.mode &= static_cast<mode_t>(~S_ISGID);
  ::fchmod(descriptor, kept.mode);
  return kept;
}

mode_t NewFileMode(mode_t requested) { return requested & ~CurrentUmask(); }

}  // namespace tonvault::files
