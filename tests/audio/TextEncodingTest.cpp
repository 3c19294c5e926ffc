#include <gtest/gtest.h>

#include "audio/Genres.h"
#include "audio/TextEncoding.h"

namespace tonvault::audio {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(TextEncoding, Windows1252RoundTripsThroughUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("Caf\xE9 \x80 \x93x\x94"), "Café € “x”");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81") << "undefined bytes keep their value";
  EXPECT_EQ(Utf8ToWindows1252("Café € “x”"), "Caf\xE9 \x80 \x93x\x94");
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(TextEncoding, UnmappableAndInvalidBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("東京 ok"), "?? ok");
  EXPECT_EQ(Utf8ToWindows1252("a\xFF" "b\xC3"), "a?b?") << "broken UTF-8, including a cut last character";
  EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???") << "an encoded surrogate is not UTF-8";
  EXPECT_EQ(Utf8ToWindows1252("😀"), "?");
  EXPECT_TRUE(FitsLatin1("Ärger ÿ"));
  EXPECT_FALSE(FitsLatin1("€"));
  EXPECT_FALSE(FitsLatin1("東"));
}

TEST(TextEncoding, Utf16InBothByteOrders) {
  EXPECT_EQ(Utf16ToUtf8(AsBytes(std::string_view("A\0\xE4\0\x71\x67", 6)), true), "Aä東");
  EXPECT_EQ(Utf16ToUtf8(AsBytes(std::string_view("\0A\0\xE4", 4)), false), "Aä");
  EXPECT_EQ(Utf16ToUtf8(AsBytes(std::string_view("\x3D\xD8\x00\xDE", 4)), true), "😀") << "surrogate pair";
  EXPECT_EQ(Utf16ToUtf8(AsBytes(std::string_view("\x3D\xD8" "A\0", 4)), true), "\xEF\xBF\xBD" "A");
  EXPECT_EQ(Utf16ToUtf8(AsBytes(std::string_view("A\0B", 3)), true), "A") << "odd last byte ignored";
}

TEST(TextEncoding, CuttingAndTrimming) {
  EXPECT_EQ(CutUtf8("Café", 4), "Caf") << "never half a character";
  EXPECT_EQ(CutUtf8("Café", 5), "Café");
  EXPECT_EQ(TrimControl(" \t\x01 x y \r\n"), "x y");
}

TEST(Genres, PublishedSpellingsAndLookups) {
  EXPECT_EQ(GenreTable().size(), 126u);
  EXPECT_EQ(GenreName(0), "Blues");
  EXPECT_EQ(GenreName(40), "AlternRock");
  EXPECT_EQ(GenreName(67), "Psychadelic");
  EXPECT_EQ(GenreName(79), "Hard Rock");
  EXPECT_EQ(GenreName(80), "Folk");
  EXPECT_EQ(GenreName(85), "Bebob");
  EXPECT_EQ(GenreName(123), "A capella");
  EXPECT_EQ(GenreName(124), "Euro-House");
  EXPECT_EQ(GenreName(125), "Dance Hall");
  EXPECT_EQ(GenreName(126), "");
  EXPECT_EQ(GenreName(255), "");
  EXPECT_EQ(GenreName(-1), "");
  EXPECT_EQ(GenreNumber("Rock"), 17);
  EXPECT_EQ(GenreNumber("rock"), std::nullopt) << "case-sensitive";
  for (int i = 0; i < kGenreCount; ++i) EXPECT_EQ(GenreNumber(GenreName(i)), i) << "names are unique";
}

}  // namespace
}  // namespace tonvault::audio
