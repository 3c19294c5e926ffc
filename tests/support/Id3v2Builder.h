#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonvault::testing {

using Bytes = std::vector<std::uint8_t>;

// Builds ID3v2 tags byte by byte: frames in the order added, with the size
// fields of the chosen version (2.2: 3 bytes; 2.3: plain; 2.4: syncsafe).
class Id3v2Builder {
 public:
  explicit Id3v2Builder(int major = 3, int revision = 0) : major_(major), revision_(revision) {}

  Id3v2Builder& Frame(const std::string& id, const Bytes& content, std::uint8_t formatFlags = 0);
  // A text frame: encoding byte, then the bytes as given.
  Id3v2Builder& Text(const std::string& id, const std::string& bytes, std::uint8_t encoding = 0);
  // A text frame in UTF-16 with a byte-order mark (or none), either order.
  Id3v2Builder& Utf16(const std::string& id, const std::u16string& text, bool bigEndian = false, bool mark = true,
                      std::uint8_t encoding = 1);
  Id3v2Builder& Comment(const std::string& language, const std::string& descriptor, const std::string& text);
  Id3v2Builder& Raw(const Bytes& bytes);  // straight into the frame area
  Id3v2Builder& Padding(std::size_t count);
  Id3v2Builder& Flags(std::uint8_t flags);
  // A tag size that differs from the bytes built (for damaged tags).
  Id3v2Builder& DeclaredSize(std::uint32_t size);

  // The whole tag, its header's size field covering the frames and padding.
  Bytes Build() const;

 private:
  int major_;
  int revision_;
  std::uint8_t flags_ = 0;
  Bytes frames_;
  bool declared_ = false;
  std::uint32_t declaredSize_ = 0;
};

Bytes Utf16Bytes(const std::u16string& text, bool bigEndian, bool mark);
Bytes Unsynchronise(const Bytes& bytes);

}  // namespace tonvault::testing
