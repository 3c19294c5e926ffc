#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The single-byte code pages that tags and old catalogues may be written in,
// and the one the program uses for all of them.
namespace tonvault::audio {

enum class CodePage {
  Windows1250,
  Windows1251,
  Windows1252,
  Windows1253,
  Windows1254,
  Windows1257,
  Iso8859_1,
  Iso8859_2,
  Iso8859_5,
  Iso8859_15,
  Koi8R,
};

inline constexpr std::size_t kCodePageCount = 11;
inline constexpr CodePage kDefaultCodePage = CodePage::Windows1252;

// Every code page offered, in the order the settings list them.
const std::array<CodePage, kCodePageCount>& CodePages();

// The name shown and stored ("Windows-1251", "ISO-8859-5", "KOI8-R").
std::string_view CodePageName(CodePage page);

// The code page of a name, ignoring case; nothing for a name not offered.
std::optional<CodePage> CodePageFromName(std::string_view name);

// The code point of a byte in a code page. ASCII is the same everywhere; a
// byte a code page leaves undefined becomes the C1 control of the same value
// in 0x80..0x9F and U+FFFD above.
char32_t CodePageCharacter(CodePage page, unsigned char byte);

// The byte of a code point in a code page, or nothing when it has none.
std::optional<unsigned char> CodePageByte(CodePage page, char32_t codePoint);

// The code page every single-byte text is read and written in: ID3v1 tags,
// ID3v2 frames with encoding 0, old catalogue files without UTF-8. It is
// one setting of the whole program, set when the settings are read or
// changed (and by the command line tool from its options); reading it is
// safe from any thread.
void SetLegacyCodePage(CodePage page);
CodePage LegacyCodePage();

}  // namespace tonvault::audio
