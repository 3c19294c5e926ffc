#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/FileError.h"

namespace tonvault::files {

// For tests: make writing fail after this many bytes, as a full disk would,
// or make keeping the owner fail, as it does for an ordinary user.
struct WriteFault {
  std::size_t failAfterBytes = static_cast<std::size_t>(-1);
  bool refuseOwner = false;
};

// Writes the bytes it is given; false once a write failed.
using ContentWriter = std::function<bool(const char* data, std::size_t size)>;
// Produces the new content through the writer; false when it could not
// (a read of its source failed, or the writer returned false).
using ContentProducer = std::function<bool(const ContentWriter& write)>;

// Creates or replaces the file at `path` with what `produce` writes, so
// that nothing but its content changes and a failure at any point (a full
// disk, a crash, `kill -9`) leaves the old file whole:
// - a regular file: the content goes to a temporary file beside it, is
//   flushed and renamed over it in one step; owner, group and permissions
//   are kept where permitted (see KeepIdentity);
// - a file with several hard links: after the complete temporary copy, the
//   content is written through the file itself, so every name sees it;
// - a symbolic link: the file it leads to is replaced, the link stays;
// - a file the user may not write: refused (Failure::WriteProtected), even
//   when its folder is writable;
// - no file yet: created with the permissions the umask gives, or with
//   `newFileMode` (its permission bits only) when that is given;
// - a FIFO or device, or /dev/stdout and the like: written directly.
FileStatus ReplaceFile(const std::string& path, const ContentProducer& produce, const WriteFault* fault = nullptr,
                       std::optional<mode_t> newFileMode = std::nullopt);

// Reads the complete new content back (the temporary file, flushed, through
// its descriptor) before it takes the target's place; a failure it returns
// abandons the replacement, so the target stays exactly as it was.
using ContentCheck = std::function<FileStatus(int descriptor)>;

// ReplaceFile for a regular file whose new content must pass `check` first.
// A target that is not a regular file is refused (Failure::NotRegularFile).
FileStatus ReplaceFileChecked(const std::string& path, const ContentProducer& produce, const ContentCheck& check,
                              const WriteFault* fault = nullptr);

// ReplaceFile with content that is at hand.
FileStatus WriteWholeFile(const std::string& path, std::string_view content, const WriteFault* fault = nullptr);

// Writes `content` over the regular file at `path` (created when missing,
// never through a link), in place, and flushes it: one write and one
// flush instead of a replacement. Only for a file whose reader recognises
// a copy cut off by a crash and ignores it (a journal written before the
// change it describes); the old content is not kept.
FileStatus OverwriteFile(const std::string& path, std::string_view content);

}  // namespace tonvault::files
