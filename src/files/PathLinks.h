#pragma once

#include <string>

#include "files/FileError.h"

namespace tonvault::files {

// The folder part of a path ("." for a bare name) and the name part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Follows `path` through symbolic links to the entry that is not a link
// (which need not exist: a link may name a file still to be created).
// Writers replace that entry, so a link stays a link. A loop or a chain
// longer than the system allows is an error. A link in a folder that is
// sticky and writable by everyone (/tmp) is followed only when it belongs
// to the effective user or to the folder's owner; another one is refused
// (EACCES), as the kernel refuses it with fs.protected_symlinks.
FileStatus ResolveLinks(const std::string& path, std::string& resolved);

// The descriptor a path like /dev/stdout or /proc/self/fd/3 stands for, or
// -1. Output named so goes to that descriptor as it is (appending to a
// redirected file, writing into a pipe).
int OwnDescriptorOf(const std::string& path);

}  // namespace tonvault::files
