#pragma once

#include <string>

#include "files/FileError.h"
#include "files/ReplaceFile.h"

namespace tonvault::files {

// Copies the regular file `source` to `target` through ReplaceFile (an
// existing target is replaced whole or not at all, keeping what makes it
// the same file). The copy takes the source's modification and access
// times, as a copy of a song should not look like a new recording.
FileStatus CopyFile(const std::string& source, const std::string& target, const WriteFault* fault = nullptr);

}  // namespace tonvault::files
