#include "audio/TextEncoding.h"

#include <array>

namespace tonvault::audio {

namespace {

// Decodes one UTF-8 character at `i`; returns false (and consumes one byte)
// for an invalid sequence.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& codePoint) {
  const auto lead = static_cast<std::uint8_t>(text[i]);
  int extra = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    codePoint = lead;
    ++i;
    return true;
  }
  if (lead >= 0xC2 && lead <= 0xDF) extra = 1, value = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) extra = 2, value = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) extra = 3, value = lead & 0x07;
  else {
    ++i;
    return false;
  }
  if (i + static_cast<std::size_t>(extra) >= text.size()) {
    ++i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    value = value << 6 | (next & 0x3F);
  }
  const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += static_cast<std::size_t>(extra) + 1;
  codePoint = value;
  return true;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string SingleByteToUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) AppendUtf8(out, CodePageCharacter(page, static_cast<unsigned char>(byte)));
  return out;
}

std::string Utf8ToSingleByte(std::string_view text, CodePage page) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t codePoint = 0;
    const auto byte = DecodeUtf8(text, i, codePoint) ? CodePageByte(page, codePoint) : std::nullopt;
    out += static_cast<char>(byte.value_or('?'));
  }
  return out;
}

std::string LegacyToUtf8(std::string_view bytes) { return SingleByteToUtf8(bytes, LegacyCodePage()); }

std::string Utf8ToLegacy(std::string_view text) { return Utf8ToSingleByte(text, LegacyCodePage()); }

std::string Windows1252ToUtf8(std::string_view bytes) { return SingleByteToUtf8(bytes, CodePage::Windows1252); }

std::string Utf8ToWindows1252(std::string_view text) { return Utf8ToSingleByte(text, CodePage::Windows1252); }

bool FitsLatin1(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t codePoint = 0;
    if (!DecodeUtf8(text, i, codePoint) || codePoint > 0xFF) return false;
  }
  return true;
}

bool FitsSingleByte(std::string_view text) {
  const CodePage page = LegacyCodePage();
  for (std::size_t i = 0; i < text.size();) {
    char32_t codePoint = 0;
    if (!DecodeUtf8(text, i, codePoint) || codePoint > 0xFF || (codePoint >= 0x80 && codePoint < 0xA0)) return false;
    if (codePoint >= 0x80 && CodePageCharacter(page, static_cast<unsigned char>(codePoint)) != codePoint) return false;
  }
  return true;
}

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  auto put = [&out](char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  for (std::size_t i = 0; i < text.size();) {
    char32_t codePoint = 0;
    if (!DecodeUtf8(text, i, codePoint)) codePoint = 0xFFFD;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      put(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
      put(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      put(static_cast<char16_t>(codePoint));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, bool littleEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> char16_t {
    return littleEndian ? static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8)
                        : static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1]);
  };
  const std::size_t count = bytes.size() / 2;
  for (std::size_t k = 0; k < count; ++k) {
    const char16_t u = unit(2 * k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < count) {
      const char16_t low = unit(2 * (k + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{u});
  }
  return out;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::string_view TrimControl(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<std::uint8_t>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<std::uint8_t>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points above U+10FFFF.
  if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) || (lead == 0xF0 && byte(1) < 0x90) ||
      (lead == 0xF4 && byte(1) > 0x8F)) {
    return 0;
  }
  return length;
}

}  // namespace tonvault::audio
