// What every player backend must do, stated once and run over each.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "audio/Id3v2Tag.h"
#include "device/DeviceTestSupport.h"
#include "device/FatCard.h"
#include "device/folder/FolderPlayer.h"
#include "device/simulated/SimulatedPlayer.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

using test::RecordingSink;
using test::WriteMp3;

struct FolderBackend {
  static constexpr bool kOnFat = false;
  static constexpr bool kSimulated = false;
  static std::unique_ptr<DeviceLibrary> Make(const std::string& folder) {
    return std::make_unique<FolderPlayer>(folder);
  }
};

// The folder player on a FAT card mounted through FUSE.
struct FatFolderBackend : FolderBackend {
  static constexpr bool kOnFat = true;
};

struct SimulatedBackend {
  static constexpr bool kOnFat = false;
  static constexpr bool kSimulated = true;
  static std::unique_ptr<DeviceLibrary> Make(const std::string& folder) {
    return std::make_unique<SimulatedPlayer>(folder, std::vector<int>{kKindJukebox});
  }
};

template <class Backend>
class PlayerContract : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(player_);
    std::filesystem::create_directories(computer_);
    if (Backend::kOnFat) {
      fat_ = std::make_unique<test::FatCard>(player_);
      if (!fat_->Mounted()) GTEST_SKIP() << "no FAT card: " << fat_->Why();
    }
    Reopen();
  }
  void TearDown() override { library_.reset(); }
  void Reopen() {
    library_ = Backend::Make(player_);
    ASSERT_EQ(library_->CountDevices(kKindJukebox), 1);
    ASSERT_EQ(Device().OpenDevice(kKindJukebox), kOk);
  }
  device::Device& Device() { return library_->GetDevice(); }
  std::string OnComputer(const std::string& name) { return computer_ + "/" + name; }
  // The folder the player's files are in.
  std::string Root() const { return Backend::kSimulated ? player_ + "/jukebox-internal" : player_; }

  // Sends a track and pumps until its completion; returns its ID.
  int Send(const std::string& source, AudioInfo info) {
    int id = 0;
    EXPECT_EQ(Device().SendTrack(source, info, id), kOk);
    library_->Events().Deliver(sink_);
    EXPECT_EQ(sink_.Last(), "sent 0 id " + std::to_string(id));
    return id;
  }
  std::vector<int> TrackIds() {
    std::vector<int> ids;
    int id = 0;
    for (Status s = Device().FindFirstTrack(id); s == kOk; s = Device().FindNextTrack(id)) ids.push_back(id);
    return ids;
  }
  static AudioInfo Info(const std::string& title) {
    AudioInfo info;
    info.title = title, info.artist = "The Band", info.album = "First", info.genre = "Rock";
    info.year = 1999, info.trackNumber = 3, info.length = 12, info.codec = "MP3", info.fileName = "song.mp3";
    return info;
  }

  testing::TempFolder temp_;
  std::string player_ = temp_.Path() + "/player";
  std::unique_ptr<test::FatCard> fat_;  // declared after temp_: unmounted before it goes
  std::string computer_ = temp_.Path() + "/computer";
  std::unique_ptr<DeviceLibrary> library_;
  RecordingSink sink_;
};

using Backends = ::testing::Types<FolderBackend, FatFolderBackend, SimulatedBackend>;
TYPED_TEST_SUITE(PlayerContract, Backends);

TYPED_TEST(PlayerContract, OpensAsAJukeboxWithEmptyContentAndRealStorage) {
  int kind = 0;
  EXPECT_EQ(this->Device().GetDeviceKind(kind), kOk);
  EXPECT_EQ(kind, kKindJukebox);
  int id = 0;
  EXPECT_EQ(this->Device().FindFirstTrack(id), kEndOfList);
  EXPECT_EQ(this->Device().FindFirstDataFile(id), kEndOfList);
  std::int64_t total = 0, free = 0;
  EXPECT_EQ(this->Device().GetTotalSpace(total), kOk);
  EXPECT_EQ(this->Device().GetFreeSpace(free), kOk);
  EXPECT_GT(total, 0);
  EXPECT_LE(free, total);
  int connected = 0;
  EXPECT_EQ(this->Device().GetConnected(connected), kOk);
  EXPECT_EQ(connected, 1);
}

TYPED_TEST(PlayerContract, SentTrackIsListedTaggedAndReceivedWithoutOverwriting) {
  const int id = this->Send(WriteMp3(this->OnComputer("a.mp3")), this->Info("Hello\tWorld"));
  EXPECT_EQ(this->TrackIds(), std::vector<int>{id});
  AudioInfo info;
  ASSERT_EQ(this->Device().GetTrackInfo(id, info), kOk);
  EXPECT_EQ(info.title, "Hello\tWorld");
  EXPECT_EQ(info.year, 1999);
  EXPECT_EQ(info.id, id);
  EXPECT_GT(info.fileSize, 0);

  const std::string received = this->OnComputer("back.mp3");
  ASSERT_EQ(this->Device().ReceiveTrack(id, received), kOk);
  this->library_->Events().Deliver(this->sink_);
  EXPECT_EQ(this->sink_.Last(), "received 0");
  EXPECT_EQ(audio::ReadId3v2Tag(received).artist, "The Band");

  // An existing file is never replaced, and no half copy is left beside it.
  std::ofstream(this->OnComputer("mine.mp3")) << "my own";
  EXPECT_NE(this->Device().ReceiveTrack(id, this->OnComputer("mine.mp3")), kOk);
  EXPECT_EQ(testing::Contents(this->OnComputer("mine.mp3")), "my own");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(this->computer_), {}), 3);
}

TYPED_TEST(PlayerContract, IdsAndInfoSurviveReopeningAndDeletedTracksAreGone) {
  const int first = this->Send(WriteMp3(this->OnComputer("a.mp3")), this->Info("One"));
  const int second = this->Send(this->OnComputer("a.mp3"), this->Info("One"));  // same names: both kept
  EXPECT_NE(first, second);
  AudioInfo changed = this->Info("Changed");
  changed.comment = "line\nbreak";
  ASSERT_EQ(this->Device().SetTrackInfo(second, changed), kOk);
  ASSERT_EQ(this->Device().DeleteTrack(first), kOk);

  this->Reopen();
  EXPECT_EQ(this->TrackIds(), std::vector<int>{second});
  AudioInfo info;
  EXPECT_EQ(this->Device().GetTrackInfo(first, info), kNotFound);
  ASSERT_EQ(this->Device().GetTrackInfo(second, info), kOk);
  EXPECT_EQ(info.title, "Changed");
  EXPECT_EQ(info.comment, "line\nbreak");
  const int third = this->Send(this->OnComputer("a.mp3"), this->Info("Three"));
  EXPECT_GT(third, second);  // a deleted track's ID is not given again
}

TYPED_TEST(PlayerContract, DataFilesAreSentListedReceivedAndDeleted) {
  std::ofstream(this->OnComputer("notes.txt")) << "some notes";
  int id = 0;
  ASSERT_EQ(this->Device().SendDataFile(this->OnComputer("notes.txt"), {"notes.txt", 0, 0}, id), kOk);
  int found = 0;
  ASSERT_EQ(this->Device().FindFirstDataFile(found), kOk);
  EXPECT_EQ(found, id);
  DataInfo info;
  ASSERT_EQ(this->Device().GetDataFileInfo(id, info), kOk);
  EXPECT_EQ(info.fileSize, 10);
  ASSERT_EQ(this->Device().ReceiveDataFile(id, this->OnComputer("copy.txt")), kOk);
  EXPECT_EQ(testing::Contents(this->OnComputer("copy.txt")), "some notes");
  ASSERT_EQ(this->Device().DeleteDataFile(id), kOk);
  EXPECT_EQ(this->Device().FindFirstDataFile(found), kEndOfList);
  EXPECT_EQ(this->Device().DeleteDataFile(id), kNotFound);
}

TYPED_TEST(PlayerContract, RefusalsAreReportedNeverPretendedSuccess) {
  int id = 0;
  // A source that is not there starts no transfer and raises no event.
  EXPECT_NE(this->Device().SendTrack(this->OnComputer("missing.mp3"), this->Info("x"), id), kOk);
  EXPECT_EQ(this->library_->Events().Deliver(this->sink_), 0);
  EXPECT_EQ(this->TrackIds(), std::vector<int>{});
  // A Jukebox has one memory and is not formatted from here.
  EXPECT_EQ(this->Device().SetActiveMemory(1), kNotSupported);
  EXPECT_EQ(this->Device().FormatMemory(), kNotSupported);
  // A protected track is not copied off the player.
  AudioInfo locked = this->Info("Locked");
  locked.isProtected = true;
  const int protectedId = this->Send(WriteMp3(this->OnComputer("p.mp3")), locked);
  EXPECT_EQ(this->Device().ReceiveTrack(protectedId, this->OnComputer("p-back.mp3")), kCopyProtected);
  // After closing, nothing works until the device is opened again.
  EXPECT_EQ(this->Device().CloseDevice(), kOk);
  EXPECT_EQ(this->Device().FindFirstTrack(id), kNotOpen);
  EXPECT_EQ(this->Device().SendTrack(this->OnComputer("a.mp3"), this->Info("x"), id), kNotOpen);
}

// What a card's file system would refuse or confuse never reaches it:
// names that differ only in case stay two files, characters FAT refuses
// are replaced alike on every card.
TYPED_TEST(PlayerContract, NamesDifferingInCaseOrFatRefusedCharactersKeepEveryFile) {
  AudioInfo upper = this->Info("Upper"), lower = this->Info("Lower");
  upper.fileName = "Song.mp3", lower.fileName = "song.mp3";
  const int first = this->Send(WriteMp3(this->OnComputer("upper.mp3"), 20), upper);
  const int second = this->Send(WriteMp3(this->OnComputer("lower.mp3"), 30), lower);
  AudioInfo odd = this->Info("Odd");
  odd.artist = "AC/DC: \"Live\"?", odd.album = "<Best>|*. ", odd.fileName = "what?.mp3";
  const int third = this->Send(WriteMp3(this->OnComputer("odd.mp3"), 25), odd);
  const std::pair<int, std::string> sent[] = {{first, "upper.mp3"}, {second, "lower.mp3"}, {third, "odd.mp3"}};
  for (const auto& [id, source] : sent) {
    const std::string back = this->OnComputer("back-" + source);
    ASSERT_EQ(this->Device().ReceiveTrack(id, back), kOk) << source;
    this->library_->Events().Deliver(this->sink_);
    // The tag the player wrote differs; the audio after it is the source's.
    const std::string original = testing::Contents(this->OnComputer(source));
    const std::string received = testing::Contents(back);
    ASSERT_GE(received.size(), original.size());
    EXPECT_EQ(received.substr(received.size() - original.size()), original) << source;
  }
  this->Reopen();
  EXPECT_EQ(this->TrackIds().size(), 3u);
}

TYPED_TEST(PlayerContract, PlaylistsDifferingInCaseKeepTheirOwnM3u8) {
  const int track = this->Send(WriteMp3(this->OnComputer("a.mp3")), this->Info("One"));
  int rock = 0, lower = 0;
  ASSERT_EQ(this->Device().CreatePlaylist("Rock", rock), kOk);
  ASSERT_EQ(this->Device().CreatePlaylist("rock", lower), kOk);
  ASSERT_EQ(this->Device().SetPlaylist(rock, {"Rock", {track}}), kOk);
  ASSERT_EQ(this->Device().SetPlaylist(rock, {"ROCK", {track}}), kOk);  // renamed by case only
  ASSERT_EQ(this->Device().DeletePlaylist(lower), kOk);
  const std::string folder = this->Root() + "/Playlists";
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path().string());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(testing::Contents(files[0]).find("The Band - One"), std::string::npos);
}

TYPED_TEST(PlayerContract, AReplacedTrackKeepsItsIdAndAppearsOnce) {
  const int id = this->Send(WriteMp3(this->OnComputer("a.mp3"), 20), this->Info("One"));
  if (!this->Device().CanReplaceTrack()) GTEST_SKIP() << "this player deletes and sends";
  ASSERT_EQ(this->Device().ReplaceTrack(id, WriteMp3(this->OnComputer("b.mp3"), 40), this->Info("One")), kOk);
  this->library_->Events().Deliver(this->sink_);
  EXPECT_EQ(this->sink_.Last(), "sent 0 id " + std::to_string(id));
  this->Reopen();
  EXPECT_EQ(this->TrackIds(), std::vector<int>{id});
  ASSERT_EQ(this->Device().ReceiveTrack(id, this->OnComputer("back.mp3")), kOk);
  const std::string original = testing::Contents(this->OnComputer("b.mp3"));
  const std::string received = testing::Contents(this->OnComputer("back.mp3"));
  EXPECT_EQ(received.substr(received.size() - original.size()), original);
}

TYPED_TEST(PlayerContract, AFileTooLargeForTheCardIsRefusedBeforeAnyByteIsCopied) {
  if (!TypeParam::kOnFat) GTEST_SKIP() << "only FAT limits a file to 4 GB";
  const std::string huge = this->OnComputer("huge.wav");
  std::ofstream(huge) << "RIFF";
  std::filesystem::resize_file(huge, (std::uintmax_t{1} << 32));  // sparse: no disk used
  int id = 0;
  EXPECT_EQ(this->Device().SendDataFile(huge, {"huge.wav", 0, 0}, id), kFileError);
  EXPECT_EQ(this->Device().SendTrack(huge, this->Info("Huge"), id), kFileError);
  EXPECT_FALSE(std::filesystem::exists(this->player_ + "/Music"));
  EXPECT_FALSE(std::filesystem::exists(this->player_ + "/Data"));
}

// A new file name for a track is the file's new name on the player (its
// playlists follow), never a change reported and left undone.
TYPED_TEST(PlayerContract, ANewFileNameRenamesTheTrackOnThePlayer) {
  const int id = this->Send(WriteMp3(this->OnComputer("a.mp3")), this->Info("One"));
  const int other = this->Send(WriteMp3(this->OnComputer("b.mp3")), this->Info("Two"));
  int playlist = 0;
  ASSERT_EQ(this->Device().CreatePlaylist("List", playlist), kOk);
  ASSERT_EQ(this->Device().SetPlaylist(playlist, {"List", {id}}), kOk);
  AudioInfo info;
  ASSERT_EQ(this->Device().GetTrackInfo(other, info), kOk);
  const std::string taken = info.fileName;  // the second track's name
  ASSERT_EQ(this->Device().GetTrackInfo(id, info), kOk);
  info.fileName = "new name?.mp3";
  ASSERT_EQ(this->Device().SetTrackInfo(id, info), kOk);
  const std::string folder = this->Root() + "/Music/The Band/First";
  EXPECT_TRUE(std::filesystem::exists(folder + "/new name_.mp3"));
  EXPECT_NE(testing::Contents(this->Root() + "/Playlists/List.m3u8").find("new name_.mp3"), std::string::npos);
  // A name another file has, in any case, is not taken from it.
  std::string upper = taken;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  info.fileName = upper;
  ASSERT_EQ(this->Device().SetTrackInfo(id, info), kOk);
  this->Reopen();
  AudioInfo again;
  ASSERT_EQ(this->Device().GetTrackInfo(id, again), kOk);
  EXPECT_EQ(again.fileName, upper);
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
  EXPECT_EQ(files, 2u);
  ASSERT_EQ(this->Device().ReceiveTrack(other, this->OnComputer("other-back.mp3")), kOk);
  ASSERT_EQ(this->Device().ReceiveTrack(id, this->OnComputer("one-back.mp3")), kOk);
  EXPECT_EQ(audio::ReadId3v2Tag(this->OnComputer("other-back.mp3")).title, "Two");
  EXPECT_EQ(audio::ReadId3v2Tag(this->OnComputer("one-back.mp3")).title, "One");
}

}  // namespace
}  // namespace tonvault::device
