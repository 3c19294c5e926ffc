#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "audio/CodePages.h"

// Conversions between the text encodings found in audio files and the UTF-8
// the program holds every text in.
namespace tonvault::audio {

// Single-byte text in a code page to UTF-8 (see CodePageCharacter).
std::string SingleByteToUtf8(std::string_view bytes, CodePage page);

// UTF-8 to a code page; a character without an equivalent, and every byte
// that is not valid UTF-8, becomes '?'.
std::string Utf8ToSingleByte(std::string_view text, CodePage page);

// The same in the legacy code page the user chose (Windows-1252 unless
// changed): ID3v1 fields, ID3v2 encoding 0, old catalogue files.
std::string LegacyToUtf8(std::string_view bytes);
std::string Utf8ToLegacy(std::string_view text);

// The same in Windows-1252, for texts that are Windows-1252 whatever the
// user chose (file headers written by Windows programs).
std::string Windows1252ToUtf8(std::string_view bytes);
std::string Utf8ToWindows1252(std::string_view text);

// True when every character of `text` exists in ISO-8859-1 (U+0000..U+00FF).
bool FitsLatin1(std::string_view text);

// True when every character is ASCII or in U+00A0..U+00FF and the legacy
// code page writes it as the same byte as ISO-8859-1: text that an ID3v2
// frame can hold with encoding 0 and that reads back the same in every
// program, whatever code page it assumes for such frames.
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
