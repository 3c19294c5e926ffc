#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "audio/Id3v1.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The last 128 bytes of a file: "TAG" and the fields as given.
Bytes Tag(std::string_view title, std::string_view comment30, std::uint8_t genre = 17) {
  Bytes tag(128, 0);
  std::memcpy(tag.data(), "TAG", 3);
  std::memcpy(&tag[3], title.data(), std::min<std::size_t>(title.size(), 30));
  std::memcpy(&tag[97], comment30.data(), std::min<std::size_t>(comment30.size(), 30));
  tag[127] = genre;
  return tag;
}

Id3v1Tag Read(Bytes file) {
  MemoryByteSource source(file);
  return ReadId3v1Tag(&source);
}

TEST(ReadId3v1Tag, VersionOneOneNeedsZeroThenTrack) {
  Bytes tag = Tag("Song", std::string(30, 'c'));
  tag[125] = 0, tag[126] = 5;
  Id3v1Tag read = Read(tag);
  EXPECT_EQ(read.version, 11);
  EXPECT_EQ(read.track, 5);
  EXPECT_EQ(read.comment, std::string(28, 'c'));

  tag[126] = 0;
  read = Read(tag);
  EXPECT_EQ(read.version, 10) << "125 and 126 both zero";
  EXPECT_EQ(read.track, -1);

  tag[125] = 'x', tag[126] = 7;
  read = Read(tag);
  EXPECT_EQ(read.version, 10);
  EXPECT_EQ(read.comment, std::string(28, 'c') + "x") << "30-character comment; the control byte is trimmed";
}

TEST(ReadId3v1Tag, BlankAndNulPaddingReadTheSame) {
  Bytes blanks = Tag("Song                          ", "");
  Bytes nuls = Tag("Song", "");
  EXPECT_EQ(Read(blanks).title, "Song");
  EXPECT_EQ(Read(nuls).title, "Song");
  EXPECT_EQ(Read(Tag("  Song", "")).title, "Song");
}

TEST(ReadId3v1Tag, YearZeroIsEmptyAfterTrimming) {
  for (std::string_view year : {"0", "   0", "0   "}) {
    Bytes tag = Tag("a", "");
    std::memcpy(&tag[93], year.data(), year.size());
    EXPECT_EQ(Read(tag).year, "") << year;
  }
  Bytes tag = Tag("a", "");
  std::memcpy(&tag[93], "1999", 4);
  EXPECT_EQ(Read(tag).year, "1999");
}

TEST(ReadId3v1Tag, NoTagShortFileAndWindows1252Text) {
  EXPECT_FALSE(Read(Bytes(500, 'x')).present);
  const Id3v1Tag none = Read(Bytes(10, 'T'));
  EXPECT_FALSE(none.present);
  EXPECT_EQ(none.genre, 255);
  EXPECT_EQ(none.track, -1);
  EXPECT_EQ(none.version, 0);
  EXPECT_EQ(none.fileSize, 10);
  EXPECT_FALSE(ReadId3v1Tag(static_cast<ByteSource*>(nullptr)).present);

  Bytes file(1000, 0);
  const Bytes tag = Tag("Caf\xE9 \x80", "", 200);
  std::copy(tag.begin(), tag.end(), file.end() - 128);
  const Id3v1Tag read = Read(file);
  EXPECT_TRUE(read.present);
  EXPECT_EQ(read.title, "Café €");
  EXPECT_EQ(read.genre, 200);
  EXPECT_EQ(read.fileSize, 1000);
}

class Id3v1WriteTest : public ::testing::Test {
 protected:
  // An MPEG stream of `size` bytes (the tag writers refuse anything else).
  std::string MakeFile(std::size_t size) {
    const std::string path = folder.Path() + "/song.mp3";
    std::ofstream(path, std::ios::binary) << Made(size);
    return path;
  }
  static std::string Made(std::size_t size) {
    const testing::Bytes frames = testing::Frames({}, static_cast<int>(size / 417 + 1));
    return std::string(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(size));
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  testing::TempFolder folder;
};

TEST_F(Id3v1WriteTest, AppendThenOverwriteKeepsTheLength) {
  const std::string path = MakeFile(1000);
  Id3v1Fields fields;
  fields.title = "Waterloo";
  fields.artist = "ABBA";
  fields.genre = 13;
  fields.track = 3;
  ASSERT_TRUE(WriteId3v1Tag(path, fields, false, false).ok);
  EXPECT_EQ(std::filesystem::file_size(path), 1128u);
  fields.title = "Mamma Mia";
  ASSERT_TRUE(WriteId3v1Tag(path, fields, false, false).ok);
  EXPECT_EQ(std::filesystem::file_size(path), 1128u);
  const Id3v1Tag read = ReadId3v1Tag(path);
  EXPECT_EQ(read.title, "Mamma Mia");
  EXPECT_EQ(read.artist, "ABBA");
  EXPECT_EQ(read.version, 11);
  EXPECT_EQ(read.track, 3);
  EXPECT_EQ(read.genre, 13);
  EXPECT_EQ(Contents(path).substr(0, 1000), Made(1000)) << "the audio is untouched";
}

TEST_F(Id3v1WriteTest, FieldLimitsTrackAndGenreRules) {
  Id3v1Fields fields;
  fields.title = std::string(35, 'T');
  fields.comment = std::string(30, 'C');
  fields.year = "199999";
  fields.track = 200;
  fields.genre = 126;
  const std::string tag = EncodeId3v1Tag(fields);
  ASSERT_EQ(tag.size(), 128u);
  EXPECT_EQ(tag.substr(3, 30), std::string(30, 'T'));
  EXPECT_EQ(tag.substr(93, 4), "1999");
  EXPECT_EQ(tag.substr(97, 28), std::string(28, 'C'));
  EXPECT_EQ(tag[125], '\0');
  EXPECT_EQ(tag[126], '\0') << "track 200 stores 0";
  EXPECT_EQ(static_cast<std::uint8_t>(tag[127]), 255) << "genre 126 stores 255";
  fields.genre = -1;
  fields.track = 127;
  EXPECT_EQ(static_cast<std::uint8_t>(EncodeId3v1Tag(fields)[127]), 255);
  EXPECT_EQ(EncodeId3v1Tag(fields)[126], 127);
}

TEST_F(Id3v1WriteTest, NonLatinTextSurvivesAsFarAsWindows1252Allows) {
  const std::string path = MakeFile(300);
  Id3v1Fields fields;
  fields.title = "Ärger über Öl € 東京";
  fields.artist = std::string(29, 'a') + "é";  // 30 characters, 31 UTF-8 bytes
  ASSERT_TRUE(WriteId3v1Tag(path, fields, false, false).ok);
  const Id3v1Tag read = ReadId3v1Tag(path);
  EXPECT_EQ(read.title, "Ärger über Öl € ??");
  EXPECT_EQ(read.artist, fields.artist) << "the width counts converted bytes";
}

TEST_F(Id3v1WriteTest, RemoveCutsTheTagOrChangesNothing) {
  const std::string path = MakeFile(500);
  ASSERT_TRUE(WriteId3v1Tag(path, {}, true, false).ok);
  EXPECT_EQ(Contents(path), Made(500)) << "no tag: unchanged";
  ASSERT_TRUE(WriteId3v1Tag(path, {}, false, false).ok);
  EXPECT_EQ(std::filesystem::file_size(path), 628u);
  ASSERT_TRUE(WriteId3v1Tag(path, {}, true, false).ok);
  EXPECT_EQ(Contents(path), Made(500));
  EXPECT_FALSE(ReadId3v1Tag(path).present);
}

TEST_F(Id3v1WriteTest, KeepsTheModificationDateWhenAsked) {
  const std::string path = MakeFile(400);
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(path, old);
  ASSERT_TRUE(WriteId3v1Tag(path, {}, false, true).ok);
  EXPECT_EQ(std::filesystem::last_write_time(path), old);
  ASSERT_TRUE(WriteId3v1Tag(path, {}, false, false).ok);
  EXPECT_GT(std::filesystem::last_write_time(path), old);
}

TEST_F(Id3v1WriteTest, UnwritableFileFails) {
  EXPECT_FALSE(WriteId3v1Tag(folder.Path() + "/missing.mp3", {}, false, false).ok);
  EXPECT_EQ(CannotWriteFileText("/m/a.mp3"), "Cannot write file\n\r/m/a.mp3  !\n\r\r(Write protected ?)");
}

}  // namespace
}  // namespace tonvault::audio
