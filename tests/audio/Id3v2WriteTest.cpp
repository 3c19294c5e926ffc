#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "audio/Id3v2Tag.h"
#include "audio/Id3v2Writer.h"
#include "support/FileContents.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::audio {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

using testing::Contents;

void Write(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t Syncsafe(const std::string& file) {
  return static_cast<std::uint32_t>((file[6] & 0x7F) << 21 | (file[7] & 0x7F) << 14 | (file[8] & 0x7F) << 7 | (file[9] & 0x7F));
}

class Id3v2WriteTest : public ::testing::Test {
 protected:
  // A file with an old tag of `tagLength` bytes (0: none) and 20 frames of audio.
  std::string MakeFile(const std::string& name, std::size_t tagLength, testing::Id3v2Builder tag = testing::Id3v2Builder()) {
    Bytes file;
    if (tagLength > 0) {
      Bytes built = tag.Build();
      built.resize(tagLength, 0);
      const std::size_t size = tagLength - 10;
      built[6] = static_cast<std::uint8_t>(size >> 21 & 0x7F);
      built[7] = static_cast<std::uint8_t>(size >> 14 & 0x7F);
      built[8] = static_cast<std::uint8_t>(size >> 7 & 0x7F);
      built[9] = static_cast<std::uint8_t>(size & 0x7F);
      file = built;
    }
    audio_ = testing::Frames({}, 20);
    testing::Append(file, audio_);
    const std::string path = folder.Path() + "/" + name;
    Write(path, file);
    return path;
  }
  std::string Audio() const { return std::string(audio_.begin(), audio_.end()); }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
  }

  testing::TempFolder folder;
  Bytes audio_;
};

TEST_F(Id3v2WriteTest, TooMuchRoomRewritesWithExtraSpacePadding) {
  const std::string path = MakeFile("a.mp3", 2048);
  Id3v2TagFields fields;
  fields.title = std::string(579, 't');  // a tag of 600 bytes before padding
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const std::string file = Contents(path);
  EXPECT_EQ(Syncsafe(file) + 10, 700u);
  EXPECT_EQ(file.size(), 700 + audio_.size());
  EXPECT_EQ(file.substr(700), Audio());
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file left";
}

TEST_F(Id3v2WriteTest, TagThatFitsIsWrittenInPlacePaddedToTheOldLength) {
  const std::string path = MakeFile("b.mp3", 2048);
  const auto inode = fs::status(path);
  Id3v2TagFields fields;
  fields.title = std::string(1779, 't');  // 1800 bytes: 248 to spare, below 500
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const std::string file = Contents(path);
  EXPECT_EQ(Syncsafe(file) + 10, 2048u);
  EXPECT_EQ(file.substr(2048), Audio());
  EXPECT_EQ(ReadId3v2Tag(path).title, fields.title);
  (void)inode;
}

TEST_F(Id3v2WriteTest, FileWithoutTagGetsTheDefaultPadding) {
  const std::string path = MakeFile("c.mp3", 0);
  Id3v2TagFields fields;
  fields.artist = "ABBA";
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const std::string file = Contents(path);
  EXPECT_EQ(Syncsafe(file) + 10, 10u + 15u + 100u);
  EXPECT_EQ(file.substr(0, 25), std::string("ID3\x03\0\0\0\0\0\x73TPE1\0\0\0\x05\0\0\0ABBA", 25));
  EXPECT_EQ(file.substr(125), Audio());
}

TEST_F(Id3v2WriteTest, RemoveStartsTheFileAtTheFirstSync) {
  const std::string tagged = MakeFile("d.mp3", 300);
  ASSERT_TRUE(WriteId3v2Tag(tagged, {}, {.remove = true}).ok);
  EXPECT_EQ(Contents(tagged), Audio());

  const std::string junk = folder.Path() + "/e.mp3";
  Bytes bytes = testing::Junk(37);
  testing::Append(bytes, audio_);
  Write(junk, bytes);
  ASSERT_TRUE(WriteId3v2Tag(junk, {}, {.remove = true}).ok);
  EXPECT_EQ(Contents(junk), Audio()) << "a file without tag is rewritten from its first sync";
}

TEST_F(Id3v2WriteTest, KeepOldContentCarriesOtherFramesByteForByte) {
  testing::Id3v2Builder old;
  old.Text("TIT2", "Old title").Frame("APIC", {0, 'i', 'm', 'a', 'g', 'e', '/', 'p', 'n', 'g', 0, 3, 0, 1, 2, 3, 255})
      .Frame("TXXX", {0, 'k', 0, 'v'}).Text("TPE2", "Band").Text("TYER", "1999");
  const std::string path = MakeFile("f.mp3", 500, old);
  Id3v2TagFields fields;
  fields.title = "New title";
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {.keepOldContent = true}).ok);
  const Id3v2FrameList list = ListId3v2Frames(path);
  std::vector<std::string> ids;
  for (const auto& row : list.rows) ids.push_back(row.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"TIT2", "APIC", "TXXX", "TPE2"})) << "TYER went: it is one of the seven";
  const auto oldList = ListId3v2Frames(MakeFile("g.mp3", 500, old));
  EXPECT_EQ(list.keptFrames[1].bytes, oldList.keptFrames[1].bytes) << "APIC byte for byte";
  EXPECT_EQ(list.keptFrames[2].bytes, oldList.keptFrames[2].bytes) << "TXXX byte for byte";
  const Id3v2Values values = ReadId3v2Tag(path);
  EXPECT_EQ(values.title, "New title");
  EXPECT_EQ(values.artist, "Band") << "the kept TPE2 still stands in";
  EXPECT_EQ(values.year, "");
}

// A copy with its new tag in one pass holds what a copy and a tag write
// would, and never takes an existing name.
TEST_F(Id3v2WriteTest, ACopyWithItsNewTagEqualsACopyTaggedAfterwards) {
  testing::Id3v2Builder old;
  old.Text("TIT2", "Old title").Frame("APIC", {0, 'i', 'm', 'a', 'g', 'e', '/', 'p', 'n', 'g', 0, 3, 0, 1, 2, 3, 255});
  for (const std::size_t tagLength : {std::size_t{0}, std::size_t{60}, std::size_t{4000}}) {
    const std::string source = MakeFile("source.mp3", tagLength, old);
    fs::copy_file(source, folder.Path() + "/expected.mp3");
    Id3v2TagFields fields;
    fields.title = "New title", fields.artist = "Someone";
    ASSERT_TRUE(WriteId3v2Tag(folder.Path() + "/expected.mp3", fields, {.keepOldContent = true}).ok);
    const std::string copy = folder.Path() + "/copy.mp3";
    ASSERT_TRUE(CopyWithId3v2Tag(source, copy, fields, {.keepOldContent = true}).ok) << tagLength;
    EXPECT_EQ(Contents(copy), Contents(folder.Path() + "/expected.mp3")) << tagLength;
    const Id3v2WriteResult again = CopyWithId3v2Tag(source, copy, fields, {.keepOldContent = true});
    EXPECT_FALSE(again.ok);
    ASSERT_TRUE(again.fileError.has_value());
    EXPECT_EQ(again.fileError->failure, files::Failure::AlreadyExists);
    for (const char* name : {"/source.mp3", "/expected.mp3", "/copy.mp3"}) fs::remove(folder.Path() + name);
  }
  std::ofstream(folder.Path() + "/text.mp3") << std::string(5000, 'x');
  EXPECT_FALSE(CopyWithId3v2Tag(folder.Path() + "/text.mp3", folder.Path() + "/out.mp3", {}, {}).ok);
  EXPECT_FALSE(fs::exists(folder.Path() + "/out.mp3"));
}

TEST_F(Id3v2WriteTest, VersionFourFramesGetPlainSizes) {
  testing::Id3v2Builder old(4, 0);
  old.Frame("PRIV", Bytes(200, 'p'));  // syncsafe size 0x01 0x48 in 2.4
  const std::string path = MakeFile("h.mp3", 400, old);
  ASSERT_TRUE(WriteId3v2Tag(path, {}, {.keepOldContent = true}).ok);
  const std::string file = Contents(path);
  EXPECT_EQ(file.substr(10, 10), std::string("PRIV\0\0\0\xC8\0\0", 10));
}

TEST_F(Id3v2WriteTest, EmptyValuesWriteNoFramesAndTheCommentLayout) {
  const std::string path = MakeFile("i.mp3", 0);
  Id3v2TagFields fields;
  fields.title = "   ";
  fields.comment = "four";
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const std::string file = Contents(path);
  EXPECT_EQ(file.substr(10, 19), std::string("COMM\0\0\0\x09\0\0\0eng\0four", 19));
  EXPECT_EQ(file.find("TIT2"), std::string::npos);
  EXPECT_EQ(ReadId3v2Tag(path).comment, "four");
}

TEST_F(Id3v2WriteTest, NonLatinValuesAreWrittenAsUtf16AndReadBack) {
  const std::string path = MakeFile("j.mp3", 0);
  Id3v2TagFields fields{"東京 Tower", "Björk", "Café €", "Kommentar ä", "1999", "3/12", "Trip-Hop"};
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const Id3v2Values v = ReadId3v2Tag(path);
  EXPECT_EQ(v.version, 30);
  EXPECT_EQ(v.title, "東京 Tower");
  EXPECT_EQ(v.artist, "Björk");
  EXPECT_EQ(v.album, "Café €") << "€ is not ISO-8859-1: UTF-16";
  EXPECT_EQ(v.comment, "Kommentar ä");
  EXPECT_EQ(v.track, "3/12");
  EXPECT_EQ(v.genre, "Trip-Hop");
  EXPECT_NE(Contents(path).find(std::string("TIT2\0\0\0\x13\0\0\x01\xFF\xFE", 13)), std::string::npos);
}

TEST_F(Id3v2WriteTest, TaggedFileReadsTheSameInMutagen) {
  if (std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3-mutagen is not installed";
  }
  const std::string path = MakeFile("k.mp3", 0);
  Id3v2TagFields fields{"東京 Tower", "Björk", "Gold", "nice one", "1974", "3", "Pop"};  // mutagen shows TYER as TDRC
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  const std::string command = "/usr/bin/python3 -c \"import sys; from mutagen.id3 import ID3; t = ID3(sys.argv[1]); "
                              "print('|'.join(str(t[k].text[0]) for k in ('TIT2','TPE1','TALB','TDRC','TRCK','TCON')) + '|' + "
                              "t.getall('COMM')[0].text[0])\" " + path;
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[512] = {};
  ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
  ::pclose(pipe);
  EXPECT_EQ(std::string(line), "東京 Tower|Björk|Gold|1974|3|Pop|nice one\n");
}

TEST_F(Id3v2WriteTest, FailureDuringTheRewriteLeavesTheOriginalWhole) {
  const std::string path = MakeFile("l.mp3", 0);
  const std::string before = Contents(path);
  Id3v2TagFields fields;
  fields.title = "Title";
  for (std::size_t failAt : {0u, 5u, 120u, 500u, 4000u}) {
    const files::WriteFault fault{failAt};
    const Id3v2WriteResult result = WriteId3v2Tag(path, fields, {.fault = &fault});
    EXPECT_FALSE(result.ok) << failAt;
    EXPECT_NE(result.message.find("Disk full or write protected ?"), std::string::npos);
    EXPECT_EQ(Contents(path), before) << "fault after " << failAt << " bytes";
    EXPECT_EQ(FilesInFolder(), 1u) << "the temporary file is gone";
  }
}

TEST_F(Id3v2WriteTest, AFileNamedTempMp3IsWrittenLikeAnyOther) {
  const std::string path = MakeFile("Temp.mp3", 0);
  Id3v2TagFields fields;
  fields.album = "Album";
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  EXPECT_EQ(ReadId3v2Tag(path).album, "Album");
  EXPECT_EQ(Contents(path).substr(Syncsafe(Contents(path)) + 10), Audio());
}

TEST_F(Id3v2WriteTest, KeepsTheDateInPlaceAndAfterARewrite) {
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(5000);
  for (std::size_t tag : {0u, 400u}) {
    const std::string path = MakeFile(tag == 0 ? "m.mp3" : "n.mp3", tag);
    fs::last_write_time(path, old);
    Id3v2TagFields fields;
    fields.title = "x";
    ASSERT_TRUE(WriteId3v2Tag(path, fields, {.keepFileDate = true}).ok);
    EXPECT_EQ(fs::last_write_time(path), old) << (tag == 0 ? "rewrite" : "in place");
  }
}

TEST_F(Id3v2WriteTest, RewriteKeepsTheFilesMode) {
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0664)}) {
    const std::string path = MakeFile("mode.mp3", 0);  // no old tag: always rewritten
    fs::permissions(path, mode);
    Id3v2TagFields fields;
    fields.title = "Title";
    ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
    ASSERT_EQ(ReadId3v2Tag(path).title, "Title");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, mode) << "mode " << std::oct << static_cast<int>(mode);
    fs::remove(path);
  }
}

TEST_F(Id3v2WriteTest, RefusalsSayWhatIsWrong) {
  const std::string path = folder.Path() + "/nosync.mp3";
  Write(path, testing::Junk(1000));
  EXPECT_EQ(WriteId3v2Tag(path, {}, {}).message,
            "Error reading \"" + path + "\" !\n\r\rBegin of MP3-frames not found");
  EXPECT_EQ(WriteId3v2Tag(folder.Path() + "/missing.mp3", {}, {}).message,
            "Error reading \"" + folder.Path() + "/missing.mp3\" !");
  const std::string big = MakeFile("big.mp3", 0);
  Id3v2TagFields fields;
  fields.comment = std::string(70000, 'c');
  EXPECT_TRUE(WriteId3v2Tag(big, fields, {}).ok) << "a tag above 64 KB is no reason to refuse";
  EXPECT_EQ(ReadId3v2Tag(big).comment, fields.comment);
}

TEST_F(Id3v2WriteTest, KeptCoverPictureAbove64KbIsCarried) {
  Bytes picture = {0, 'i', 'm', 'a', 'g', 'e', '/', 'j', 'p', 'e', 'g', 0, 3, 0};
  for (std::size_t i = 0; i < 150000; ++i) picture.push_back(static_cast<std::uint8_t>(i * 7));
  testing::Id3v2Builder old;
  old.Text("TIT2", "Old").Frame("APIC", picture);
  const std::string path = MakeFile("cover.mp3", old.Build().size() + 100, old);
  Id3v2TagFields fields;
  fields.title = "New";
  const Id3v2WriteResult result = WriteId3v2Tag(path, fields, {.keepOldContent = true});
  ASSERT_TRUE(result.ok) << result.message;
  const Id3v2FrameList list = ListId3v2Frames(path);
  ASSERT_EQ(list.keptFrames.size(), 2u);
  EXPECT_EQ(list.keptFrames[1].id, "APIC");
  EXPECT_EQ(Bytes(list.keptFrames[1].bytes.begin() + 6, list.keptFrames[1].bytes.end()), picture);
  EXPECT_EQ(ReadId3v2Tag(path).title, "New");
  EXPECT_EQ(Contents(path).substr(Contents(path).size() - audio_.size()), Audio());
}

TEST_F(Id3v2WriteTest, KeptVersionFourFramesAreDecodedAndLoseTheirFormatFlags) {
  // An APIC stored unsynchronised with a data length indicator, a PRIV in a
  // group with the "discard on tag alteration" status, and an encrypted frame.
  Bytes picture = {0, 'i', 'm', 'g', 0, 3, 0, 0xFF, 0xE0, 0xFF, 0x00, 0xFF, 0xFB, 0x90};
  Bytes stored = {0, 0, 0, static_cast<std::uint8_t>(picture.size())};
  const Bytes unsynchronised = testing::Unsynchronise(picture);
  stored.insert(stored.end(), unsynchronised.begin(), unsynchronised.end());
  ASSERT_GT(unsynchronised.size(), picture.size());
  Bytes grouped = {'P', 'R', 'I', 'V', 0, 0, 0, 5, 0x40, 0x40, 0x81, 'o', 'w', 'n', 0};
  testing::Id3v2Builder old(4, 0);
  old.Frame("APIC", stored, 0x03).Raw(grouped).Frame("XSEC", {1, 2, 3}, 0x04).Text("TIT2", "Old");
  const std::string path = MakeFile("v24.mp3", 400, old);
  ASSERT_TRUE(WriteId3v2Tag(path, {}, {.keepOldContent = true}).ok);
  const std::string file = Contents(path);
  Bytes expectedApic = {'A', 'P', 'I', 'C', 0, 0, 0, static_cast<std::uint8_t>(picture.size()), 0, 0};
  expectedApic.insert(expectedApic.end(), picture.begin(), picture.end());
  EXPECT_EQ(file.substr(10, expectedApic.size()), std::string(expectedApic.begin(), expectedApic.end()));
  EXPECT_EQ(file.substr(10 + expectedApic.size(), 14), std::string("PRIV\0\0\0\x04\x80\0own\0", 14))
      << "group byte dropped, status flag at its 2.3 place";
  EXPECT_EQ(file.find("XSEC"), std::string::npos) << "an encrypted frame cannot be carried decoded";
  const Id3v2FrameList list = ListId3v2Frames(path);
  EXPECT_EQ(list.version, 30);
  ASSERT_EQ(list.rows.size(), 2u);
}

TEST_F(Id3v2WriteTest, VersionTwoTwoFramesAreNotCarried) {
  testing::Id3v2Builder old(2, 0);
  old.Text("TT2", "Old title").Frame("PIC", {0, 'J', 'P', 'G', 3, 0, 1, 2, 3}).Text("TP2", "Band");
  const std::string path = MakeFile("v22.mp3", 200, old);
  ASSERT_EQ(ListId3v2Frames(path).keptFrames.size(), 3u);
  Id3v2TagFields fields;
  fields.title = "New title";
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {.keepOldContent = true}).ok);
  const Id3v2FrameList list = ListId3v2Frames(path);
  EXPECT_EQ(list.version, 30);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].id, "TIT2");
}

TEST_F(Id3v2WriteTest, ReadOnlyFolderGivesTheErrorAndChangesNothing) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = MakeFile("o.mp3", 0);
  const std::string before = Contents(path);
  fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  Id3v2TagFields fields;
  fields.title = "x";
  const Id3v2WriteResult result = WriteId3v2Tag(path, fields, {});
  fs::permissions(folder.Path(), fs::perms::owner_all);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(Contents(path), before);
}

// A read-only file in a writable folder: both the in-place path and the
// rewrite must refuse it with a message, also for the superuser.
TEST_F(Id3v2WriteTest, AReadOnlyFileIsRefusedWithAMessageOnBothPaths) {
  Id3v2TagFields fields;
  fields.title = "x";
  const std::string path = MakeFile("ro.mp3", 0);
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);  // now a tag with room for the same title
  const std::string before = Contents(path);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const std::string& title : {std::string("y"), std::string(500, 'z')}) {  // in place, then a rewrite
    fields.title = title;
    const Id3v2WriteResult result = WriteId3v2Tag(path, fields, {});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot write \"" + path + "\" !\n\r\rWrite protected ?");
    EXPECT_EQ(Contents(path), before);
  }
}

// What makes a file the same file to its user stays after a rewrite.
TEST_F(Id3v2WriteTest, ARewriteKeepsModeHardLinksAndSymbolicLinks) {
  Id3v2TagFields fields;
  fields.title = std::string(300, 't');  // never fits the old tag: a rewrite
  const std::string path = MakeFile("m.mp3", 0);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  const std::string second = folder.Path() + "/second-name.mp3";
  fs::create_hard_link(path, second);
  fields.title = std::string(900, 'u');
  ASSERT_TRUE(WriteId3v2Tag(path, fields, {}).ok);
  EXPECT_EQ(fs::hard_link_count(path), 2u);
  EXPECT_EQ(Contents(second), Contents(path)) << "both names see the new tag";

  const std::string link = folder.Path() + "/link.mp3";
  fs::create_symlink("m.mp3", link);
  fields.title = std::string(2000, 'v');
  ASSERT_TRUE(WriteId3v2Tag(link, fields, {}).ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadId3v2Tag(path).title, fields.title) << "the link's target changed";
  EXPECT_EQ(Contents(folder.Path() + "/second-name.mp3"), Contents(path));
}

}  // namespace
}  // namespace tonvault::audio
