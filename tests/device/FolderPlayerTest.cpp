// The folder player's library on disk: what survives a crash, what is
// rebuilt, what a read-only card answers; and the simulated player's faults.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "audio/Id3v2Tag.h"
#include "device/DeviceTestSupport.h"
#include "device/folder/CardNames.h"
#include "device/folder/FolderPlayer.h"
#include "device/folder/PlayerStore.h"
#include "device/folder/TrackIndex.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/FileTestSupport.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

namespace fs = std::filesystem;
using test::WriteMp3;

AudioInfo Info(const std::string& title) {
  AudioInfo info;
  info.title = title, info.artist = "Art/ist", info.album = "..", info.fileName = "take.mp3";
  return info;
}

class FolderPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_); }
  int Add(PlayerStore& store, const std::string& title) {
    int id = 0;
    EXPECT_EQ(store.AddTrack(song_, Info(title), id), kOk);
    return id;
  }
  testing::TempFolder temp_;
  std::string root_ = temp_.Path() + "/card";
  std::string song_ = WriteMp3(temp_.Path() + "/song.mp3");
};

TEST_F(FolderPlayerTest, TheIndexSurvivesAKillDuringItsWrite) {
  {
    PlayerStore store(root_);
    ASSERT_EQ(store.Open(), kOk);
    for (int i = 0; i < 20; ++i) Add(store, "Track " + std::to_string(i));
  }
  // The child rewrites the index without pause until it is killed.
  const auto ended = files::test::RunInChild(
      [this] {
        PlayerStore store(root_);
        if (store.Open() != kOk) return 1;
        for (int round = 0;; ++round) {
          for (const auto& [id, track] : store.Index().tracks) {
            AudioInfo info = track.info;
            info.comment = std::string(static_cast<std::size_t>(round % 500), 'x');
            if (store.SetTrackInfo(id, info) != kOk) return 2;
          }
        }
      },
      1);
  EXPECT_FALSE(ended.has_value());  // killed, not ended on its own
  PlayerStore store(root_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_FALSE(store.Rebuilt());
  EXPECT_EQ(store.Index().tracks.size(), 20u);
}

TEST_F(FolderPlayerTest, AMissingOrDamagedIndexIsRebuiltFromTheFiles) {
  {
    PlayerStore store(root_);
    ASSERT_EQ(store.Open(), kOk);
    Add(store, "First");
    Add(store, "Second");
  }
  fs::create_directories(root_ + "/Data");
  std::ofstream(root_ + "/Data/readme.txt") << "hello";
  std::ofstream(root_ + "/cover.jpg") << "not audio";
  const std::string indexPath = root_ + "/.tonvault-player/index.txt";
  fs::remove(indexPath);
  {
    PlayerStore store(root_);
    ASSERT_EQ(store.Open(), kOk);
    EXPECT_TRUE(store.Rebuilt());
    std::set<std::string> titles;
    for (const auto& [id, track] : store.Index().tracks) titles.insert(track.info.title);
    EXPECT_EQ(titles, (std::set<std::string>{"First", "Second"}));  // read back from the tags
    ASSERT_EQ(store.Index().dataFiles.size(), 1u);
    EXPECT_EQ(store.Index().dataFiles.begin()->second.info.fileSize, 5);
    EXPECT_TRUE(fs::exists(indexPath));
  }
  // Cut off in the middle, as an outside tool or a failing card might.
  const std::string whole = testing::Contents(indexPath);
  std::ofstream(indexPath, std::ios::trunc) << whole.substr(0, whole.size() / 2);
  PlayerStore store(root_);
  ASSERT_EQ(store.Open(), kOk);
  EXPECT_TRUE(store.Rebuilt());
  EXPECT_EQ(store.Index().tracks.size(), 2u);
}

TEST_F(FolderPlayerTest, SentFilesGetSafeNamesAndNoStagingFileOutlivesAnOpen) {
  {
    PlayerStore store(root_);
    ASSERT_EQ(store.Open(), kOk);
    const int id = Add(store, "x");
    // Separators and ".." from the tags never leave the music folder.
    EXPECT_EQ(store.Index().tracks.at(id).relativePath, "Music/Art_ist/Unknown Album/take.mp3");
    EXPECT_EQ(audio::ReadId3v2Tag(store.Root() + "/Music/Art_ist/Unknown Album/take.mp3").title, "x");
  }
  // A copy a killed transfer left under its staging name goes.
  std::ofstream(root_ + "/.tonvault-player/incoming-99.mp3") << "half";
  PlayerStore reopened(root_);
  ASSERT_EQ(reopened.Open(), kOk);
  EXPECT_FALSE(fs::exists(root_ + "/.tonvault-player/incoming-99.mp3"));
}

TEST_F(FolderPlayerTest, AReadOnlyPlayerRefusesEveryChangeWithAClearStatus) {
  int id = 0;
  {
    PlayerStore store(root_);
    ASSERT_EQ(store.Open(), kOk);
    id = Add(store, "Kept");
  }
  ::chmod(temp_.Path().c_str(), 0755);
  // Everything below the root belongs to root; as nobody, the card is read-only.
  const auto result = files::test::RunAsNobody([this, id] {
    FolderPlayer player(root_);
    Device& device = player.GetDevice();
    if (device.OpenDevice(kKindJukebox) != kOk) return 10;
    int newId = 0;
    if (device.SendTrack(song_, Info("New"), newId) != kReadOnly) return 11;
    if (device.SetTrackInfo(id, Info("Changed")) != kReadOnly) return 12;
    if (device.DeleteTrack(id) != kReadOnly) return 13;
    AudioInfo info;
    if (device.GetTrackInfo(id, info) != kOk || info.title != "Kept") return 14;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(StatusText(kReadOnly), "The player's storage is read-only; nothing can be changed on it.");
}

TEST(TrackIndexText, KeepsEveryTextAndRefusesDamage) {
  TrackIndex index;
  index.tracks[3] = {"Music/a\\b\tc.mp3", {}};
  index.tracks[3].info.title = "line\nbreak\r\\t";
  index.tracks[3].info.id = 3;
  index.dataFiles[5] = {"Data/x", {"x", 9, 5}};
  index.nextId = 6;
  const std::string text = FormatTrackIndex(index);
  const auto back = ParseTrackIndex(text);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->tracks.at(3).relativePath, "Music/a\\b\tc.mp3");
  EXPECT_EQ(back->tracks.at(3).info, index.tracks[3].info);
  EXPECT_EQ(back->dataFiles.at(5).info, index.dataFiles[5].info);

  EXPECT_FALSE(ParseTrackIndex(text.substr(0, text.size() - 1)));          // last line cut
  EXPECT_FALSE(ParseTrackIndex("TONVAULT-PLAYER-INDEX 1\nnext\t2\nend\t1\n"));  // count wrong
  std::string reused = text;
  reused.replace(reused.find("next\t6"), 6, "next\t4");                    // would give ID 5 again
  EXPECT_FALSE(ParseTrackIndex(reused));
  std::string badEscape = text;
  badEscape.replace(badEscape.find("\\n"), 2, "\\q");
  EXPECT_FALSE(ParseTrackIndex(badEscape));
}

// --- the simulated player's own abilities ---

TEST(SimulatedPlayer, ScriptedFaultsAnswerOnceEachAndANomadIIHasTwoMemories) {
  testing::TempFolder temp;
  const std::string song = WriteMp3(temp.Path() + "/song.mp3");
  SimulatedPlayer player(temp.Path() + "/sim", {kKindNomadII});
  Device& device = player.GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindJukebox), kOk);  // opens what is attached
  int kind = 0, id = 0;
  device.GetDeviceKind(kind);
  EXPECT_EQ(kind, kKindNomadII);

  player.FailNext("SendTrack", kBusy);
  player.FailNext("SendTrack", kDiskFull);
  EXPECT_EQ(device.SendTrack(song, Info("a"), id), kBusy);
  EXPECT_EQ(device.SendTrack(song, Info("a"), id), kDiskFull);
  ASSERT_EQ(device.SendTrack(song, Info("a"), id), kOk);
  test::RecordingSink sink;
  player.Events().Deliver(sink);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"send 25", "send 50", "send 75", "send 100",
                                                   "sent 0 id " + std::to_string(id)}));
  player.FailNext("ReceiveTrack", kCopyProtected);
  EXPECT_EQ(device.ReceiveTrack(id, temp.Path() + "/back.mp3"), kCopyProtected);

  ASSERT_EQ(device.SetActiveMemory(1), kOk);
  int found = 0;
  EXPECT_EQ(device.FindFirstTrack(found), kEndOfList);  // the external memory is empty
  EXPECT_EQ(device.SetActiveMemory(2), kNotSupported);
  ASSERT_EQ(device.SetActiveMemory(0), kOk);
  EXPECT_EQ(device.FormatMemory(), kOk);
  EXPECT_EQ(device.FindFirstTrack(found), kEndOfList);

  player.RemoveDuringNextTransfer();
  ASSERT_EQ(device.SendTrack(song, Info("b"), id), kOk);
  sink.events.clear();
  player.Events().Deliver(sink);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"send 25", "send 50", "removal"}));
  EXPECT_EQ(device.FindFirstTrack(found), kNotOpen);
}

TEST(CardNames, FoldAsACaseInsensitiveCardCompares) {
  EXPECT_EQ(FoldedName("Rock.M3U8"), "rock.m3u8");
  EXPECT_EQ(FoldedName("\xC3\x84rger \xC3\x9F"), "\xC3\xA4rger \xC3\x9F");               // Ä → ä, ß stays
  EXPECT_EQ(FoldedName("\xC5\x81\xC3\xB3" "d\xC5\xBA"), "\xC5\x82\xC3\xB3" "d\xC5\xBA");  // Łódź
  EXPECT_EQ(FoldedName("\xC5\xB8"), "\xC3\xBF");                                         // Ÿ → ÿ
  EXPECT_EQ(FoldedName("\xCE\xA3\xD0\xAF\xD0\x81"), "\xCF\x83\xD1\x8F\xD1\x91");    // Σ Я Ё
  EXPECT_EQ(FoldedName("\xFF\xC3"), "\xFF\xC3");  // bytes that are no UTF-8 stay
}

}  // namespace
}  // namespace tonvault::device
