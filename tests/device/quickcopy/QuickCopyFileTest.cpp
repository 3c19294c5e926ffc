// Reading files for the Quick Copy page, its length formulas, the data-file
// filter and the "Song details" texts.
#include <gtest/gtest.h>

#include "audio/Id3v1.h"
#include "catalogue/AudioHost.h"
#include "device/TransferTestSupport.h"
#include "device/quickcopy/QuickCopyFile.h"
#include "device/quickcopy/QuickCopyRows.h"
#include "device/transfer/TransferMetadata.h"

namespace tonvault::device {
namespace {

TEST(QuickCopyFile, LengthFormulasDifferFromTheTransfersAndRoundHalvesToEven) {
  EXPECT_EQ(QuickMpegSeconds(20'000, 16), 10);
  EXPECT_EQ(QuickMpegSeconds(5'000, 16), 2);  // 2.5 → 2
  EXPECT_EQ(QuickMpegSeconds(7'000, 16), 4);  // 3.5 → 4
  EXPECT_EQ(QuickMpegSeconds(7'000, 0), 0);
  // 127.6 kbit/s: the page divides by the rounded 128, the transfer by the
  // exact bit rate.
  EXPECT_EQ(QuickMpegSeconds(1'000'000, 128), 62);  // 62.5 → 62
  EXPECT_EQ(MpegSeconds(1'000'000, 127'600), 63);
  // WMA: kbit/s + 0.82 and nothing subtracted.
  EXPECT_EQ(QuickWmaSeconds(1'000'000, 128), 62);
  EXPECT_EQ(WmaSeconds(1'000'000, 128), 60);
  EXPECT_EQ(QuickWmaSeconds(1'000, 0), 0);
  EXPECT_EQ(QuickWavSeconds(1'411 * 128 * 10, 1'411), 10);
  EXPECT_EQ(QuickWavSeconds(128 * 5, 2), 2);  // 2.5 → 2
  EXPECT_EQ(QuickWavSeconds(1'000, 0), 0);
}

TEST(QuickCopyFile, DataFilesAreChosenByTheExtensionAsWritten) {
  EXPECT_TRUE(IsDataFileName("notes.txt"));
  EXPECT_TRUE(IsDataFileName("Song.MP3"));  // letter case counts
  EXPECT_TRUE(IsDataFileName("Mix.Wav"));
  EXPECT_TRUE(IsDataFileName("song.mp3.bak"));
  EXPECT_TRUE(IsDataFileName("folder.mp3/readme"));
  EXPECT_TRUE(IsDataFileName("README"));
  EXPECT_FALSE(IsDataFileName("song.mp3"));
  EXPECT_FALSE(IsDataFileName("song.mp2"));
  EXPECT_FALSE(IsDataFileName("a.wma"));
  EXPECT_FALSE(IsDataFileName("a.wav"));
  EXPECT_FALSE(IsDataFileName("a.mp3x"));
  EXPECT_TRUE(SentAsAudio("Song.MP3"));
  EXPECT_FALSE(SentAsAudio("notes.txt"));
}

class QuickCopyFileTest : public test::TransferFixture {
 protected:
  bool Read(const std::string& path, QuickCopyFile& file) {
    catalogue::FrontendScanHost host(app_);
    return ReadQuickCopyFile(path, 0, false, app_.options, host, file);
  }
  std::string TaggedMp3(const std::string& name) {
    const std::string path = test::WriteMp3(Pc() + name, 200);
    audio::Id3v1Fields fields;
    fields.title = "Blue", fields.artist = "Band", fields.album = "Sea", fields.comment = "live";
    fields.year = "1999", fields.genre = 17;  // "Rock"
    test::AppendBytes(path, audio::EncodeId3v1Tag(fields));
    return path;
  }
};

TEST_F(QuickCopyFileTest, Mp3TakesTagsScanAndItsOwnLength) {
  app_.options.mp3.scanForVbr = true;
  QuickCopyFile file;
  ASSERT_TRUE(Read(TaggedMp3("Blue.MP3"), file));
  EXPECT_EQ(file.codec, "MP3");
  EXPECT_EQ(file.title, "Blue");
  EXPECT_EQ(file.artist, "Band");
  EXPECT_EQ(file.album, "Sea");
  EXPECT_EQ(file.year, "1999");
  EXPECT_EQ(file.track, "");  // ID3v1.0 has none
  EXPECT_EQ(file.genre, "Rock");
  EXPECT_TRUE(file.hasId3v1);
  EXPECT_FALSE(file.hasId3v2);
  EXPECT_EQ(file.kbps, 128);
  EXPECT_EQ(file.bitrateText, "128 C");
  EXPECT_EQ(file.sampleRate, 44100);
  EXPECT_EQ(file.length, 5);  // 200 frames of 417 bytes at 128 kbit/s
  EXPECT_EQ(file.size, 200 * 417 + 128);

  app_.options.mp3.scanForVbr = false;
  app_.options.import.readId3v1 = false;
  ASSERT_TRUE(Read(Pc() + "Blue.MP3", file));
  EXPECT_EQ(file.bitrateText, "128");
  EXPECT_EQ(file.title, "");
  EXPECT_TRUE(file.hasId3v1);  // present, only not read
}

TEST_F(QuickCopyFileTest, DisabledTypesEmptyAndMissingFilesFail) {
  QuickCopyFile file;
  app_.options.import.wma = false;
  std::ofstream(Pc() + "a.wma") << "not really";
  EXPECT_FALSE(Read(Pc() + "a.wma", file));
  std::ofstream(Pc() + "empty.mp3");
  EXPECT_FALSE(Read(Pc() + "empty.mp3", file));
  EXPECT_FALSE(Read(Pc() + "missing.mp3", file));
  std::ofstream(Pc() + "notes.txt") << "text";
  EXPECT_FALSE(Read(Pc() + "notes.txt", file));
  EXPECT_EQ(file.size, 4);
}

TEST_F(QuickCopyFileTest, SongDetailsOfAFileOnThePc) {
  QuickCopyFile file;
  ASSERT_TRUE(Read(TaggedMp3("Blue.mp3"), file));
  file.mode = "Joint Stereo";
  EXPECT_EQ(SongDetailsText(file),
            "Song Info:\n\r\rTitle:       \tBlue\n\rArtist:      \tBand\n\rAlbum:       \tSea\n\r"
            "Comment:     \tlive\n\rGenre:       \tRock\n\rYear:        \t1999\n\rTrack:       \t\n\r"
            "Codec:       \tMP3\n\rMode:        \tJoint Stereo\n\rFrequency:   \t44100 Hz\n\r"
            "Bitrate:     \t" + file.bitrateText + "  kbit/sec\n\rLength:      \t00:00:05");
}

TEST(QuickCopySongDetails, PlayerTrackLeavesZeroYearAndTrackEmpty) {
  DeviceTrack track;
  track.title = "T", track.artist = "A", track.album = "B", track.comment = "", track.genre = "Pop";
  track.year = 2001, track.trackNumber = 0, track.codec = "WMA", track.bitrate = "64", track.length = 75;
  EXPECT_EQ(PlayerSongDetailsText(track),
            "Song Info:\n\r\rTitle:       \tT\n\rArtist:      \tA\n\rAlbum:       \tB\n\r"
            "Comment:     \t\n\rGenre:       \tPop\n\rYear:        \t2001\n\rTrack:       \t\n\r"
            "Codec:       \tWMA\n\rBitrate:     \t64  kbit/sec\n\rLength:      \t00:01:15");
  track.year = 0, track.trackNumber = 7;
  const std::string text = PlayerSongDetailsText(track);
  EXPECT_NE(text.find("Year:        \t\n\rTrack:       \t7\n\r"), std::string::npos);
}

}  // namespace
}  // namespace tonvault::device
