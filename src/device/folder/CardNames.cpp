#include "device/folder/CardNames.h"

#include <cstdint>

#include "audio/TextEncoding.h"

namespace tonvault::device {
namespace {

char32_t FoldCodePoint(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;                      // Latin-1 capitals
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return c % 2 == 1 ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    return c % 2 == 0 ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;                     // Greek capitals
  if (c >= 0x410 && c <= 0x42F) return c + 32;                                   // Cyrillic capitals
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

}  // namespace

std::string FoldedName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    // Two- and three-byte sequences of the alphabets above; anything else
    // (ASCII aside) is copied unchanged.
    if (byte < 0x80) {
      out += static_cast<char>(FoldCodePoint(byte));
      ++i;
    } else if ((byte & 0xE0) == 0xC0 && i + 1 < name.size() && (name[i + 1] & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(byte & 0x1F) << 6) | (name[i + 1] & 0x3F);
      audio::AppendUtf8(out, FoldCodePoint(c));
      i += 2;
    } else {
      out += name[i];
      ++i;
    }
  }
  return out;
}

}  // namespace tonvault::device
