#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "files/FileError.h"

namespace tonvault::audio {

// Random access to the bytes of one file (or of a buffer in memory, for
// tests and fuzzing). Readers never trust a size field in the data: they
// ask the source how many bytes really exist.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::int64_t Size() const = 0;
  // Reads up to `out.size()` bytes at `offset`; returns how many were read
  // (fewer only at the end of the data) or -1 when the read failed.
  virtual std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) = 0;
  // A hint that the bytes [offset, offset + count) will be read next: a
  // file has the system fetch them in the background. Nothing by default.
  virtual void WillRead(std::int64_t /*offset*/, std::int64_t /*count*/) {}
};

// The bytes of a file open elsewhere (not owned): a writer that has the
// file open already reads it through this.
class DescriptorSource : public ByteSource {
 public:
  DescriptorSource(int descriptor, std::int64_t size) : descriptor_(descriptor), size_(size) {}
  std::int64_t Size() const override { return size_; }
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;
  void WillRead(std::int64_t offset, std::int64_t count) override;

 protected:
  int descriptor_;
  std::int64_t size_;
};

// A file opened read-only. Open() returns null when the file cannot be
// opened or is not a regular file (a FIFO or device is refused without
// blocking); `why`, when given, receives the reason.
class FileByteSource : public DescriptorSource {
 public:
  static std::unique_ptr<FileByteSource> Open(const std::string& path, files::FileStatus* why = nullptr);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

 private:
  FileByteSource(int descriptor, std::int64_t size) : DescriptorSource(descriptor, size) {}
};

// Bytes held in memory (not owned).
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace tonvault::audio

namespace tonvault::audio {

// Holds the first bytes of another source (and its last 128, where an
// ID3v1 tag sits) in memory, so several readers of one small file cost one
// open and two reads; and the bytes of the first read beyond them, since
// the quick header read comes first and the stream scan starts where it
// did, at the audio start. Later reads go to the source uncopied: a walk
// over the stream is not copied twice, and a file whose tag holds a large
// picture is not read through its picture.
class PrefetchedSource : public ByteSource {
 public:
  static constexpr std::size_t kDefaultHead = 16 * 1024;
  static constexpr std::size_t kMostRemembered = 256 * 1024;

  explicit PrefetchedSource(ByteSource& source, std::size_t headBytes = kDefaultHead);
  std::int64_t Size() const override { return source_.Size(); }
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;
  void WillRead(std::int64_t offset, std::int64_t count) override { source_.WillRead(offset, count); }
  // False when the first read of the source failed.
  bool Readable() const { return readable_; }

 private:
  // Copies what `kept` (held from `keptStart` on) has of the request.
  static bool Serve(const std::vector<std::uint8_t>& kept, std::int64_t keptStart, std::int64_t offset,
                    std::span<std::uint8_t> out, std::int64_t count);

  ByteSource& source_;
  std::vector<std::uint8_t> head_;
  std::vector<std::uint8_t> tail_;
  std::int64_t tailStart_ = 0;
  std::vector<std::uint8_t> last_;
  std::int64_t lastStart_ = 0;
  bool readable_ = true;
};

}  // namespace tonvault::audio
