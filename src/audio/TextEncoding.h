#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Conversions between the text encodings found in audio files and the UTF-8
// the program holds every text in.
namespace tonvault::audio {

// Single-byte text (ID3v1 fields, ID3v2 encoding 0, single-byte texts of
// other headers) is Windows-1252, a superset of ISO-8859-1. The five bytes
// 1252 leaves undefined become the C1 control characters of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character without an equivalent, and every byte
// that is not valid UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view text);

// True when every character of `text` exists in ISO-8859-1 (U+0000..U+00FF).
bool FitsLatin1(std::string_view text);

// True when every character is ASCII or in U+00A0..U+00FF: the characters
// ISO-8859-1 and Windows-1252 write as the same single byte.
bool FitsSingleByte(std::string_view text);

// UTF-8 to UTF-16 little-endian bytes (no byte-order mark); invalid UTF-8
// becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// UTF-16 code units (as bytes, in the given byte order) to UTF-8. An odd
// last byte is ignored; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, bool littleEndian);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Cuts `text` to at most `maxBytes` bytes without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

// Removes leading and trailing bytes up to and including the blank (blanks
// and control characters), as single-byte text trimming does.
std::string_view TrimControl(std::string_view text);

// Length of the well-formed UTF-8 sequence at `i` (1 to 4), or 0 where the
// bytes are not UTF-8 (a stray continuation byte, an overlong form, a
// surrogate, a cut sequence). File names may hold such bytes.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

}  // namespace tonvault::audio
