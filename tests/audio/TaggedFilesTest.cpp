// Files tagged by real taggers (see tests/data/README.md), read back as a
// user would expect to see them.
#include <gtest/gtest.h>

#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/MpegHeader.h"

namespace tonvault::audio {
namespace {

std::string DataFile(const char* name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

TEST(TaggedFiles, EyeD3Version24Utf8) {
  const Id3v2Values v = ReadId3v2Tag(DataFile("eyed3-v24-utf8.mp3"));
  EXPECT_EQ(v.version, 40);
  EXPECT_EQ(v.title, "Ärger über Öl 東京");
  EXPECT_EQ(v.artist, "Björk");
  EXPECT_EQ(v.album, "Café del Mar");
  EXPECT_EQ(v.year, "1999") << "from TDRC";
  EXPECT_EQ(v.genre, "Trip-Hop");
  EXPECT_EQ(v.track, "03/12");
  EXPECT_EQ(v.comment, "great song");
}

TEST(TaggedFiles, Id3libVersion23) {
  const Id3v2Values v = ReadId3v2Tag(DataFile("id3lib-v23.mp3"));
  EXPECT_EQ(v.version, 30);
  EXPECT_EQ(v.title, "Waterloo");
  EXPECT_EQ(v.artist, "ABBA");
  EXPECT_EQ(v.album, "Gold");
  EXPECT_EQ(v.year, "1974");
  EXPECT_EQ(v.genre, "Pop") << "(13)";
  EXPECT_EQ(v.track, "3/12");
  EXPECT_EQ(v.comment, "first single");
  EXPECT_GT(v.totalLength - v.usedLength, 0) << "id3lib pads its tags";
}

TEST(TaggedFiles, MutagenVersion23Utf16) {
  const Id3v2Values v = ReadId3v2Tag(DataFile("mutagen-v23-utf16.mp3"));
  EXPECT_EQ(v.title, "東京 Tower");
  EXPECT_EQ(v.artist, "Ünlü Band") << "TPE2 stands in for the missing TPE1";
  EXPECT_EQ(v.album, "Album");
  EXPECT_EQ(v.genre, "Rock & Roll");
  EXPECT_EQ(v.track, "7/9");
  EXPECT_EQ(v.year, "2001");
  EXPECT_EQ(v.comment, "first + desc\xC2\xB7second");
  EXPECT_EQ(v.totalLength - v.usedLength, 300);
  const Id3v2FrameList list = ListId3v2Frames(DataFile("mutagen-v23-utf16.mp3"));
  ASSERT_EQ(list.rows.size(), 8u);
  EXPECT_EQ(list.rows[0].content, "東京 Tower");
}

TEST(TaggedFiles, AudioAfterTheTagIsFound) {
  SilentScanHost host;
  for (const char* name : {"eyed3-v24-utf8.mp3", "id3lib-v23.mp3", "mutagen-v23-utf16.mp3"}) {
    const MpegHeaderInfo header = ReadMpegHeader(DataFile(name), host);
    EXPECT_TRUE(header.hasId3v2) << name;
    // The id3v2 tool also appends an ID3v1 tag, which counts as audio bytes.
    const bool withId3v1 = ReadId3v1Tag(DataFile(name)).present;
    EXPECT_EQ(withId3v1, std::string(name) == "id3lib-v23.mp3");
    EXPECT_EQ(header.audioBytes, withId3v1 ? 2016 + 128 : 2016) << name;
    EXPECT_EQ(header.versionLayerText, "M1  L3") << name;
  }
}

}  // namespace
}  // namespace tonvault::audio
