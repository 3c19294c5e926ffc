#include "support/Id3v2Builder.h"

#include <algorithm>
#include <iterator>

namespace tonvault::testing {

namespace {

void PutSize(Bytes& out, std::uint32_t size, int major) {
  if (major == 2) {
    out.insert(out.end(), {static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 8),
                           static_cast<std::uint8_t>(size)});
  } else if (major == 3) {
    out.insert(out.end(), {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                           static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
  } else {
    out.insert(out.end(), {static_cast<std::uint8_t>(size >> 21 & 0x7F), static_cast<std::uint8_t>(size >> 14 & 0x7F),
                           static_cast<std::uint8_t>(size >> 7 & 0x7F), static_cast<std::uint8_t>(size & 0x7F)});
  }
}

}  // namespace

Bytes Utf16Bytes(const std::u16string& text, bool bigEndian, bool mark) {
  Bytes out;
  out.reserve(2 * (text.size() + 1));
  auto put = [&](char16_t u) {
    const auto high = static_cast<std::uint8_t>(u >> 8), low = static_cast<std::uint8_t>(u);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  if (mark) put(0xFEFF);
  for (char16_t u : text) put(u);
  return out;
}

Bytes Unsynchronise(const Bytes& bytes) {
  Bytes out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == 0xFF && (i + 1 == bytes.size() || bytes[i + 1] >= 0xE0 || bytes[i + 1] == 0x00)) out.push_back(0);
  }
  return out;
}

Id3v2Builder& Id3v2Builder::Frame(const std::string& id, const Bytes& content, std::uint8_t formatFlags) {
  frames_.insert(frames_.end(), id.begin(), id.end());
  PutSize(frames_, static_cast<std::uint32_t>(content.size()), major_);
  if (major_ > 2) frames_.insert(frames_.end(), {0, formatFlags});
  frames_.insert(frames_.end(), content.begin(), content.end());
  return *this;
}

Id3v2Builder& Id3v2Builder::Text(const std::string& id, const std::string& bytes, std::uint8_t encoding) {
  Bytes content{encoding};
  content.insert(content.end(), bytes.begin(), bytes.end());
  return Frame(id, content);
}

Id3v2Builder& Id3v2Builder::Utf16(const std::string& id, const std::u16string& text, bool bigEndian, bool mark,
                                  std::uint8_t encoding) {
  Bytes content{encoding};
  const Bytes body = Utf16Bytes(text, bigEndian, mark);
  content.insert(content.end(), body.begin(), body.end());
  return Frame(id, content);
}

Id3v2Builder& Id3v2Builder::Comment(const std::string& language, const std::string& descriptor,
                                    const std::string& text) {
  Bytes content{0};
  content.insert(content.end(), language.begin(), language.end());
  content.insert(content.end(), descriptor.begin(), descriptor.end());
  content.push_back(0);
  content.insert(content.end(), text.begin(), text.end());
  return Frame(major_ == 2 ? "COM" : "COMM", content);
}

Id3v2Builder& Id3v2Builder::Raw(const Bytes& bytes) {
  frames_.insert(frames_.end(), bytes.begin(), bytes.end());
  return *this;
}

Id3v2Builder& Id3v2Builder::Padding(std::size_t count) {
  frames_.insert(frames_.end(), count, 0);
  return *this;
}

Id3v2Builder& Id3v2Builder::Flags(std::uint8_t flags) {
  flags_ = flags;
  return *this;
}

Id3v2Builder& Id3v2Builder::DeclaredSize(std::uint32_t size) {
  declared_ = true;
  declaredSize_ = size;
  return *this;
}

Bytes Id3v2Builder::Build() const {
  const auto size = declared_ ? declaredSize_ : static_cast<std::uint32_t>(frames_.size());
  Bytes tag(10 + frames_.size());
  const std::uint8_t header[10] = {'I',
                                   'D',
                                   '3',
                                   static_cast<std::uint8_t>(major_),
                                   static_cast<std::uint8_t>(revision_),
                                   flags_,
                                   static_cast<std::uint8_t>(size >> 21 & 0x7F),
                                   static_cast<std::uint8_t>(size >> 14 & 0x7F),
                                   static_cast<std::uint8_t>(size >> 7 & 0x7F),
                                   static_cast<std::uint8_t>(size & 0x7F)};
  std::copy(std::begin(header), std::end(header), tag.begin());
  std::copy(frames_.begin(), frames_.end(), tag.begin() + 10);
  return tag;
}

}  // namespace tonvault::testing
