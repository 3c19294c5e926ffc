// Receiving tracks from the player: target names, the existing-file policy,
// the tag update, and that no failure costs a file, over the simulated
// player with real files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "catalogue/FillRow.h"
#include "device/TransferTestSupport.h"
#include "device/content/DeviceRow.h"
#include "device/transfer/CopyToPc.h"
#include "device/transfer/ReceiveFile.h"
#include "device/transfer/UpdateReceivedTags.h"
#include "device/transfer/UploadFileName.h"
#include "files/PathLinks.h"
#include "files/ReplaceFile.h"
#include "files/TemporaryFile.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using test::Names;
using test::ReadBytes;

DeviceTrack Data(const std::string& title, const std::string& fileName) {
  DeviceTrack data;
  data.title = title, data.artist = "AC-DC", data.album = "Live", data.codec = "MP3";
  data.fileName = fileName, data.year = 1980, data.trackNumber = 3, data.genre = "Rock";
  return data;
}

TEST(UploadFileName, ThePlayersNameOrOneBuiltFromTheTrack) {
  catalogue::Options options;
  const DeviceTrack data = Data("Back/In Black", "song.mp3");
  EXPECT_EQ(UploadFileName("/music/", data, options), "/music/song.mp3");
  EXPECT_EQ(UploadFileName("/music/", Data("Hells Bells", "<Unknown>"), options), "/music/Hells Bells.mp3");
  EXPECT_EQ(UploadFileName("/music/", Data("Hells Bells", "x <UNKNOWN>.wma"), options), "/music/x Hells Bells.mp3");
  EXPECT_EQ(UploadFileName("/music/", Data("Hells Bells", "noext"), options), "/music/noextHells Bells.mp3");

  options.upload.renaming = 1;
  options.rename.substitute = "_";
  options.rename.separator = " - ";
  options.rename.trackDigits = 2;
  options.rename.order = {" Track ", " Artist ", " Title ", catalogue::kItemSeparator, " Album ", "", "", ""};
  EXPECT_EQ(UploadFileName("/music/", data, options), "/music/03 - AC_DC - Back_In Black.mp3");
  options.rename.separator = "_";
  EXPECT_EQ(UploadFileName("/music/", data, options), "/music/03_AC-DC_Back_In Black.mp3");
}

TEST(UploadFileName, ANameFromThePlayerNeverLeavesTheFolder) {
  catalogue::Options options;
  for (const std::string name : {"../../etc/passwd.mp3", "/abs/x.mp3", "..", "a/../../b.mp3", ".hidden.mp3"}) {
    const std::string target = UploadFileName("/music/", Data("T", name), options);
    EXPECT_EQ(catalogue::FolderOf(target), "/music/") << name;
    EXPECT_NE(catalogue::NameOf(target).front(), '.') << name;
  }
  DeviceTrack odd = Data("T", "noext");
  odd.codec = "M/P\x01";
  EXPECT_EQ(UploadFileName("/music/", odd, options), "/music/noextT.m_p_");
  options.rename.substitute = ".";  // a valid substitute, but never a name
  EXPECT_EQ(UploadFileName("/music/", Data("", "."), options), "/music/_.mp3");
  options.rename.substitute = "_";
  options.upload.renaming = 1;
  options.rename.order = {" Title ", catalogue::kItemSeparator, "", "", "", "", "", ""};
  EXPECT_EQ(UploadFileName("/music/", Data("..", "x.mp3"), options), "/music/_.mp3");
}

TEST(UpdateReceivedTags, CaptionsFollowTheThreeStates) {
  EXPECT_EQ(TagUpdateCaption(1, 0), "ID3 version 1");
  EXPECT_EQ(TagUpdateCaption(1, 1), "ID3 version 1  (if existing)");
  EXPECT_EQ(TagUpdateCaption(2, 2), "ID3 version 2  (create)");
}

TEST(UpdateReceivedTags, GreyBoxesTouchOnlyTagsThatExistCheckedOnesCreateThem) {
  testing::TempFolder temp;
  const std::string plain = test::WriteMp3(temp.Path() + "/plain.mp3");
  DeviceTrack data = Data("Title", "plain.mp3");
  data.genre = "Not a genre";
  catalogue::Options options;
  options.upload.id3v1 = options.upload.id3v2 = static_cast<int>(TagUpdate::IfExisting);
  UpdateReceivedTags(plain, plain, data, options);
  EXPECT_FALSE(audio::ReadId3v1Tag(plain).present);
  EXPECT_FALSE(audio::ReadId3v2Tag(plain).present);

  options.upload.id3v1 = options.upload.id3v2 = static_cast<int>(TagUpdate::Create);
  UpdateReceivedTags(plain, temp.Path() + "/x.wav", data, options);  // not an MP3 name: untouched
  EXPECT_FALSE(audio::ReadId3v1Tag(plain).present);
  options.id3.trackNumberDigits = 2;
  UpdateReceivedTags(plain, plain, data, options);
  const audio::Id3v1Tag v1 = audio::ReadId3v1Tag(plain);
  EXPECT_EQ(v1.title, "Title");
  EXPECT_EQ(v1.genre, 255);
  const audio::Id3v2Values v2 = audio::ReadId3v2Tag(plain);
  EXPECT_TRUE(v2.present);
  EXPECT_EQ(v2.artist, "AC-DC");
  EXPECT_EQ(v2.track, "03");
  EXPECT_EQ(v2.year, "1980");

  // Grey now updates the tags the file has.
  options.upload.id3v1 = options.upload.id3v2 = static_cast<int>(TagUpdate::IfExisting);
  data.title = "New";
  UpdateReceivedTags(plain, plain, data, options);
  EXPECT_EQ(audio::ReadId3v1Tag(plain).title, "New");
  EXPECT_EQ(audio::ReadId3v2Tag(plain).title, "New");
}

class TransferFromPlayerTest : public test::TransferFixture {
 protected:
  // Puts a file on the player with `info` and returns its ID.
  int Put(const std::string& path, AudioInfo info) {
    EXPECT_TRUE(session_->StartDevice(true));
    int id = 0;
    EXPECT_EQ(session_->CurrentDevice().SendTrack(path, info, id), kOk);
    session_->Pump();
    if (info.isProtected) {
      info.id = id;
      EXPECT_EQ(session_->CurrentDevice().SetTrackInfo(id, info), kOk);
    }
    content_->Table().SetDeviceTableStale(true);
    return id;
  }
  int PutSong(const std::string& title, bool isProtected = false) {
    AudioInfo info;
    info.title = title, info.artist = "Band", info.album = "Album", info.codec = "MP3";
    info.fileName = title + ".mp3", info.year = 2004, info.trackNumber = 7, info.genre = "Jazz";
    info.isProtected = isProtected;
    return Put(Mp3("source-" + title + ".mp3"), info);
  }
  std::string Out() const { return temp_.Path() + "/out/"; }
  TransferOutcome Receive(const std::vector<int>& ids) {
    std::filesystem::create_directories(Out());
    return CopyTracksToPc(*context_, ids, Out());
  }
};

TEST_F(TransferFromPlayerTest, ReceivesTracksWithTheirTagsAndAccountsForEach) {
  const int a = PutSong("A"), b = PutSong("B");
  app_.options.upload.id3v1 = static_cast<int>(TagUpdate::Create);
  std::vector<std::string> targets;
  std::filesystem::create_directories(Out());
  const TransferOutcome outcome =
      CopyTracksToPc(*context_, {a, b}, Out(), [&](std::size_t, const std::string& target) { targets.push_back(target); });
  EXPECT_TRUE(outcome.ran);
  EXPECT_EQ(States(), (std::vector<std::string>{"Done", "Done"}));
  EXPECT_EQ(window_.Rows()[1].fileName, Out() + "B.mp3");
  EXPECT_EQ(targets, (std::vector<std::string>{Out() + "A.mp3", Out() + "B.mp3"}));
  EXPECT_EQ(Names(Out()), (std::vector<std::string>{"A.mp3", "B.mp3"}));
  const audio::Id3v1Tag tag = audio::ReadId3v1Tag(Out() + "B.mp3");
  ASSERT_TRUE(tag.present);
  EXPECT_EQ(tag.title, "B");
  EXPECT_EQ(tag.year, "2004");
  EXPECT_EQ(tag.track, 7);
  EXPECT_EQ(tag.genre, 8);  // "Jazz"
  EXPECT_EQ(window_.Counters().done, 2u);
  EXPECT_EQ(window_.Counters().doneKb, window_.Counters().totalKb);
  EXPECT_GT(window_.TotalMb(), 0);
  EXPECT_TRUE(window_.FinishedModal());
}

TEST_F(TransferFromPlayerTest, GreyTagBoxesUpdateOnlyTagsThatExist) {
  const int id = PutSong("Plain");
  app_.options.upload.id3v1 = static_cast<int>(TagUpdate::IfExisting);
  app_.options.upload.id3v2 = static_cast<int>(TagUpdate::IfExisting);
  Receive({id});
  ASSERT_EQ(States(), std::vector<std::string>{"Done"});
  const std::string target = Out() + "Plain.mp3";
  EXPECT_FALSE(audio::ReadId3v1Tag(target).present);
  // The simulated player keeps its own ID3v2 tag in the file: grey updates it.
  const audio::Id3v2Values v2 = audio::ReadId3v2Tag(target);
  if (v2.present) {
    EXPECT_EQ(v2.title, "Plain");
  }

  app_.options.upload.id3v1 = static_cast<int>(TagUpdate::Create);
  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceAlways);
  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"Replaced"});
  EXPECT_EQ(audio::ReadId3v1Tag(target).title, "Plain");
}

TEST_F(TransferFromPlayerTest, ExistingFilesFollowThePolicy) {
  const int id = PutSong("Song");
  std::filesystem::create_directories(Out());
  const std::string target = Out() + "Song.mp3";
  ASSERT_FALSE(files::WriteWholeFile(target, "old"));

  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceNever);
  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"File exists"});
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Exists);
  EXPECT_EQ(window_.Counters().errors, 1);
  EXPECT_EQ(ReadBytes(target), "old");

  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::Ask);
  frontend_.Answer(Button::No);
  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"File exists"});

  std::filesystem::permissions(target, std::filesystem::perms::owner_read);
  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceThisSession);
  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"Can not replace (write protected ?)"});
  EXPECT_EQ(ReadBytes(target), "old");

  std::filesystem::permissions(target, std::filesystem::perms::owner_all);
  frontend_.Answer(Button::Yes);
  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::Ask);
  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"Replaced"});
  EXPECT_EQ(window_.Rows()[0].icon, TransferIcon::Done);
  EXPECT_NE(ReadBytes(target), "old");
  EXPECT_EQ(Names(Out()), std::vector<std::string>{"Song.mp3"});
}

TEST_F(TransferFromPlayerTest, FailedReceivesLeaveNoPartialFileAndTheOldFileWhole) {
  const int id = PutSong("Song"), next = PutSong("Next");
  std::filesystem::create_directories(Out());
  const std::string target = Out() + "Song.mp3";
  ASSERT_FALSE(files::WriteWholeFile(target, "the old recording"));
  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceAlways);

  player_->FailDuringNextReceive(kDiskFull);
  Receive({id, next});
  EXPECT_EQ(States(), (std::vector<std::string>{"ERROR (Disk full ?)", "Done"}));
  EXPECT_EQ(window_.Counters().errors, 1);
  EXPECT_EQ(ReadBytes(target), "the old recording");
  EXPECT_EQ(Names(Out()), (std::vector<std::string>{"Next.mp3", "Song.mp3"}));

  // The player goes away in the middle: the wait ends, nothing is left behind.
  player_->RemoveDuringNextTransfer();
  Receive({id, next});
  EXPECT_EQ(window_.History(0).back(), "ERROR (Disk full ?)");
  EXPECT_EQ(window_.Counters().errors, 2);
  EXPECT_EQ(ReadBytes(target), "the old recording");
  EXPECT_EQ(Names(Out()), (std::vector<std::string>{"Next.mp3", "Song.mp3"}));
  EXPECT_LT(frontend_.Slept(), std::chrono::minutes(30));
}

TEST_F(TransferFromPlayerTest, ReplacingKeepsWhatMakesTheOldFileTheSameFile) {
  const int a = PutSong("A"), b = PutSong("B");
  app_.options.upload.id3v1 = app_.options.upload.id3v2 = static_cast<int>(TagUpdate::Off);
  Receive({a, b});
  ASSERT_EQ(States(), (std::vector<std::string>{"Done", "Done"}));
  const std::string bytesA = ReadBytes(Out() + "A.mp3"), bytesB = ReadBytes(Out() + "B.mp3");
  // A.mp3 becomes a link to a private file elsewhere, B.mp3 a private file
  // with a second name.
  const std::string kept = temp_.Path() + "/kept/";
  std::filesystem::create_directories(kept);
  std::filesystem::remove(Out() + "A.mp3");
  std::filesystem::remove(Out() + "B.mp3");
  ASSERT_FALSE(files::WriteWholeFile(kept + "a.mp3", "old a"));
  ASSERT_EQ(::chmod((kept + "a.mp3").c_str(), 0640), 0);
  ASSERT_EQ(::symlink((kept + "a.mp3").c_str(), (Out() + "A.mp3").c_str()), 0);
  ASSERT_FALSE(files::WriteWholeFile(Out() + "B.mp3", "old b"));
  ASSERT_EQ(::chmod((Out() + "B.mp3").c_str(), 0640), 0);
  ASSERT_EQ(::link((Out() + "B.mp3").c_str(), (kept + "b-twin.mp3").c_str()), 0);

  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceAlways);
  Receive({a, b});
  EXPECT_EQ(States(), (std::vector<std::string>{"Replaced", "Replaced"}));
  struct stat info {};
  ASSERT_EQ(::lstat((Out() + "A.mp3").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ReadBytes(kept + "a.mp3"), bytesA);
  ASSERT_EQ(::stat((kept + "a.mp3").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  ASSERT_EQ(::lstat((Out() + "B.mp3").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_nlink, 2u);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadBytes(kept + "b-twin.mp3"), bytesB);
  EXPECT_EQ(Names(Out()), (std::vector<std::string>{"A.mp3", "B.mp3"}));
}

// A simulated player whose device the receive looks up just before it hands
// over the name to write; when armed, links to `victim` appear at that
// moment under every name a receiving file of this process could
// predictably get (another user racing the receive).
class PlantingPlayer : public SimulatedPlayer {
 public:
  PlantingPlayer(const std::string& scratch, std::string folder, std::string victim)
      : SimulatedPlayer(scratch, {kKindJukebox}), folder_(std::move(folder)), victim_(std::move(victim)) {}
  Device& GetDevice() override {
    if (armed) {
      armed = false;
      const std::string base = folder_ + ".tonvault-receive-" + std::to_string(::getpid()) + "-";
      for (int n = 1; n <= kPlanted; ++n) ::symlink(victim_.c_str(), (base + std::to_string(n) + ".mp3").c_str());
    }
    return SimulatedPlayer::GetDevice();
  }

  static constexpr int kPlanted = 4096;
  bool armed = false;

 private:
  std::string folder_, victim_;
};

// Arms the player as a receive starts.
class ArmingWindow : public TransferRecord {
 public:
  void SetState(std::size_t row, const std::string& state, TransferIcon icon) override {
    if (state == "Transfering" && player != nullptr) player->armed = true;
    TransferRecord::SetState(row, state, icon);
  }
  PlantingPlayer* player = nullptr;
};

TEST_F(TransferFromPlayerTest, LinksPlantedUnderPredictableReceivingNamesAreNeverWrittenThrough) {
  std::filesystem::create_directories(Out());
  std::filesystem::create_directories(temp_.Path() + "/planting");
  const std::string victim = temp_.Path() + "/victim.txt";
  ASSERT_FALSE(files::WriteWholeFile(victim, "the victim's"));
  auto made = std::make_unique<PlantingPlayer>(temp_.Path() + "/planting", Out(), victim);
  PlantingPlayer& player = *made;
  auto taken = std::make_shared<std::unique_ptr<PlantingPlayer>>(std::move(made));
  DeviceSession session(app_, host_, [taken] { return std::move(*taken); });
  PlayerContent content(app_, session);
  ArmingWindow window;
  window.After().beep = false;
  TransferContext context{app_, session, content, window};
  ASSERT_TRUE(session.StartDevice(true));
  AudioInfo info;
  info.title = "Song", info.artist = "Band", info.album = "Album", info.codec = "MP3", info.fileName = "Song.mp3";
  int id = 0;
  ASSERT_EQ(session.CurrentDevice().SendTrack(Mp3("source.mp3"), info, id), kOk);
  session.Pump();
  content.Table().SetDeviceTableStale(true);

  window.player = &player;
  CopyTracksToPc(context, {id}, Out());
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_EQ(window.Rows()[0].state, "Done");
  EXPECT_FALSE(player.armed);
  EXPECT_EQ(ReadBytes(victim), "the victim's");
  struct stat received {};
  ASSERT_EQ(::lstat((Out() + "Song.mp3").c_str(), &received), 0);
  EXPECT_TRUE(S_ISREG(received.st_mode));
  EXPECT_GT(received.st_size, 0);
  // The links are someone else's business: left as they are.
  int links = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Out())) links += entry.is_symlink();
  EXPECT_EQ(links, PlantingPlayer::kPlanted);
  EXPECT_EQ(Names(Out()).size(), PlantingPlayer::kPlanted + 1u);
}

TEST_F(TransferFromPlayerTest, LeftoversOfKilledReceivesGoAtTheNextReceiveIntoTheFolder) {
  const int id = PutSong("Song");
  std::filesystem::create_directories(Out());
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  ASSERT_NE(::kill(dead, 0), 0);
  ASSERT_EQ(errno, ESRCH);
  const std::string ofDead = ".tonvault-receive-" + std::to_string(dead) + "-";
  const std::string stale = ofDead + "0123456789abcdef.mp3";
  const std::string earlier = ofDead + "3.mp3";
  const std::string live = ".tonvault-receive-" + std::to_string(::getpid()) + "-fedcba9876543210.mp3";
  // The tag writers' temporary file beside the stale one, left by the kill.
  const std::string tagging = files::NameOf(files::TemporaryFile::SlotPath(".", stale, 0));
  for (const std::string& name : {stale, earlier, live, tagging}) {
    ASSERT_FALSE(files::WriteWholeFile(Out() + name, "half a track"));
  }
  const timespec hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (Out() + tagging).c_str(), hourAgo, 0), 0);
  // Names of the same form that are not plain files of ours stay.
  const std::string victim = temp_.Path() + "/victim.mp3";
  ASSERT_FALSE(files::WriteWholeFile(victim, "the victim's"));
  const std::string link = ofDead + "1111111111111111.mp3";
  const std::string twin = ofDead + "2222222222222222.mp3";
  const std::string folder = ofDead + "3333333333333333.mp3";
  ASSERT_EQ(::symlink(victim.c_str(), (Out() + link).c_str()), 0);
  ASSERT_EQ(::link(victim.c_str(), (Out() + twin).c_str()), 0);
  ASSERT_EQ(::mkdir((Out() + folder).c_str(), 0755), 0);
  std::vector<std::string> expected = {"Song.mp3", live, link, twin, folder};
  if (::geteuid() == 0) {
    const std::string theirs = ofDead + "4444444444444444.mp3";
    ASSERT_FALSE(files::WriteWholeFile(Out() + theirs, "another user's"));
    ASSERT_EQ(::chown((Out() + theirs).c_str(), 65534, 65534), 0);
    expected.push_back(theirs);
  }
  std::sort(expected.begin(), expected.end());

  Receive({id});
  EXPECT_EQ(States(), std::vector<std::string>{"Done"});
  EXPECT_EQ(Names(Out()), expected);
  EXPECT_EQ(ReadBytes(victim), "the victim's");
  EXPECT_EQ(ReadBytes(Out() + live), "half a track");
}

TEST_F(TransferFromPlayerTest, PlayerErrorsShowTheirOwnTexts) {
  const int locked = PutSong("Locked", true), busy = PutSong("Busy"), full = PutSong("Full");
  content_->EnsureDeviceTable();
  player_->FailNext("ReceiveTrack", kBusy);
  player_->FailNext("ReceiveTrack", kDiskFull);
  Receive({busy, full, locked, 999});
  EXPECT_EQ(States(), (std::vector<std::string>{"ERROR (on transfer)", "ERROR (Disk full)", "ERROR (copy protected)",
                                                "ERROR (File not found)"}));
  EXPECT_EQ(window_.Counters().errors, 4);
  EXPECT_TRUE(Names(Out()).empty());
}

TEST_F(TransferFromPlayerTest, TheCommandChecksRowsAsksForAFolderAndRemembersIt) {
  const int id = PutSong("Song");
  content_->ReadFilesOnNjb();
  ASSERT_EQ(app_.files.size(), 1u);
  EXPECT_FALSE(CopySelectedFilesToPc(*context_).ran);
  app_.files[0].selected = true;
  catalogue::TrackRecord disk = app_.files[0];
  app_.columnMap.Set(disk, catalogue::Column::Path, Pc());
  app_.files.push_back(disk);
  app_.uploadFolder = "/before/";
  EXPECT_FALSE(CopySelectedFilesToPc(*context_).ran);
  EXPECT_EQ(app_.uploadFolder, "/before/");
  app_.files.pop_back();

  frontend_.ChooseFolderAnswer(std::nullopt);
  EXPECT_FALSE(CopySelectedFilesToPc(*context_).ran);
  EXPECT_EQ(app_.uploadFolder, "/before/");

  std::filesystem::create_directories(Out());
  frontend_.ChooseFolderAnswer(Out() + "sub");
  std::filesystem::create_directories(Out() + "sub");
  EXPECT_TRUE(CopySelectedFilesToPc(*context_).ran);
  EXPECT_EQ(app_.uploadFolder, Out() + "sub/");
  EXPECT_EQ(States(), std::vector<std::string>{"Done"});
  EXPECT_TRUE(std::filesystem::exists(Out() + "sub/Song.mp3"));
  EXPECT_EQ(DeviceRowId(app_.files[0]), id);

  app_.columnMap.Set(app_.files[0], catalogue::Column::Title, "Renamed");
  frontend_.ChooseFolderAnswer(Out());
  EXPECT_FALSE(CopySelectedFilesToPc(*context_).ran);
  EXPECT_EQ(frontend_.Log("folder dialog").back(),
            "folder dialog: Select Folder to save files from NJB @" + Out() + "sub -> " + Out());
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): No files selected. [OK]",
                            "message(information): Only Files on NJB can be copied to PC. [OK]",
                            "message(error): Band - Renamed\n\r\rNot found on NJB! [OK]"}));
}

}  // namespace
}  // namespace tonvault::device
