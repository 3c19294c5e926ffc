#include "audio/Id3v2Text.h"

#include <cstring>
#include <vector>

#include "audio/TextEncoding.h"

namespace tonvault::audio {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr const char* kMiddleDot = "\xC2\xB7";

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// UTF-16 code units; a leading byte-order mark sets the order (and stays in
// the result, as a unit 0xFEFF), else `littleEndian` does.
std::vector<char16_t> Units(std::span<const std::uint8_t> bytes, bool littleEndian) {
  if (bytes.size() >= 2) {
    if (bytes[0] == 0xFF && bytes[1] == 0xFE) littleEndian = true;
    if (bytes[0] == 0xFE && bytes[1] == 0xFF) littleEndian = false;
  }
  std::vector<char16_t> units(bytes.size() / 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
    units[i] = littleEndian ? static_cast<char16_t>(a | b << 8) : static_cast<char16_t>(a << 8 | b);
  }
  return units;
}

std::string ToUtf8(const std::vector<char16_t>& units, std::size_t begin, std::size_t end) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * (end - begin));
  for (std::size_t i = begin; i < end; ++i) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(units[i]), static_cast<std::uint8_t>(units[i] >> 8)});
  return Utf16ToUtf8(bytes, true);
}

// Trims units up to the blank at both ends, then drops a leading mark.
std::string TrimmedUtf16(const std::vector<char16_t>& units) {
  std::size_t begin = 0, end = units.size();
  while (begin < end && units[begin] <= 0x20) ++begin;
  while (end > begin && units[end - 1] <= 0x20) --end;
  if (begin < end && units[begin] == kByteOrderMark) ++begin;
  return ToUtf8(units, begin, end);
}

// UTF-16 text without trimming, marks dropped wherever they stand.
std::string PlainUtf16(const std::vector<char16_t>& units, std::size_t begin, std::size_t end) {
  std::vector<char16_t> kept;
  for (std::size_t i = begin; i < end; ++i) {
    if (units[i] != kByteOrderMark) kept.push_back(units[i]);
  }
  return ToUtf8(kept, 0, kept.size());
}

bool IsUtf16(int encoding) { return encoding == 1 || encoding == 2; }

// The comment's text after the language, NUL between descriptor and text.
std::optional<std::string> CommentBody(int encoding, std::span<const std::uint8_t> rest) {
  switch (encoding) {
    case 0: return LegacyToUtf8(AsChars(rest));
    case 3: return std::string(AsChars(rest));
    case 1:
    case 2: {
      const std::vector<char16_t> units = Units(rest, encoding == 1);
      std::size_t terminator = 0;
      while (terminator < units.size() && units[terminator] != 0) ++terminator;
      std::string body = PlainUtf16(units, 0, terminator);
      if (terminator < units.size()) {
        // The text has its own byte-order mark, which may differ.
        const auto textBytes = rest.subspan(2 * (terminator + 1));
        const std::vector<char16_t> text = Units(textBytes, encoding == 1);
        body += '\0';
        body += PlainUtf16(text, 0, text.size());
      }
      return body;
    }
    default: return std::nullopt;
  }
}

bool StartsWithLowered(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Pieces of single-byte text up to each NUL, trimmed, joined by a middle
// dot; remaining control bytes show as blanks.
std::string RawPieces(std::span<const std::uint8_t> bytes) {
  std::string joined;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::string_view rest = AsChars(bytes.subspan(at));
    const std::size_t length = strnlen(rest.data(), rest.size());
    if (at != 0) joined += '\0';
    joined += TrimControl(rest.substr(0, length));
    at += length + 1;
  }
  std::string shown;
  for (char c : LegacyToUtf8(joined)) {
    if (c == '\0') shown += kMiddleDot;
    else if (static_cast<std::uint8_t>(c) < 0x20) shown += ' ';
    else shown += c;
  }
  return shown;
}

}  // namespace

std::optional<std::string> Id3v2Text(int encoding, std::span<const std::uint8_t> text) {
  switch (encoding) {
    case 0: return LegacyToUtf8(TrimControl(AsChars(text)));
    case 1:
    case 2: return TrimmedUtf16(Units(text, encoding == 1));
    case 3: {
      std::string utf8(TrimControl(AsChars(text)));
      if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);
      return utf8;
    }
    default: return std::nullopt;
  }
}

std::optional<std::string> Id3v2CommentText(int encoding, std::span<const std::uint8_t> content) {
  const std::size_t languageLength = std::min<std::size_t>(3, content.size());
  const std::string language = Windows1252ToUtf8(AsChars(content.first(languageLength)));
  const auto body = CommentBody(encoding, content.subspan(languageLength));
  if (!body) return std::nullopt;
  std::string c;
  if (languageLength == 3 && !body->empty() && (*body)[0] == '\0') {
    c = body->substr(1);  // empty descriptor: language and terminator go
  } else if (languageLength == 3 && (StartsWithLowered(language, "eng") || StartsWithLowered(language, "xxx"))) {
    c = *body;
  } else {
    c = language + *body;
  }
  c = std::string(TrimControl(c));
  if (c.rfind("\xC3\xBF", 0) == 0) return std::string();  // a byte-order mark read as single bytes
  return c;
}

std::string Id3v2ListedContent(const std::string& id, int encoding, std::span<const std::uint8_t> bytes) {
  const bool textFrame = !id.empty() && id[0] == 'T';
  if (encoding < 0) {  // ID3v2.2: the bytes start at the encoding byte
    if (textFrame && !bytes.empty() && bytes[0] >= 1 && bytes[0] <= 3) {
      return Id3v2ListedContent(id, bytes[0], bytes.subspan(1));
    }
    return RawPieces(bytes);
  }
  if (!textFrame || encoding == 0 || encoding > 3) return RawPieces(bytes);
  std::string text = IsUtf16(encoding) ? PlainUtf16(Units(bytes, encoding == 1), 0, bytes.size() / 2)
                                       : std::string(AsChars(bytes));
  while (!text.empty() && text.back() == '\0') text.pop_back();
  std::string shown;
  for (char c : text) {
    if (c == '\0') shown += kMiddleDot;
    else if (static_cast<std::uint8_t>(c) < 0x20) shown += ' ';
    else shown += c;
  }
  return shown;
}

}  // namespace tonvault::audio
