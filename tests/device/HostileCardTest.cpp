// A player card is a folder anyone could hand over: whatever its index,
// playlists, names and links say, no player command reads, changes or
// deletes anything outside it, and its tracks survive a kill and a second
// program.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "device/DeviceTestSupport.h"
#include "device/folder/CardJournal.h"
#include "device/folder/FolderPlayer.h"
#include "device/folder/PlayerStore.h"
#include "device/folder/PlaylistStore.h"
#include "device/folder/TrackIndex.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/FileTestSupport.h"
#include "files/ReplaceFile.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

namespace fs = std::filesystem;
using test::WriteMp3;

// Every entry of a tree as its kind, permissions and content (a link's
// target), so any change to it shows.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error); it != fs::recursive_directory_iterator();
       it.increment(error)) {
    struct stat info {};
    ::lstat(it->path().c_str(), &info);
    std::string what = std::to_string(info.st_mode) + ":" + std::to_string(info.st_nlink) + ":";
    if (S_ISLNK(info.st_mode)) {
      what += fs::read_symlink(it->path()).string();
    } else if (S_ISREG(info.st_mode)) {
      what += testing::Contents(it->path().string());
    }
    entries[it->path().lexically_relative(root).string()] = what;
  }
  return entries;
}

bool Mentions(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& text : texts) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

AudioInfo Song(const std::string& title, const std::string& artist = "Artist") {
  AudioInfo info;
  info.title = title, info.artist = artist, info.album = "Album", info.fileName = title + ".mp3";
  return info;
}

class HostileCardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(card_ + "/Music");
    fs::create_directories(outside_ + "/folder");
    WriteMp3(outside_ + "/victim.mp3");
    std::ofstream(outside_ + "/secret.txt") << "secret";
    std::ofstream(outside_ + "/folder/incoming-1.mp3") << "not the card's";
    std::ofstream(outside_ + "/folder/index.txt") << "not the card's";
    decoy_ = Snapshot(outside_);
  }
  // Writes the card's index with `paths` as tracks 1, 2, …
  void WriteIndex(const std::vector<std::string>& paths) {
    fs::create_directories(card_ + "/.tonvault-player");
    TrackIndex index;
    for (const std::string& path : paths) {
      const int id = index.TakeId();
      index.tracks[id] = {path, Song("Song " + std::to_string(id))};
      index.tracks[id].info.id = id;
    }
    ASSERT_FALSE(files::WriteWholeFile(card_ + "/.tonvault-player/index.txt", FormatTrackIndex(index)));
  }
  void ExpectOutsideUntouched() { EXPECT_EQ(Snapshot(outside_), decoy_); }

  testing::TempFolder temp_;
  std::string card_ = temp_.Path() + "/card";
  std::string outside_ = temp_.Path() + "/outside";
  std::string pc_ = WriteMp3(temp_.Path() + "/song.mp3", 200);
  std::map<std::string, std::string> decoy_;
};

TEST_F(HostileCardTest, IndexPathsThatLeaveTheCardAreSkippedForEveryCommand) {
  WriteMp3(card_ + "/Music/ok.mp3");
  WriteIndex({"../outside/victim.mp3", outside_ + "/victim.mp3", "Music/../../outside/secret.txt",
              "Music/./ok.mp3", "Music/ok.mp3"});
  FolderPlayer player(card_);
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
  int id = 0;
  ASSERT_EQ(device.FindFirstTrack(id), kOk);
  EXPECT_EQ(id, 5);  // the only entry left
  EXPECT_EQ(device.FindNextTrack(id), kEndOfList);
  for (int skipped = 1; skipped <= 4; ++skipped) {
    EXPECT_EQ(device.ReceiveTrack(skipped, temp_.Path() + "/got" + std::to_string(skipped) + ".mp3"), kNotFound);
    EXPECT_EQ(device.SetTrackInfo(skipped, Song("x")), kNotFound);
    EXPECT_EQ(device.DeleteTrack(skipped), kNotFound);
  }
  EXPECT_EQ(device.SetTrackInfo(5, Song("Renamed")), kOk);
  EXPECT_EQ(device.RebuildCache(), kOk);
  EXPECT_EQ(device.DeleteTrack(5), kOk);
  device.CloseDevice();
  ExpectOutsideUntouched();
  EXPECT_FALSE(fs::exists(temp_.Path() + "/got1.mp3"));

  // The user hears of each skipped entry, by its name, the first ten of
  // them in one message.
  PlayerStore store(card_);
  WriteIndex({"../outside/victim.mp3"});
  ASSERT_EQ(store.Open(), kOk);
  const auto warnings = store.TakeWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            "The player's index names \"../outside/victim.mp3\", which is not a place on the player: the entry is "
            "skipped.");
  store.Close();
  WriteIndex(std::vector<std::string>(25, "../x.mp3"));
  FolderPlayer again(card_);
  ASSERT_EQ(again.GetDevice().OpenDevice(kKindJukebox), kOk);
  struct Sink : DeviceEventSink {
    void OnWarning(const std::string& text) override { warnings.push_back(text); }
    std::vector<std::string> warnings;
  } sink;
  again.Events().Deliver(sink);
  ASSERT_EQ(sink.warnings.size(), 1u);
  EXPECT_EQ(std::count(sink.warnings[0].begin(), sink.warnings[0].end(), '\n'), 10);
  EXPECT_NE(sink.warnings[0].find("15 more entries of the player's index are skipped for the same reason."),
            std::string::npos);
}

TEST_F(HostileCardTest, LinksOnTheCardAreNeverFollowed) {
  fs::create_symlink(outside_ + "/victim.mp3", card_ + "/Music/linked.mp3");
  fs::create_directories(card_ + "/Music/Artist");
  fs::create_symlink(outside_ + "/folder", card_ + "/Music/Artist/Album");
  fs::create_symlink(outside_, card_ + "/Music/Elsewhere");
  WriteIndex({"Music/linked.mp3", "Music/Elsewhere/victim.mp3"});
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  // Receiving, tagging and deleting a linked track reach nothing outside.
  EXPECT_EQ(store.CopyOut("Music/linked.mp3", temp_.Path() + "/got.mp3"), kFileError);
  EXPECT_EQ(store.CopyOut("Music/Elsewhere/victim.mp3", temp_.Path() + "/got.mp3"), kFileError);
  EXPECT_FALSE(fs::exists(temp_.Path() + "/got.mp3"));
  EXPECT_EQ(store.SetTrackInfo(1, Song("Changed")), kFileError);
  EXPECT_EQ(store.SetTrackInfo(2, Song("Changed")), kFileError);
  EXPECT_EQ(store.DeleteTrack(1), kOk);
  EXPECT_EQ(store.DeleteTrack(2), kOk);
  EXPECT_TRUE(fs::is_symlink(card_ + "/Music/linked.mp3"));
  // A send whose folder is a link on the card is refused.
  int id = 0;
  EXPECT_EQ(store.AddTrack(pc_, Song("New"), id), kFileError);
  EXPECT_TRUE(Mentions(store.TakeWarnings(),
                       "\"Music/Artist/Album\" on the player leads through a link or a file: nothing is put there."));
  EXPECT_TRUE(fs::is_empty(card_ + "/Music/Artist") || !fs::exists(card_ + "/Music/Artist/Album/New.mp3"));
  // A rebuild leaves links out and says so.
  store.TakeWarnings();
  EXPECT_EQ(store.Rebuild(), kOk);
  EXPECT_TRUE(store.Index().tracks.empty());
  EXPECT_TRUE(Mentions(store.TakeWarnings(), "3 links on the player point elsewhere and were left out."));
  ExpectOutsideUntouched();
}

TEST_F(HostileCardTest, TheLibrarysOwnFilesMustBeRegularFiles) {
  fs::create_directories(card_ + "/.tonvault-player");
  fs::create_symlink(outside_ + "/secret.txt", card_ + "/.tonvault-player/index.txt");
  fs::create_symlink(outside_ + "/secret.txt", card_ + "/.tonvault-player/playlists.txt");
  fs::create_symlink(outside_ + "/secret.txt", card_ + "/.tonvault-player/lock");
  {
    FolderPlayer player(card_);
    Device& device = player.GetDevice();
    ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
    int id = 0;
    EXPECT_EQ(device.CreatePlaylist("Mine", id), kOk);
    EXPECT_EQ(device.SendTrack(pc_, Song("One"), id), kOk);
    device.CloseDevice();
  }
  ExpectOutsideUntouched();
  for (const char* name : {"index.txt", "playlists.txt", "lock"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(card_ + "/.tonvault-player/" + name))) << name;
  }
  // A FIFO where the index belongs neither hangs nor is read.
  fs::remove(card_ + "/.tonvault-player/index.txt");
  ASSERT_EQ(::mkfifo((card_ + "/.tonvault-player/index.txt").c_str(), 0644), 0);
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_TRUE(store.Rebuilt());
  EXPECT_EQ(store.Index().tracks.size(), 1u);
  EXPECT_TRUE(Mentions(store.TakeWarnings(), "The player's file \"index.txt\" is not a regular file"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(card_ + "/.tonvault-player/index.txt")));
}

TEST_F(HostileCardTest, ALinkedLibraryFolderKeepsTheCardClosed) {
  fs::create_symlink(outside_ + "/folder", card_ + "/.tonvault-player");
  PlayerStore store(card_);
  EXPECT_EQ(store.Open(), kFileError);
  EXPECT_EQ(store.TakeWarnings(),
            std::vector<std::string>{"The player's library folder \".tonvault-player\" is a link or a file, not a "
                                     "folder: the player is not opened."});
  FolderPlayer player(card_);
  EXPECT_EQ(player.GetDevice().OpenDevice(kKindJukebox), kFileError);
  ExpectOutsideUntouched();
}

TEST_F(HostileCardTest, PlaylistFileNamesStayInThePlaylistFolder) {
  WriteMp3(card_ + "/Music/a.mp3");
  WriteIndex({"Music/a.mp3"});
  PlaylistList list;
  list.nextId = 3;
  list.playlists[1] = {{"Up", {1}}, "../../outside/secret.txt"};
  list.playlists[2] = {{"Abs", {1}}, outside_ + "/secret.txt"};
  ASSERT_FALSE(files::WriteWholeFile(card_ + "/.tonvault-player/playlists.txt", FormatPlaylistList(list)));
  {
    FolderPlayer player(card_);
    Device& device = player.GetDevice();
    ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
    int id = 0;
    EXPECT_EQ(device.CreatePlaylist("New", id), kOk);
    EXPECT_EQ(device.SetPlaylist(1, {"Up", {1, 1}}), kOk);
    EXPECT_EQ(device.DeletePlaylist(2), kOk);
    EXPECT_EQ(device.DeleteTrack(1), kOk);
  }
  ExpectOutsideUntouched();
  EXPECT_TRUE(fs::exists(card_ + "/Playlists/Up.m3u8"));
}

TEST_F(HostileCardTest, LibraryFilesLargerThanAPlayersAreRefusedBeforeAnythingChanges) {
  fs::create_directories(card_ + "/.tonvault-player");
  const std::string index = card_ + "/.tonvault-player/index.txt";
  std::ofstream(index) << "TONVAULT-PLAYER-INDEX 1\n";
  fs::resize_file(index, PlayerStore::kMaxIndexBytes + 1);  // sparse: nothing is written
  PlayerStore store(card_);
  EXPECT_EQ(store.Open(), kFileError);
  EXPECT_TRUE(Mentions(store.TakeWarnings(), "is larger than a player's library can be: the player is not opened."));
  EXPECT_EQ(fs::file_size(index), PlayerStore::kMaxIndexBytes + 1);  // never rebuilt over

  // A playlist list of more than a player holds is left alone: no change
  // can overwrite (and lose) the playlists in it.
  fs::remove(index);
  const std::string playlists = card_ + "/.tonvault-player/playlists.txt";
  std::ofstream(playlists) << "TONVAULT-PLAYER-PLAYLISTS 1\n";
  fs::resize_file(playlists, (std::size_t{16} << 20) + 1);
  FolderPlayer player(card_);
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
  int id = 0;
  EXPECT_EQ(device.CreatePlaylist("New", id), kFileError);
  EXPECT_EQ(fs::file_size(playlists), (std::size_t{16} << 20) + 1);
  // One playlist holds at most what a player can.
  Playlist huge{"Huge", std::vector<int>(kMaxPlaylistTracks + 1, 1)};
  PlayerStore tracks(temp_.Path() + "/other");
  fs::create_directories(temp_.Path() + "/other");
  ASSERT_EQ(tracks.Open(), kOk);
  PlaylistStore lists(tracks);
  ASSERT_EQ(lists.Open(), kOk);
  ASSERT_EQ(lists.Create("Huge", id), kOk);
  EXPECT_EQ(lists.Set(id, huge), kFailed);
  huge.trackIds.pop_back();
  EXPECT_EQ(lists.Set(id, huge), kOk);
}

TEST_F(HostileCardTest, ACardThatWentAwayIsNeverWrittenTo) {
  FolderPlayer player(card_);
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
  int id = 0;
  ASSERT_EQ(device.SendTrack(pc_, Song("One"), id), kOk);
  // The card is unplugged: its mount point stays behind as an empty folder
  // on the computer's own disk.
  fs::rename(card_, temp_.Path() + "/unplugged");
  fs::create_directories(card_);
  EXPECT_EQ(device.SendTrack(pc_, Song("Two"), id), kRemoved);
  EXPECT_EQ(device.SetTrackInfo(1, Song("x")), kRemoved);
  EXPECT_EQ(device.CreatePlaylist("P", id), kRemoved);
  EXPECT_TRUE(fs::is_empty(card_));
  struct Sink : DeviceEventSink {
    void OnRemoval() override { ++removals; }
    void OnWarning(const std::string& text) override { warnings.push_back(text); }
    int removals = 0;
    std::vector<std::string> warnings;
  } sink;
  player.Events().Deliver(sink);
  EXPECT_EQ(sink.removals, 1);
  EXPECT_TRUE(Mentions(sink.warnings, "The player was removed."));
  EXPECT_EQ(StatusText(kRemoved), "The player was disconnected.");
}

TEST_F(HostileCardTest, OneProgramAtATimeHasTheCard) {
  PlayerStore first(card_);
  ASSERT_EQ(first.Open(), kOk);
  // Another program (a child process here) is told the player is busy.
  const auto answer = files::test::RunInChild([this] {
    PlayerStore second(card_);
    return second.Open();
  });
  EXPECT_EQ(answer, std::optional<int>(kBusy));
  EXPECT_EQ(StatusText(kBusy), "The player is busy.");
  PlayerStore sameProgram(card_);
  EXPECT_EQ(sameProgram.Open(), kBusy);
  first.Close();
  EXPECT_EQ(sameProgram.Open(), kOk);
}

TEST_F(HostileCardTest, TwoSendersAtOnceLoseNoTrack) {
  // Each sender sends while it can have the card; every track it reports
  // sent is in the index afterwards, every file is indexed.
  const auto sender = [this](const std::string& name) {
    int sent = 0;
    for (int i = 0; i < 10; ++i) {
      FolderPlayer player(card_);
      Device& device = player.GetDevice();
      if (device.OpenDevice(kKindJukebox) != kOk) continue;
      int id = 0;
      if (device.SendTrack(pc_, Song(name + std::to_string(i)), id) == kOk) ++sent;
      device.CloseDevice();
    }
    return sent;
  };
  const pid_t child = ::fork();
  if (child == 0) ::_exit(sender("child"));
  const int sentHere = sender("parent");
  int status = 0;
  ::waitpid(child, &status, 0);
  const int sentThere = WEXITSTATUS(status);
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_EQ(store.Index().tracks.size(), static_cast<std::size_t>(sentHere + sentThere));
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(card_ + "/Music")) files += entry.is_regular_file();
  EXPECT_EQ(files, store.Index().tracks.size());
}

TEST_F(HostileCardTest, ARebuiltIndexKeepsIdsLengthsAndPlaylists) {
  int one = 0, two = 0;
  {
    FolderPlayer player(card_);
    Device& device = player.GetDevice();
    ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
    AudioInfo info = Song("One");
    info.length = 321;
    ASSERT_EQ(device.SendTrack(pc_, info, one), kOk);
    ASSERT_EQ(device.SendTrack(pc_, Song("Two"), two), kOk);
    int playlist = 0;
    ASSERT_EQ(device.CreatePlaylist("Both", playlist), kOk);
    ASSERT_EQ(device.SetPlaylist(playlist, {"Both", {two, one}}), kOk);
    device.CloseDevice();
  }
  const std::string index = card_ + "/.tonvault-player/index.txt";
  const std::string whole = testing::Contents(index);
  // Damaged: the end line and part of the second entry are gone.
  ASSERT_FALSE(files::WriteWholeFile(index, whole.substr(0, whole.find("\nT\t2")) + "\nT\t2\tMusic"));
  WriteMp3(card_ + "/Music/new.mp3", 40);
  {
    PlayerStore store(card_);
    ASSERT_EQ(store.Open(), kOk);
    ASSERT_TRUE(store.Rebuilt());
    const auto& tracks = store.Index().tracks;
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks.at(one).info.length, 321);  // known from the old index
    EXPECT_EQ(tracks.at(one).info.title, "One");
    EXPECT_GT(store.Index().nextId, two);
    for (const auto& [id, track] : tracks) {
      if (id == one) continue;
      EXPECT_GT(id, two) << "an ID is never given to another file";
      EXPECT_GT(track.info.length, 0) << track.relativePath;
    }
  }
  // Without any index the playlist is put together again from its .m3u8.
  fs::remove(index);
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  PlaylistStore playlists(store);
  ASSERT_EQ(playlists.Open(), kOk);
  const auto& tracks = store.Index().tracks;
  ASSERT_EQ(playlists.Playlists().size(), 1u);
  const std::vector<int>& ids = playlists.Playlists().begin()->second.playlist.trackIds;
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(tracks.at(ids[0]).relativePath, "Music/Artist/Album/Two.mp3");
  EXPECT_EQ(tracks.at(ids[1]).relativePath, "Music/Artist/Album/One.mp3");
}

TEST_F(HostileCardTest, FormattingANomadIIMemoryStaysInsideIt) {
  // A memory folder that is a link is never opened, so never emptied.
  const std::string scratch = temp_.Path() + "/simulated";
  fs::create_directories(scratch);
  fs::create_symlink(outside_, scratch + "/nomad2-internal");
  {
    SimulatedPlayer player(scratch, {kKindNomadII});
    EXPECT_NE(player.GetDevice().OpenDevice(kKindNomadII), kOk);
  }
  ExpectOutsideUntouched();
  // A real memory folder is emptied, and a link inside it goes as a link.
  fs::remove(scratch + "/nomad2-internal");
  fs::create_directories(scratch + "/nomad2-internal/Music");
  fs::create_symlink(outside_ + "/folder", scratch + "/nomad2-internal/Music/linked");
  SimulatedPlayer player(scratch, {kKindNomadII});
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindNomadII), kOk);
  int id = 0;
  ASSERT_EQ(device.SendTrack(pc_, Song("One"), id), kOk);
  EXPECT_EQ(device.FormatMemory(), kOk);
  EXPECT_EQ(device.FindFirstTrack(id), kEndOfList);
  EXPECT_FALSE(fs::exists(fs::symlink_status(scratch + "/nomad2-internal/Music")));
  EXPECT_EQ(device.SendTrack(pc_, Song("Two"), id), kOk);
  ExpectOutsideUntouched();
}

// --- a kill at every step of a change ---

struct KillPoint {
  const char* change;
  const char* step;
};

class KilledChangeTest : public HostileCardTest, public ::testing::WithParamInterface<KillPoint> {
 protected:
  // What every open after a kill must find: each indexed track has its
  // file, each file on the card is indexed, nothing staged is left, the
  // journal is gone.
  void ExpectConsistent(PlayerStore& store) {
    std::set<std::string> indexed;
    for (const auto& [id, track] : store.Index().tracks) {
      indexed.insert(track.relativePath);
      EXPECT_TRUE(fs::is_regular_file(card_ + "/" + track.relativePath)) << track.relativePath;
    }
    for (const auto& entry : fs::recursive_directory_iterator(card_ + "/Music")) {
      if (entry.is_regular_file()) {
        EXPECT_TRUE(indexed.contains(entry.path().lexically_relative(card_).string())) << entry.path();
      }
    }
    for (const auto& entry : fs::directory_iterator(card_ + "/.tonvault-player")) {
      const std::string name = entry.path().filename().string();
      EXPECT_NE(name.rfind("incoming-", 0), 0u) << name;
      EXPECT_NE(name, PlayerStore::kJournalName);
    }
  }
};

TEST_P(KilledChangeTest, LeavesTheCardConsistent) {
  const KillPoint point = GetParam();
  const std::string change = point.change;
  int kept = 0, playlist = 0;
  {
    FolderPlayer player(card_);
    Device& device = player.GetDevice();
    ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
    ASSERT_EQ(device.SendTrack(pc_, Song("Kept"), kept), kOk);
    ASSERT_EQ(device.CreatePlaylist("List", playlist), kOk);
    ASSERT_EQ(device.SetPlaylist(playlist, {"List", {kept}}), kOk);
    device.CloseDevice();
  }
  const std::string other = WriteMp3(temp_.Path() + "/other.mp3", 30);
  const auto ended = files::test::RunInChild([&] {
    PlayerStore store(card_);
    if (store.Open() != kOk) return 1;
    store.SetStepHook([&point](std::string_view step) {
      if (step == point.step) ::raise(SIGKILL);
    });
    int id = 0;
    if (change == "add") return store.AddTrack(other, Song("Added"), id) == kOk ? 0 : 2;
    if (change == "replace") return store.ReplaceTrack(kept, other, Song("Kept")) == kOk ? 0 : 3;
    if (change == "move") return store.ReplaceTrack(kept, other, Song("Kept", "Other Artist")) == kOk ? 0 : 4;
    if (change == "rename") {
      AudioInfo renamed = store.Index().tracks.at(kept).info;
      renamed.fileName = "Renamed.mp3";
      return store.SetTrackInfo(kept, renamed) == kOk ? 0 : 6;
    }
    return store.DeleteTrack(kept) == kOk ? 0 : 5;
  });
  EXPECT_FALSE(ended.has_value()) << "the child was to be killed at " << point.step;
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_FALSE(store.Rebuilt());
  ExpectConsistent(store);
  if (change != "delete") {
    // The track replaced is there under its ID, old or new, and its
    // playlist still names it.
    ASSERT_TRUE(store.Index().tracks.contains(kept));
    PlaylistStore playlists(store);
    ASSERT_EQ(playlists.Open(), kOk);
    EXPECT_EQ(playlists.Playlists().at(playlist).playlist.trackIds, std::vector<int>{kept});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, KilledChangeTest,
    ::testing::Values(KillPoint{"add", "staged"}, KillPoint{"add", "journalled"}, KillPoint{"add", "placed"},
                      KillPoint{"add", "indexed"}, KillPoint{"replace", "staged"}, KillPoint{"replace", "placed"},
                      KillPoint{"replace", "indexed"}, KillPoint{"move", "staged"}, KillPoint{"move", "journalled"},
                      KillPoint{"move", "placed"}, KillPoint{"move", "indexed"}, KillPoint{"move", "old removed"},
                      KillPoint{"delete", "journalled"}, KillPoint{"delete", "indexed"},
                      KillPoint{"rename", "journalled"}, KillPoint{"rename", "placed"},
                      KillPoint{"rename", "indexed"}),
    [](const ::testing::TestParamInfo<KillPoint>& info) {
      std::string name = std::string(info.param.change) + "_" + info.param.step;
      for (char& c : name) c = c == ' ' ? '_' : c;
      return name;
    });

TEST(CardJournalText, ReadsWhatItWritesAndNothingCutOff) {
  const std::vector<JournalEntry> entries = {{JournalEntry::Kind::Add, "Music/a\tb.mp3", 12, {}},
                                             {JournalEntry::Kind::Drop, "Music/old.mp3", 99, {}},
                                             {JournalEntry::Kind::Move, "Music/new.mp3", 7, "Music/o\nld.mp3"}};
  const std::string text = FormatJournal(entries);
  EXPECT_EQ(ParseJournal(text), entries);
  for (std::size_t cut = 0; cut < text.size(); ++cut) EXPECT_FALSE(ParseJournal(text.substr(0, cut))) << cut;
  EXPECT_FALSE(ParseJournal(text + "x\n"));
}

// --- a real mount: a card unmounted under a send, and a full card ---

class MountedCardTest : public HostileCardTest {
 protected:
  void SetUp() override {
    HostileCardTest::SetUp();
    bare_ = Snapshot(card_);
    if (::geteuid() != 0 || ::mount("tonvault-card", card_.c_str(), "tmpfs", 0, "size=256k") != 0) {
      GTEST_SKIP() << "mounting a tmpfs card needs root";
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount2(card_.c_str(), MNT_DETACH);
  }
  bool mounted_ = false;
  std::map<std::string, std::string> bare_;  // the mount point's own folder
};

TEST_F(MountedCardTest, AnUnmountedCardEndsTheSendAndNothingLandsOnTheMountPoint) {
  FolderPlayer player(card_);
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
  int id = 0;
  ASSERT_EQ(device.SendTrack(pc_, Song("One"), id), kOk);
  ASSERT_EQ(::umount2(card_.c_str(), MNT_DETACH), 0);
  mounted_ = false;
  EXPECT_EQ(device.SendTrack(pc_, Song("Two"), id), kRemoved);
  EXPECT_EQ(device.SendTrack(pc_, Song("Three"), id), kRemoved);
  EXPECT_EQ(Snapshot(card_), bare_);
}

TEST_F(MountedCardTest, AFullCardFailsTheChangeThePlayerWouldRead) {
  FolderPlayer player(card_);
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);
  int id = 0, playlist = 0;
  ASSERT_EQ(device.SendTrack(pc_, Song("One"), id), kOk);
  ASSERT_EQ(device.CreatePlaylist("List", playlist), kOk);
  {
    std::ofstream filler(card_ + "/filler");
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  const std::string big = WriteMp3(temp_.Path() + "/big.mp3", 2000);
  EXPECT_EQ(device.SendTrack(big, Song("Big"), id), kDiskFull);
  EXPECT_EQ(device.SetPlaylist(playlist, {"List", {1, 1, 1, 1, 1, 1, 1, 1}}), kDiskFull);
  Playlist kept;
  EXPECT_EQ(device.GetPlaylist(playlist, kept), kOk);
  EXPECT_TRUE(kept.trackIds.empty());
  device.CloseDevice();
  fs::remove(card_ + "/filler");
  PlayerStore store(card_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_EQ(store.Index().tracks.size(), 1u);
}

}  // namespace
}  // namespace tonvault::device
