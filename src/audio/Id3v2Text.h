#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// How the texts inside ID3v2 frames are decoded. Every result is UTF-8.
namespace tonvault::audio {

// A text frame's text after its encoding byte: 0 Windows-1252, 1 UTF-16
// (the byte-order mark decides the order; little-endian without one),
// 2 UTF-16BE, 3 UTF-8. Trimmed of blanks and control characters at both
// ends, then a leading byte-order mark is dropped. Other encodings: nothing.
std::optional<std::string> Id3v2Text(int encoding, std::span<const std::uint8_t> text);

// A comment frame's content after its encoding byte (language, descriptor,
// terminator, text) as the comment shows it: an empty descriptor drops the
// language, "eng" and "xxx" are dropped before a descriptor, and a NUL
// character stays between descriptor and text. Empty when the comment is to
// be left out; nothing for an unknown encoding.
std::optional<std::string> Id3v2CommentText(int encoding, std::span<const std::uint8_t> content);

// The "Content" column of the frame list. `encoding` is the frame's encoding
// byte, or -1 for ID3v2.2 frames whose bytes start at the encoding byte.
std::string Id3v2ListedContent(const std::string& id, int encoding, std::span<const std::uint8_t> bytes);

}  // namespace tonvault::audio
