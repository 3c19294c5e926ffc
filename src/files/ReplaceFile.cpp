#include "files/ReplaceFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

#include "files/FileIdentity.h"
#include "files/OpenFile.h"
#include "files/PathLinks.h"
#include "files/TemporaryFile.h"

namespace tonvault::files {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Writes to one descriptor, counting bytes for the injected fault and
// keeping the first error.
class DescriptorWriter {
 public:
  DescriptorWriter(int descriptor, const WriteFault* fault) : descriptor_(descriptor), fault_(fault) {}

  bool Write(const char* data, std::size_t size) {
    while (size > 0 && error_ == 0) {
      std::size_t chunk = size;
      if (fault_ != nullptr) {
        if (written_ >= fault_->failAfterBytes) error_ = ENOSPC;
        chunk = std::min(chunk, fault_->failAfterBytes - written_);
        if (error_ != 0) break;
      }
      const ssize_t done = ::write(descriptor_, data, chunk);
      if (done < 0) {
        if (errno != EINTR) error_ = errno;
        continue;
      }
      data += done;
      size -= static_cast<std::size_t>(done);
      written_ += static_cast<std::size_t>(done);
    }
    return error_ == 0;
  }

  // A fault that the content did not reach strikes at the end, as a full
  // disk found when the data is flushed.
  bool Finish() {
    if (fault_ != nullptr && fault_->failAfterBytes != WriteFault{}.failAfterBytes && error_ == 0) error_ = ENOSPC;
    return error_ == 0;
  }

  // The error of a failed production: the writer's own, else a read error.
  FileError Failed() const { return error_ != 0 ? FileError{Failure::System, error_} : FileError{Failure::ReadFailed, 0}; }

 private:
  int descriptor_;
  const WriteFault* fault_;
  std::size_t written_ = 0;
  int error_ = 0;
};

FileStatus Produce(int descriptor, const ContentProducer& produce, const WriteFault* fault) {
  DescriptorWriter writer(descriptor, fault);
  const ContentWriter write = [&writer](const char* data, std::size_t size) { return writer.Write(data, size); };
  if (!produce(write) || !writer.Finish()) return writer.Failed();
  return std::nullopt;
}

// Holds SIGPIPE back from the calling thread while it lives, and takes one
// that a write raised before letting it through again: a reader of a FIFO
// or pipe that goes away must make the write fail with EPIPE, not end the
// program (the window would lose what was not saved).
class BrokenPipeHeld {
 public:
  BrokenPipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    wasPending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    ::pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~BrokenPipeHeld() {
    if (!wasPending_) {
      const timespec none{0, 0};
      while (::sigtimedwait(&pipe_, nullptr, &none) == SIGPIPE) {
      }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  BrokenPipeHeld(const BrokenPipeHeld&) = delete;
  BrokenPipeHeld& operator=(const BrokenPipeHeld&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t previous_{};
  bool wasPending_ = false;
};

// A FIFO, a device or a descriptor of our own: no temporary file, no
// rename; the bytes go where the user pointed.
FileStatus WriteDirectly(const std::string& path, int ownDescriptor, const ContentProducer& produce,
                         const WriteFault* fault) {
  const BrokenPipeHeld held;
  UniqueDescriptor opened;
  int descriptor = ownDescriptor;
  if (descriptor < 0) {
    opened = UniqueDescriptor(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!opened.IsOpen()) return ErrorFromErrno(errno);
    descriptor = opened.Get();
  }
  if (const auto error = Produce(descriptor, produce, fault)) return error;
  if (opened.IsOpen() && !opened.Close()) return FileError{Failure::System, errno};
  return std::nullopt;
}

// Makes room for `size` bytes in `out` before anything in it is overwritten,
// so that a full disk or a file size limit fails the rewrite while the old
// content is still whole. Where space cannot be reserved, the size alone is
// set (which still meets a size limit). A failure restores the old size.
FileStatus ReserveRoom(int out, off_t size) {
  struct stat before {};
  if (::fstat(out, &before) != 0) return ErrorFromErrno(errno);
  if (size <= before.st_size) return std::nullopt;
  int reserved = ::fallocate(out, 0, 0, size) == 0 ? 0 : errno;
  if (reserved == EOPNOTSUPP || reserved == ENOSYS) reserved = ::ftruncate(out, size) == 0 ? 0 : errno;
  if (reserved == 0) return std::nullopt;
  ::ftruncate(out, before.st_size);
  return ErrorFromErrno(reserved);
}

// Copies the complete temporary file into the target through its inode, so
// every hard link of it sees the new content.
FileStatus RewriteThroughInode(const std::string& target, TemporaryFile& temporary) {
  struct stat complete {};
  if (::fsync(temporary.Descriptor()) != 0 || ::fstat(temporary.Descriptor(), &complete) != 0) {
    return ErrorFromErrno(errno);
  }
  if (const auto error = temporary.Name()) return error;  // a complete copy survives a crash from here on
  UniqueDescriptor out(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!out.IsOpen()) return ErrorFromErrno(errno);
  if (const auto error = ReserveRoom(out.Get(), complete.st_size)) return error;
  // From here on the old content is being overwritten: should that fail
  // halfway, the complete copy is the only whole version left, so it stays
  // (under its temporary name, until the next write of this file).
  const auto halfway = [&temporary](int error) {
    temporary.Keep();
    return ErrorFromErrno(error);
  };
  std::vector<char> block(kCopyBlock);
  off_t at = 0;
  for (;;) {
    const ssize_t got = ::pread(temporary.Descriptor(), block.data(), block.size(), at);
    if (got < 0) {
      if (errno == EINTR) continue;
      return halfway(errno);
    }
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t written = ::pwrite(out.Get(), block.data() + done, static_cast<std::size_t>(got - done), at + done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return halfway(written < 0 ? errno : ENOSPC);
      done += written;
    }
    at += got;
  }
  if (::ftruncate(out.Get(), at) != 0 || ::fsync(out.Get()) != 0 || !out.Close()) return halfway(errno);
  temporary.Discard();
  return std::nullopt;
}

FileStatus ReplaceRegularFile(const std::string& path, const ContentProducer& produce, const ContentCheck& check,
                              const WriteFault* fault, std::optional<mode_t> newFileMode) {
  std::string target;
  if (const auto error = ResolveLinks(path, target)) return error;
  struct stat existing {};
  const bool exists = ::lstat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return ErrorFromErrno(errno);
  if (exists && !S_ISREG(existing.st_mode)) return FileError{Failure::NotRegularFile, 0};
  if (exists && IsWriteProtected(target, existing)) return FileError{Failure::WriteProtected, EACCES};

  TemporaryFile temporary;
  if (const auto error = temporary.Create(FolderOf(target), NameOf(target))) return error;
  if (const auto error = Produce(temporary.Descriptor(), produce, fault)) return error;
  if (check) {
    if (::fsync(temporary.Descriptor()) != 0) return ErrorFromErrno(errno);
    // Read back through a descriptor of its own: a FUSE file system (a FAT
    // card through fusefat) can answer reads through the writing
    // descriptor with stale data.
    const UniqueDescriptor reading(
        ::open(("/proc/self/fd/" + std::to_string(temporary.Descriptor())).c_str(), O_RDONLY | O_CLOEXEC));
    if (const auto error = check(reading.IsOpen() ? reading.Get() : temporary.Descriptor())) return error;
  }
  if (exists && existing.st_nlink > 1) return RewriteThroughInode(target, temporary);
  if (exists) {
    KeepIdentity(temporary.Descriptor(), existing, fault != nullptr && fault->refuseOwner);
  } else {
    ::fchmod(temporary.Descriptor(), newFileMode ? *newFileMode & 0777 : NewFileMode());
  }
  return temporary.RenameOver(target);
}

}  // namespace

FileStatus ReplaceFile(const std::string& path, const ContentProducer& produce, const WriteFault* fault,
                       std::optional<mode_t> newFileMode) {
  if (const int own = OwnDescriptorOf(path); own >= 0) return WriteDirectly(path, own, produce, fault);
  // Links are resolved by the one rule for links (a link planted in a
  // shared folder is not followed) before the kind of the file is looked at.
  std::string target;
  if (const auto error = ResolveLinks(path, target)) return error;
  struct stat found {};
  if (::lstat(target.c_str(), &found) == 0 && !S_ISREG(found.st_mode)) {
    if (S_ISFIFO(found.st_mode) || S_ISCHR(found.st_mode) || S_ISBLK(found.st_mode)) {
      return WriteDirectly(target, -1, produce, fault);
    }
    return FileError{Failure::NotRegularFile, 0};
  }
  return ReplaceRegularFile(path, produce, {}, fault, newFileMode);
}

FileStatus ReplaceFileChecked(const std::string& path, const ContentProducer& produce, const ContentCheck& check,
                              const WriteFault* fault) {
  if (OwnDescriptorOf(path) >= 0) return FileError{Failure::NotRegularFile, 0};
  std::string target;
  if (const auto error = ResolveLinks(path, target)) return error;
  struct stat found {};
  if (::lstat(target.c_str(), &found) == 0 && !S_ISREG(found.st_mode)) return FileError{Failure::NotRegularFile, 0};
  return ReplaceRegularFile(path, produce, check, fault, std::nullopt);
}

FileStatus WriteWholeFile(const std::string& path, std::string_view content, const WriteFault* fault) {
  return ReplaceFile(
      path, [content](const ContentWriter& write) { return write(content.data(), content.size()); }, fault);
}

FileStatus OverwriteFile(const std::string& path, std::string_view content) {
  UniqueDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                               NewFileMode()));
  if (!file.IsOpen()) return ErrorFromErrno(errno);
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) return ErrorFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{Failure::NotRegularFile, 0};
  if (::ftruncate(file.Get(), 0) != 0) return ErrorFromErrno(errno);
  DescriptorWriter writer(file.Get(), nullptr);
  if (!writer.Write(content.data(), content.size()) || ::fdatasync(file.Get()) != 0 || !file.Close()) {
    return ErrorFromErrno(errno != 0 ? errno : EIO);
  }
  return std::nullopt;
}

}  // namespace tonvault::files
