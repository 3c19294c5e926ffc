#include "catalogue/NameEscape.h"

#include <cstring>

#include "audio/TextEncoding.h"

namespace tonvault::catalogue {

namespace {

constexpr unsigned char kLead = 0xEF;  // every character of U+F700..U+F7FF starts so

unsigned char Byte(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

bool IsEscapeCharacter(std::string_view text, std::size_t i) {
  return i + 2 < text.size() && Byte(text, i) == kLead && Byte(text, i + 1) >= 0x9C && Byte(text, i + 1) <= 0x9F &&
         (Byte(text, i + 2) & 0xC0) == 0x80;
}

void AppendEscaped(std::string& out, unsigned char byte) {
  out += static_cast<char>(kLead);
  out += static_cast<char>(0x9C + (byte >> 6));
  out += static_cast<char>(0x80 | (byte & 0x3F));
}

// How many bytes at `i` go out unchanged (0: escape the byte at `i`).
std::size_t PlainLength(std::string_view name, std::size_t i) {
  const unsigned char byte = Byte(name, i);
  if (byte == '\n' || byte == '\r') return 0;
  if (IsEscapeCharacter(name, i)) return 0;
  return audio::Utf8SequenceLength(name, i);
}

}  // namespace

bool NameNeedsEscape(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t plain = PlainLength(name, i);
    if (plain == 0) return true;
    i += plain;
  }
  return false;
}

std::string EscapeName(std::string_view name) {
  if (!NameNeedsEscape(name)) return std::string(name);
  std::string out;
  out.reserve(name.size() + 8);
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t plain = PlainLength(name, i);
    if (plain == 0) {
      AppendEscaped(out, Byte(name, i));
      ++i;
    } else {
      out.append(name.substr(i, plain));
      i += plain;
    }
  }
  return out;
}

std::string UnescapeName(std::string_view stored) {
  if (stored.empty() || std::memchr(stored.data(), kLead, stored.size()) == nullptr) return std::string(stored);
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size();) {
    if (IsEscapeCharacter(stored, i)) {
      out += static_cast<char>(((Byte(stored, i + 1) - 0x9C) << 6) | (Byte(stored, i + 2) & 0x3F));
      i += 3;
    } else {
      out += stored[i++];
    }
  }
  return out;
}

}  // namespace tonvault::catalogue
