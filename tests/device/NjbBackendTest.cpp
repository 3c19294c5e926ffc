// The parts of the libnjb backend that need no player.
#include <gtest/gtest.h>

#include "device/njb/NjbErrors.h"
#include "device/njb/SongId.h"

namespace tonvault::device {
namespace {

TEST(NjbSongId, AudioInfoSurvivesTheWayToThePlayerAndBack) {
  AudioInfo info{.album = "Album", .artist = "Artist", .title = "Ünïcode title", .genre = "Pop", .comment = "c",
                 .codec = "WMA", .bitrate = "128", .fileName = "a.wma", .fileSize = 3'000'000, .length = 245,
                 .trackNumber = 7, .year = 2001, .isProtected = true};
  SongIdPointer song = SongIdFromAudioInfo(info);
  song->trid = 42;
  AudioInfo back = AudioInfoFromSongId(*song);
  info.id = 42;
  EXPECT_EQ(back, info);

  // Empty values get no frame; the codec defaults to MP3.
  SongIdPointer bare = SongIdFromAudioInfo(AudioInfo{});
  EXPECT_EQ(bare->nframes, 1);
  EXPECT_EQ(AudioInfoFromSongId(*bare).codec, "MP3");
}

TEST(NjbSongId, NumbersAreReadFromTextFramesAndAnyIntegerWidth) {
  SongIdPointer song(NJB_Songid_New());
  NJB_Songid_Addframe(song.get(), NJB_Songid_Frame_New_String(FR_YEAR, "1987"));
  NJB_Songid_Addframe(song.get(), NJB_Songid_Frame_New_Uint32(FR_TRACK, 12));
  NJB_Songid_Addframe(song.get(), NJB_Songid_Frame_New_String(FR_LENGTH, "not a number"));
  NJB_Songid_Addframe(song.get(), NJB_Songid_Frame_New_String("UNKNOWN", "skipped"));
  const AudioInfo info = AudioInfoFromSongId(*song);
  EXPECT_EQ(info.year, 1987);
  EXPECT_EQ(info.trackNumber, 12);
  EXPECT_EQ(info.length, 0);
}

TEST(NjbErrors, MessagesMapToTheStatusesTheProgramActsOn) {
  EXPECT_EQ(StatusFromNjbMessages({"send_track: device busy"}), kBusy);
  EXPECT_EQ(StatusFromNjbMessages({"usb bulk read timed out"}), kBusy);
  EXPECT_EQ(StatusFromNjbMessages({"njb3_send_file_chunk: disk full"}), kDiskFull);
  EXPECT_EQ(StatusFromNjbMessages({"get_track: transfer denied"}), kCopyProtected);
  EXPECT_EQ(StatusFromNjbMessages({"could not open /x/y.mp3"}), kFileError);
  EXPECT_EQ(StatusFromNjbMessages({"something else", "no such device"}), kRemoved);
  EXPECT_EQ(StatusFromNjbMessages({}), kFailed);
  EXPECT_EQ(StatusFromNjbMessages({"bad status from device"}), kFailed);
}

}  // namespace
}  // namespace tonvault::device
