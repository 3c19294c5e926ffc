#pragma once

#include <unistd.h>

#include <utility>

namespace tonvault::files {

// Owns one open file descriptor and closes it at the end of its life.
class UniqueDescriptor {
 public:
  UniqueDescriptor() = default;
  explicit UniqueDescriptor(int descriptor) : descriptor_(descriptor) {}
  ~UniqueDescriptor() { Reset(); }
  UniqueDescriptor(UniqueDescriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  UniqueDescriptor& operator=(UniqueDescriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
  }
  UniqueDescriptor(const UniqueDescriptor&) = delete;
  UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

  int Get() const { return descriptor_; }
  bool IsOpen() const { return descriptor_ >= 0; }
  int Release() { return std::exchange(descriptor_, -1); }
  // Closes the descriptor; false when close reported an error (a write
  // that the system had deferred failed).
  bool Close() {
    if (descriptor_ < 0) return true;
    return ::close(std::exchange(descriptor_, -1)) == 0;
  }
  void Reset() { Close(); }

 private:
  int descriptor_ = -1;
};

}  // namespace tonvault::files
