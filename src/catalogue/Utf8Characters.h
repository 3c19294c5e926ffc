#pragma once

#include <cstddef>
#include <string_view>

namespace tonvault::catalogue {

// The byte length of the UTF-8 character that starts at `at`: the lead
// byte's length when the continuation bytes that follow are all there,
// else 1, so a stray or cut byte counts as one character of its own.
inline std::size_t Utf8CharacterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  if (length == 1 || at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// The number of characters of a UTF-8 text, counted as above.
inline std::size_t Utf8CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += Utf8CharacterLength(text, at)) ++count;
  return count;
}

// Whether a text is exactly one valid UTF-8 character.
inline bool IsOneUtf8Character(std::string_view text) {
  if (text.empty()) return false;
  const std::size_t length = Utf8CharacterLength(text, 0);
  return length == text.size() && (length > 1 || static_cast<unsigned char>(text[0]) < 0x80);
}

}  // namespace tonvault::catalogue
