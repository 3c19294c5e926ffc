#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace tonvault::files {

// What a replacement kept of the file it replaced.
struct KeptIdentity {
  bool owner = false;
  bool group = false;
  mode_t mode = 0;
};

// Gives the new file at `descriptor` the owner, group and permissions of
// the file it replaces, as far as the user may. A set-user-ID or
// set-group-ID bit is dropped when the owner (or group) could not be kept:
// it must never end up on a file of another owner. `refuseOwner` makes the
// owner change fail, as it does for a user without the privilege (tests).
KeptIdentity KeepIdentity(int descriptor, const struct stat& original, bool refuseOwner = false);

// The permissions of a newly created file: `requested` (by default read and
// write for everyone) less the process's umask, as any program that creates
// a file does.
mode_t NewFileMode(mode_t requested = 0666);

}  // namespace tonvault::files
