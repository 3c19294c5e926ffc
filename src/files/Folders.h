#pragma once

#include <string>

#include "files/FileError.h"

namespace tonvault::files {

// Creates `path` and the folders above it that are missing. A folder that
// already exists is success; a file (or a link to one) in the way is not.
FileStatus MakeFolders(const std::string& path);

// Removes a folder with everything in it. Symbolic links inside are removed
// as links; what they point to is kept.
FileStatus RemoveFolder(const std::string& path);

}  // namespace tonvault::files
