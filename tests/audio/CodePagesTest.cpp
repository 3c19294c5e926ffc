#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>

#include "audio/CodePages.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/Id3v2Writer.h"
#include "audio/TextEncoding.h"
#include "support/CodePageScope.h"
#include "support/FileContents.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::audio {
namespace {

using testing::CodePageScope;

// "Кино" (a band) and "Группа крови" (a title), byte by byte in Windows-1251.
constexpr std::string_view kKino1251 = "\xCA\xE8\xED\xEE";
constexpr std::string_view kTitle1251 = "\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8";

TEST(CodePages, EveryOfferedPageRoundTripsItsCharacters) {
  for (CodePage page : CodePages()) {
    SCOPED_TRACE(std::string(CodePageName(page)));
    std::set<char32_t> seen;
    for (unsigned byte = 0x20; byte <= 0xFF; ++byte) {
      if (byte == 0x7F) continue;
      const char32_t character = CodePageCharacter(page, static_cast<unsigned char>(byte));
      if (character == 0xFFFD || (character >= 0x80 && character < 0xA0)) continue;  // undefined in this page
      EXPECT_TRUE(seen.insert(character).second) << "two bytes give U+" << std::hex << static_cast<unsigned>(character);
      const std::string one(1, static_cast<char>(byte));
      const std::string utf8 = SingleByteToUtf8(one, page);
      EXPECT_EQ(Utf8ToSingleByte(utf8, page), one) << "byte 0x" << std::hex << byte;
    }
    EXPECT_GT(seen.size(), 180u) << "a table is missing";
  }
}

TEST(CodePages, KnownWordsInEachScript) {
  EXPECT_EQ(SingleByteToUtf8(kKino1251, CodePage::Windows1251), "Кино");
  EXPECT_EQ(SingleByteToUtf8("\xEB\xC9\xCE\xCF", CodePage::Koi8R), "Кино");
  EXPECT_EQ(SingleByteToUtf8("\xBA\xD8\xDD\xDE", CodePage::Iso8859_5), "Кино");
  EXPECT_EQ(SingleByteToUtf8("\xA3\xF3\x64\xBC", CodePage::Iso8859_2), "Łódź");
  EXPECT_EQ(SingleByteToUtf8("\xA3\xF3\x64\x9F", CodePage::Windows1250), "Łódź");
  EXPECT_EQ(SingleByteToUtf8("\xCC\xDC\xED\xF9\xEB\xE7\xF2", CodePage::Windows1253), "Μάνωλης");
  EXPECT_EQ(SingleByteToUtf8("\xDE\xE7\xFD", CodePage::Windows1254), "Şçı");
  EXPECT_EQ(SingleByteToUtf8("\xD0\xE0\xFE", CodePage::Windows1257), "Šąž");
  EXPECT_EQ(SingleByteToUtf8("\xA4\xBD", CodePage::Iso8859_15), "€œ");
  EXPECT_EQ(SingleByteToUtf8("\xA4\xBD", CodePage::Iso8859_1), "¤½");
  EXPECT_EQ(SingleByteToUtf8("\x80\x81", CodePage::Windows1252), "€\xC2\x81") << "undefined: the C1 control";
  EXPECT_EQ(SingleByteToUtf8("\xAA", CodePage::Windows1253), "\xEF\xBF\xBD") << "undefined above 0x9F: U+FFFD";
  EXPECT_EQ(Utf8ToSingleByte("Кино €", CodePage::Iso8859_2), "???? ?");
  EXPECT_EQ(Utf8ToSingleByte("\xEF\xBF\xBD", CodePage::Windows1253), "?");
}

TEST(CodePages, NamesAreFoundIgnoringCase) {
  EXPECT_EQ(CodePageFromName("windows-1251"), CodePage::Windows1251);
  EXPECT_EQ(CodePageFromName("KOI8-R"), CodePage::Koi8R);
  EXPECT_EQ(CodePageFromName("iso-8859-15"), CodePage::Iso8859_15);
  EXPECT_EQ(CodePageFromName("cp1251"), std::nullopt);
  EXPECT_EQ(CodePageFromName(""), std::nullopt);
  for (CodePage page : CodePages()) EXPECT_EQ(CodePageFromName(CodePageName(page)), page);
}

class LegacyTagsTest : public ::testing::Test {
 protected:
  // An MPEG file ending in an ID3v1 tag whose title and artist are the
  // given bytes.
  std::string Id3v1File(std::string_view title, std::string_view artist) {
    testing::Bytes file = testing::Frames({}, 4);
    testing::Bytes tag(128, 0);
    std::memcpy(tag.data(), "TAG", 3);
    std::memcpy(&tag[3], title.data(), title.size());
    std::memcpy(&tag[33], artist.data(), artist.size());
    tag[127] = 255;
    testing::Append(file, tag);
    return Save("v1.mp3", file);
  }
  std::string Save(const std::string& name, const testing::Bytes& bytes) {
    const std::string path = folder.Path() + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  testing::TempFolder folder;
};

TEST_F(LegacyTagsTest, Id3v1ReadsInTheChosenCodePage) {
  const std::string path = Id3v1File(kTitle1251, kKino1251);
  {
    CodePageScope cyrillic(CodePage::Windows1251);
    const Id3v1Tag tag = ReadId3v1Tag(path);
    EXPECT_EQ(tag.title, "Группа крови");
    EXPECT_EQ(tag.artist, "Кино");
  }
  const Id3v1Tag tag = ReadId3v1Tag(path);
  EXPECT_EQ(tag.title, "Ãðóïïà êðîâè") << "without the setting: Windows-1252";
  EXPECT_EQ(tag.artist, "Êèíî");
}

TEST_F(LegacyTagsTest, Id3v1WritesInTheChosenCodePageAndReadsBack) {
  const std::string path = Id3v1File("old", "old");
  CodePageScope cyrillic(CodePage::Windows1251);
  Id3v1Fields fields;
  fields.title = "Группа крови";
  fields.artist = "Кино";
  ASSERT_TRUE(WriteId3v1Tag(path, fields, false, false).ok);
  const std::string bytes = testing::Contents(path);
  ASSERT_GE(bytes.size(), 128u);
  const std::string tag = bytes.substr(bytes.size() - 128);
  EXPECT_EQ(tag.substr(3, kTitle1251.size()), kTitle1251) << "the bytes older programs expect";
  EXPECT_EQ(tag.substr(33, kKino1251.size()), kKino1251);
  EXPECT_EQ(ReadId3v1Tag(path).title, "Группа крови");
  EXPECT_EQ(EncodeId3v1Tag({"Ελλάδα", "", "", "", "", 255, 0}).substr(3, 6), "??????") << "not in Windows-1251";
}

TEST_F(LegacyTagsTest, Id3v2EncodingZeroFramesReadInTheChosenCodePage) {
  testing::Id3v2Builder builder;
  builder.Text("TIT2", std::string(kTitle1251)).Comment("eng", "", std::string(kKino1251));
  testing::Bytes file = builder.Build();
  testing::Append(file, testing::Frames({}, 4));
  const std::string path = Save("v2.mp3", file);
  {
    CodePageScope cyrillic(CodePage::Windows1251);
    const Id3v2Values tag = ReadId3v2Tag(path);
    EXPECT_EQ(tag.title, "Группа крови");
    EXPECT_EQ(tag.comment, "Кино");
  }
  EXPECT_EQ(ReadId3v2Tag(path).title, "Ãðóïïà êðîâè");
}

TEST_F(LegacyTagsTest, Id3v2WriterUsesEncodingZeroOnlyForTextEveryReaderSeesAlike) {
  testing::Bytes audio = testing::Frames({}, 4);
  const std::string path = Save("w.mp3", audio);
  const auto titleFrame = [&] {
    const std::string bytes = testing::Contents(path);
    const std::size_t at = bytes.find("TIT2");
    return at == std::string::npos ? std::string() : bytes.substr(at + 10, 8);
  };
  Id3v2TagFields fields{"Café", "", "", "", "", "", ""};
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  EXPECT_EQ(titleFrame().substr(0, 5), std::string("\0Caf\xE9", 5)) << "Windows-1252 and ISO-8859-1 agree on é";
  {
    CodePageScope cyrillic(CodePage::Windows1251);
    ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
    EXPECT_EQ(titleFrame().substr(0, 3), std::string("\x01\xFF\xFE", 3)) << "é is another letter in Windows-1251";
    EXPECT_EQ(ReadId3v2Tag(path).title, "Café");
    fields.title = "Кино";
    ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
    EXPECT_EQ(titleFrame().substr(0, 1), std::string("\x01", 1)) << "never Cyrillic bytes in encoding 0";
    EXPECT_EQ(ReadId3v2Tag(path).title, "Кино");
    fields.title = "Plain";
    ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
    EXPECT_EQ(titleFrame().substr(0, 6), std::string("\0Plain", 6));
  }
}

}  // namespace
}  // namespace tonvault::audio
