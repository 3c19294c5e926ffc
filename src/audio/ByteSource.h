#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

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
};

// A file opened read-only. Open() returns null when the file cannot be
// opened or is not a regular file.
class FileByteSource : public ByteSource {
 public:
  static std::unique_ptr<FileByteSource> Open(const std::string& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  std::int64_t Size() const override { return size_; }
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;

 private:
  FileByteSource(int descriptor, std::int64_t size) : descriptor_(descriptor), size_(size) {}
  int descriptor_;
  std::int64_t size_;
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
