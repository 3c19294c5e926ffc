#include <gtest/gtest.h>

#include "audio/Id3v2Tag.h"
#include "support/Id3v2Builder.h"

namespace tonvault::audio {
namespace {

using testing::Bytes;
using testing::Id3v2Builder;

// The tag followed by a little audio, so the byte after the tag is a frame sync.
Id3v2Values Read(const Id3v2Builder& builder) {
  Bytes file = builder.Build();
  file.insert(file.end(), {0xFF, 0xFB, 0x90, 0x44});
  file.resize(file.size() + 100, 0);
  MemoryByteSource source(file);
  return ReadId3v2Tag(&source);
}

const std::string kMiddleDot = "\xC2\xB7";

TEST(ReadId3v2Tag, SevenValuesOfAnId3v23Tag) {
  Id3v2Builder tag;
  tag.Text("TIT2", std::string("Song\0", 5))
      .Text("TPE1", "Artist")
      .Text("TALB", "Album")
      .Text("TYER", "1999")
      .Text("TRCK", "3/12")
      .Text("TCON", "(17)")
      .Comment("eng", "", "nice");
  const Id3v2Values v = Read(tag);
  EXPECT_TRUE(v.present);
  EXPECT_EQ(v.version, 30);
  EXPECT_EQ(v.title, "Song") << "the trailing NUL is trimmed";
  EXPECT_EQ(v.artist, "Artist");
  EXPECT_EQ(v.album, "Album");
  EXPECT_EQ(v.year, "1999");
  EXPECT_EQ(v.track, "3/12");
  EXPECT_EQ(v.genre, "Rock");
  EXPECT_EQ(v.comment, "nice");
  EXPECT_EQ(v.usedLength, v.totalLength);
}

TEST(ReadId3v2Tag, BandStandsInOnlyWithoutALeadArtist) {
  EXPECT_EQ(Read(Id3v2Builder().Text("TPE2", "Band")).artist, "Band");
  EXPECT_EQ(Read(Id3v2Builder().Text("TPE2", "Band").Text("TPE1", "Lead")).artist, "Lead");
  EXPECT_EQ(Read(Id3v2Builder().Text("TPE1", "Lead").Text("TPE2", "Band")).artist, "Lead");
}

TEST(ReadId3v2Tag, GenreForms) {
  const std::pair<std::string, std::string> cases[] = {
      {"(17)", "Rock"}, {"(17)Rock & Roll", "Rock & Roll"}, {"Trance", "Trance"}, {"(200)", "200"},
      {"(RX)", "RX"},   {"(125)", "Dance Hall"},           {"(126)", "126"},     {"(17) ", "Rock"},
  };
  for (const auto& [stored, shown] : cases) EXPECT_EQ(Read(Id3v2Builder().Text("TCON", stored)).genre, shown) << stored;
}

TEST(ReadId3v2Tag, CommentsJoinAndKeepDescriptors) {
  const Id3v2Values two = Read(Id3v2Builder().Comment("eng", "", "first").Comment("eng", "desc", "second"));
  EXPECT_EQ(two.comment, "first + desc" + kMiddleDot + "second");
  EXPECT_EQ(Read(Id3v2Builder().Comment("deu", "x", "text")).comment, "deux" + kMiddleDot + "text");
  EXPECT_EQ(Read(Id3v2Builder().Comment("XXX", "d", "t")).comment, "d" + kMiddleDot + "t");
  EXPECT_EQ(Read(Id3v2Builder().Comment("eng", "", "")).comment, "") << "an empty comment adds nothing";
  EXPECT_EQ(Read(Id3v2Builder().Comment("eng", "", "").Comment("eng", "", "b")).comment, "b");
}

TEST(ReadId3v2Tag, YearZeroIsEmpty) {
  EXPECT_EQ(Read(Id3v2Builder().Text("TYER", "0")).year, "");
  EXPECT_EQ(Read(Id3v2Builder().Text("TYER", " 0 ")).year, "");
}

TEST(ReadId3v2Tag, PaddingIsUnusedSpace) {
  const Id3v2Values v = Read(Id3v2Builder().Text("TIT2", "Song").Padding(300));
  EXPECT_EQ(v.totalLength - v.usedLength, 300);
  EXPECT_EQ(v.totalLength, 10 + 15 + 300);
}

TEST(ReadId3v2Tag, Version22FramesAndSizes) {
  Id3v2Builder tag(2, 0);
  tag.Text("TT2", "Title").Text("TP1", "Artist").Text("TAL", "Album").Text("TYE", "1988").Text("TRK", "4")
      .Text("TCO", "Pop").Comment("eng", "", "c").Text("TP2", "Band");
  const Id3v2Values v = Read(tag);
  EXPECT_EQ(v.version, 20);
  EXPECT_EQ(v.title, "Title");
  EXPECT_EQ(v.artist, "Artist");
  EXPECT_EQ(v.album, "Album");
  EXPECT_EQ(v.year, "1988");
  EXPECT_EQ(v.track, "4");
  EXPECT_EQ(v.genre, "Pop");
  EXPECT_EQ(v.comment, "c");
  EXPECT_EQ(Read(Id3v2Builder(2, 0).Text("TP2", "Band")).artist, "") << "no band fallback in 2.2";
}

TEST(ReadId3v2Tag, SingleByteTextIsWindows1252) {
  EXPECT_EQ(Read(Id3v2Builder().Text("TIT2", "Caf\xE9 \x80")).title, "Café €");
}

// Text encodings beyond single bytes, and UTF-16 byte order.
TEST(ReadId3v2Tag, Utf8AndUtf16TextsDecode) {
  EXPECT_EQ(Read(Id3v2Builder(4, 0).Text("TIT2", "Ärger 東京", 3)).title, "Ärger 東京");
  EXPECT_EQ(Read(Id3v2Builder(4, 0).Utf16("TIT2", u"東京", true, false, 2)).title, "東京") << "UTF-16BE";
  EXPECT_EQ(Read(Id3v2Builder().Utf16("TIT2", u"Ölçü", false)).title, "Ölçü") << "little-endian mark";
  EXPECT_EQ(Read(Id3v2Builder().Utf16("TIT2", u"Ölçü", true)).title, "Ölçü") << "big-endian mark";
  EXPECT_EQ(Read(Id3v2Builder().Utf16("TIT2", u"東京", false, false)).title, "東京")
      << "no mark: the first character stays";
  EXPECT_EQ(Read(Id3v2Builder().Utf16("TIT2", std::u16string(u"Song\0", 5))).title, "Song");
  EXPECT_EQ(Read(Id3v2Builder().Text("TIT2", "x", 7)).title, "") << "unknown encodings are skipped";
}

TEST(ReadId3v2Tag, Utf16CommentsUseTheirOwnMarks) {
  Bytes content{1, 'e', 'n', 'g'};
  for (const Bytes& part : {testing::Utf16Bytes(u"desc", true, true), Bytes{0, 0}, testing::Utf16Bytes(u"text", false, true)}) {
    content.insert(content.end(), part.begin(), part.end());
  }
  EXPECT_EQ(Read(Id3v2Builder().Frame("COMM", content)).comment, "desc" + kMiddleDot + "text");
}

TEST(ReadId3v2Tag, UnsynchronisedVersion23Tag) {
  // A title holding 0xFF 0xE0 must be stored as FF 00 E0 in an
  // unsynchronised tag.
  Id3v2Builder plain;
  plain.Text("TIT2", "a\xFF\xE0z").Text("TPE1", "After");
  Bytes frames = plain.Build();
  frames.erase(frames.begin(), frames.begin() + 10);
  const Bytes unsynchronised = testing::Unsynchronise(frames);
  ASSERT_GT(unsynchronised.size(), frames.size());
  Id3v2Builder tag;
  tag.Flags(0x80).Raw(unsynchronised);
  const Id3v2Values v = Read(tag);
  EXPECT_EQ(v.title, "a\xC3\xBF\xC3\xA0z") << "0xFF 0xE0 in Windows-1252";
  EXPECT_EQ(v.artist, "After") << "frames after the undone bytes are found";
}

TEST(ReadId3v2Tag, Version24FrameUnsynchronisationAndDataLength) {
  Bytes content{0};
  const Bytes text = testing::Unsynchronise({'a', 0xFF, 0xE0, 'z'});
  content = {0, 0, 0, 5, 0};  // data length indicator, then the encoding byte
  content.insert(content.end(), text.begin(), text.end());
  const Id3v2Values v = Read(Id3v2Builder(4, 0).Frame("TIT2", content, 0x03).Text("TPE1", "Next", 3));
  EXPECT_EQ(v.title, "a\xC3\xBF\xC3\xA0z");
  EXPECT_EQ(v.artist, "Next");
}

// The group byte comes before the data length indicator; a compressed or
// encrypted frame's bytes are no text.
TEST(ReadId3v2Tag, Version24GroupedFramesReadRightAndUndecodableOnesGiveNothing) {
  const Bytes grouped{7, 0, 0, 0, 4, 0, 'G', 'r', 'p'};  // group 7, data length 4, encoding 0, "Grp"
  const Id3v2Values v = Read(Id3v2Builder(4, 0).Frame("TIT2", grouped, 0x41).Frame("TPE1", {0, 'x', 'y'}, 0x04));
  EXPECT_EQ(v.title, "Grp");
  EXPECT_EQ(v.artist, "") << "an encrypted frame is not read as text";
}

TEST(ReadId3v2Tag, ExtendedHeadersAreSkipped) {
  // 2.3: a size of 6 that does not count its own four bytes.
  const Id3v2Values v3 = Read(Id3v2Builder(3, 0).Flags(0x40).Raw({0, 0, 0, 6, 0, 0, 0, 0, 0, 0}).Text("TIT2", "Three"));
  EXPECT_EQ(v3.title, "Three");
  // 2.4: a syncsafe size that counts itself.
  const Id3v2Values v4 = Read(Id3v2Builder(4, 0).Flags(0x40).Raw({0, 0, 0, 6, 1, 0}).Text("TIT2", "Four", 3));
  EXPECT_EQ(v4.title, "Four");
}

TEST(ReadId3v2Tag, RecordingTimeGivesTheYearWithoutTyer) {
  EXPECT_EQ(Read(Id3v2Builder(4, 0).Text("TDRC", "2004-05-06", 3)).year, "2004");
  EXPECT_EQ(Read(Id3v2Builder(3, 0).Text("TDRC", "1980")).year, "1980");
  EXPECT_EQ(Read(Id3v2Builder(3, 0).Text("TDRC", "1980").Text("TYER", "1981")).year, "1981");
  EXPECT_EQ(Read(Id3v2Builder(3, 0).Text("TYER", "0").Text("TDRC", "1980")).year, "") << "TYER decides when present";
}

TEST(ReadId3v2Tag, DamagedTagsNeverReadOutside) {
  // A frame whose size runs far past the tag and the file.
  Id3v2Builder huge;
  huge.Raw({'T', 'I', 'T', '2', 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 'S', 'o', 'n', 'g'});
  EXPECT_EQ(Read(huge).title, "Song") << "read as far as the bytes exist";
  // A size that makes the frame total wrap to 0 must not stall the walk.
  Id3v2Builder wrap;
  wrap.Raw({'T', 'I', 'T', '2', 0xFF, 0xFF, 0xFF, 0xF6, 0, 0, 0, 'x'}).Padding(20);
  EXPECT_TRUE(Read(wrap).present);
  // A declared tag size far beyond the file.
  Bytes file = Id3v2Builder().Text("TIT2", "Short").DeclaredSize(0x0FFFFFFF).Build();
  MemoryByteSource source(file);
  const Id3v2Values cut = ReadId3v2Tag(&source);
  EXPECT_EQ(cut.title, "Short");
  EXPECT_EQ(cut.totalLength, 0x0FFFFFFF + 10);
  // No tag, tiny files, unreadable files.
  Bytes none = {'I', 'D', '3'};
  MemoryByteSource small(none);
  EXPECT_FALSE(ReadId3v2Tag(&small).present);
  EXPECT_FALSE(ReadId3v2Tag(static_cast<ByteSource*>(nullptr)).present);
  EXPECT_FALSE(ReadId3v2Tag("/nonexistent.mp3").present);
}

TEST(ListId3v2Frames, RowsNamesLengthsAndKeptBytes) {
  Id3v2Builder tag;
  tag.Text("TIT2", "Song").Comment("eng", "d", "c").Frame("XYZW", {1, 2, 3}).Padding(10);
  Bytes file = tag.Build();
  MemoryByteSource source(file);
  const Id3v2FrameList list = ListId3v2Frames(&source);
  ASSERT_TRUE(list.present);
  ASSERT_EQ(list.rows.size(), 3u);
  EXPECT_EQ(list.rows[0].id, "TIT2");
  EXPECT_EQ(list.rows[0].frameName, "Title/songname/content description");
  EXPECT_EQ(list.rows[0].lengthText, "4");
  EXPECT_EQ(list.rows[0].content, "Song");
  EXPECT_EQ(list.rows[1].frameName, "Comments");
  EXPECT_EQ(list.rows[1].content, "engd" + kMiddleDot + "c");
  EXPECT_EQ(list.rows[2].frameName, "<unknown>");
  ASSERT_EQ(list.keptFrames.size(), 3u);
  EXPECT_EQ(list.keptFrames[0].id, "TIT2");
  EXPECT_EQ(list.keptFrames[0].bytes, (Bytes{0, 0, 0, 5, 0, 0, 0, 'S', 'o', 'n', 'g'}));
  EXPECT_EQ(list.keptFrames[2].bytes, (Bytes{0, 0, 0, 3, 0, 0, 1, 2, 3}));
}

TEST(ListId3v2Frames, FrameRunningPastTheTagShowsAnError) {
  Id3v2Builder tag;
  tag.Text("TIT2", "Song").Raw({'T', 'A', 'L', 'B', 0, 0, 0, 50, 0, 0, 0, 'A', 'l', 'b'});
  Bytes file = tag.Build();
  MemoryByteSource source(file);
  const Id3v2FrameList list = ListId3v2Frames(&source);
  ASSERT_EQ(list.rows.size(), 2u);
  EXPECT_EQ(list.rows[1].lengthText, "(3) Error");
  EXPECT_EQ(list.keptFrames[1].bytes.size(), 10u) << "kept up to the end of the tag";
}

TEST(ListId3v2Frames, Version22NamesAndUtf16Content) {
  Id3v2Builder tag(2, 0);
  tag.Text("TT2", "Title").Utf16("TP1", u"Björk");
  Bytes file = tag.Build();
  MemoryByteSource source(file);
  const Id3v2FrameList list = ListId3v2Frames(&source);
  ASSERT_EQ(list.rows.size(), 2u);
  EXPECT_EQ(list.rows[0].frameName, "Title/Songname/Content description");
  EXPECT_EQ(list.rows[0].lengthText, "5");
  EXPECT_EQ(list.rows[1].content, "Björk") << "UTF-16 text frames are shown decoded";
}

TEST(FrameNameTables, PublishedListsWithTheirFirstAndLastEntries) {
  ASSERT_EQ(Id3v22FrameNames().size(), 63u);
  EXPECT_EQ(Id3v22FrameNames().front(), "BUF Recommended buffer size");
  EXPECT_EQ(Id3v22FrameNames().back(), "WXX User defined URL link frame");
  ASSERT_EQ(Id3v24FrameNames().size(), 84u) << "the 83 declared frames of ID3v2.4.0, then TYER";
  EXPECT_EQ(Id3v24FrameNames().front(), "AENC Audio encryption");
  EXPECT_EQ(Id3v24FrameNames()[82], "WXXX User defined URL link frame");
  EXPECT_EQ(Id3v24FrameNames().back(), "TYER Year");
}

}  // namespace
}  // namespace tonvault::audio
