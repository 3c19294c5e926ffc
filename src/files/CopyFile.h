#pragma once

#include <string>

#include "files/FileError.h"
#include "files/ReplaceFile.h"

namespace tonvault::files {

// The permissions a copy gives a target it creates: those of the source
// less the umask, as `cp` does (a private file's copy stays private), or
// those of the source as they are, for a file that moves and must arrive
// as it left.
enum class NewCopyMode { SourceLessUmask, Source };

// Copies the regular file `source` to `target` through ReplaceFile (an
// existing target is replaced whole or not at all, keeping what makes it
// the same file). The copy takes the source's modification and access
// times, as a copy of a song should not look like a new recording; output
// written directly (a FIFO, a device, /dev/stdout) keeps its own.
FileStatus CopyFile(const std::string& source, const std::string& target, const WriteFault* fault = nullptr,
                    NewCopyMode newMode = NewCopyMode::SourceLessUmask);

// Copies the regular file `source` to `target`, which must not exist yet
// (Failure::AlreadyExists, and nothing written, when it does). The copy is
// complete and flushed before it appears under its name, so a crash leaves
// no half copy; it takes the source's permissions less the umask and its
// dates.
FileStatus CopyFileExclusive(const std::string& source, const std::string& target, const WriteFault* fault = nullptr);

// Creates `target`, which must not exist yet (Failure::AlreadyExists, and
// nothing written, when it does), with what `produce` writes: complete and
// flushed before it appears under its name, with the permission bits of
// `mode` and, when `times` is given, those access and modification times.
FileStatus WriteFileExclusive(const std::string& target, const ContentProducer& produce, mode_t mode,
                              const timespec* times = nullptr, const WriteFault* fault = nullptr);

}  // namespace tonvault::files
