// The Playlists page's commands over the simulated Jukebox and the folder
// player: what reaches the player, what the user is asked and told, and
// what the playlist files hold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "catalogue/TextFormats.h"
#include "device/DeviceTestSupport.h"
#include "device/folder/FolderPlayer.h"
#include "device/playlists/PlaylistManager.h"
#include "files/ReadWholeFile.h"
#include "files/ReplaceFile.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;

AudioInfo Track(const std::string& title) {
  AudioInfo info = test::Mp3Track(title);
  info.length = 100;
  return info;
}

// Param: true runs over the folder player, false over the simulated Jukebox.
class PlaylistCommandsTest : public test::PlayerFixture<::testing::TestWithParam<bool>> {
 protected:
  // A player holding the tracks T1..Tn (IDs 1..n) and these playlists.
  PlaylistManager& Attach(int tracks, const std::vector<std::pair<std::string, std::vector<int>>>& playlists = {}) {
    root_ = GetParam() ? temp_.Path() + "/folder" : MemoryRoot(kKindJukebox);
    std::vector<AudioInfo> infos;
    for (int n = 1; n <= tracks; ++n) infos.push_back(Track(std::string(1, 'T').append(std::to_string(n))));
    test::WritePlayerIndex(root_, infos);
    PlaylistList list;
    for (const auto& [name, ids] : playlists) list.playlists[list.nextId++] = {{name, ids}, name + ".m3u8"};
    EXPECT_FALSE(files::WriteWholeFile(root_ + "/.tonvault-player/playlists.txt", FormatPlaylistList(list)));
    if (GetParam()) {
      Use(std::make_unique<FolderPlayer>(root_));
    } else {
      UseSimulated({kKindJukebox});
    }
    manager_ = std::make_unique<PlaylistManager>(app_, *session_, *content_);
    manager_->nowText = [] { return "09.12.2026 10:00:00"; };
    manager_->recoveryFolder = temp_.Path() + "/recovery";
    app_.options.rename.substitute = "_";
    app_.options.playlist.sortWarning = false;
    app_.currentPage = catalogue::Page::Playlists;
    return *manager_;
  }
  // Fails the next `times` calls of `call` (the simulated player only).
  bool Fail(const std::string& call, Status status, int times = 1) {
    if (player_ == nullptr) return false;
    player_->FailNext(call, status, times);
    return true;
  }
  // The playlists on the player as "name: id id ..." in the player's order.
  std::vector<std::string> OnPlayer() {
    std::vector<std::string> lines;
    EXPECT_TRUE(session_->StartDevice(true));
    Device& device = session_->CurrentDevice();
    int id = 0;
    for (Status status = device.FindFirstPlaylist(id); status == kOk; status = device.FindNextPlaylist(id)) {
      Playlist playlist;
      device.GetPlaylist(id, playlist);
      std::string line = playlist.name + ":";
      for (int track : playlist.trackIds) {
        line += ' ';
        line += std::to_string(track);
      }
      lines.push_back(line);
    }
    session_->StopDevice(true, false);
    return lines;
  }
  std::vector<std::string> Column(const std::vector<ListRow>& rows, std::size_t text) const {
    std::vector<std::string> texts;
    for (const ListRow& row : rows) texts.push_back(row.texts.at(text));
    return texts;
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }
  // Reads the player into FILES and selects the rows of these titles.
  void SelectInFiles(const std::vector<std::string>& titles) {
    if (app_.files.empty()) content_->ReadFilesOnNjb();
    for (auto& row : app_.files) {
      row.selected = std::find(titles.begin(), titles.end(), app_.columnMap.Get(row, Column::Title)) != titles.end();
    }
  }

  std::string root_;
  std::unique_ptr<PlaylistManager> manager_;
};

INSTANTIATE_TEST_SUITE_P(Backends, PlaylistCommandsTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "FolderPlayer" : "SimulatedJukebox"; });

TEST_P(PlaylistCommandsTest, LoadingListsEveryPlaylistAndShowsTheFirstSelectedOnesTracks) {
  PlaylistManager& manager = Attach(3, {{"Rock", {3, 1, 99}}, {"Empty", {}}});
  manager.LoadPlaylists();
  const PlaylistLists& lists = manager.Lists();
  // A track the player no longer has does not count.
  EXPECT_EQ(Column(lists.playlists, kPlaylistName), (std::vector<std::string>{"Rock", "Empty"}));
  EXPECT_EQ(Column(lists.playlists, kPlaylistTracks), (std::vector<std::string>{"2", "0"}));
  EXPECT_EQ(Column(lists.playlists, kPlaylistLength), (std::vector<std::string>{"00:03:20", "00:00:00"}));
  EXPECT_EQ(lists.playlists[0].icon, 27);
  EXPECT_TRUE(lists.tracks.empty());
  manager.SelectPlaylist(0);
  EXPECT_EQ(Column(lists.tracks, kTrackTitle), (std::vector<std::string>{"T3", "T1"}));
  EXPECT_EQ(Column(lists.tracks, kTrackId), (std::vector<std::string>{"3", "1"}));
  EXPECT_EQ(lists.tracks[0].icon, 28);
  EXPECT_EQ(frontend_.LastCommandState().code, 13);
}

TEST_P(PlaylistCommandsTest, ATrackTheTableDoesNotKnowShowsNotFound) {
  PlaylistManager& manager = Attach(2, {{"P", {1, 2}}});
  if (!Fail("GetTrackInfo", kFailed)) GTEST_SKIP() << "needs a scripted fault";
  manager.LoadPlaylists();  // the table is read first and misses track 1
  manager.SelectPlaylist(0);
  EXPECT_EQ(Column(manager.Lists().tracks, kTrackArtist), (std::vector<std::string>{"NOT FOUND", "Artist"}));
  EXPECT_EQ(Column(manager.Lists().tracks, kTrackId), (std::vector<std::string>{"-2", "2"}));
}

TEST_P(PlaylistCommandsTest, NewPlaylistsRefuseListedNamesAndTakeTheDateWithoutOne) {
  PlaylistManager& manager = Attach(1, {{"Rock", {}}});
  manager.LoadPlaylists();
  frontend_.Input("Rock");
  manager.NewPlaylist();
  frontend_.Input("");
  manager.NewPlaylist();
  frontend_.Input(std::nullopt);
  manager.NewPlaylist();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(error): A playlist with the same\n\rname already exists ! [OK]"}));
  EXPECT_EQ(frontend_.Log("input: ").front(), "input: New Playlist: Enter name for new playlist: -> Rock");
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"Rock:", "09.12.2026 10:00:00:"}));
  EXPECT_EQ(manager.Lists().playlists.back().texts[kPlaylistName], "09.12.2026 10:00:00");
}

TEST_P(PlaylistCommandsTest, RenamingToItsOwnNameIsRefusedAndAnotherNameReachesThePlayer) {
  PlaylistManager& manager = Attach(2, {{"Old", {2}}});
  manager.LoadPlaylists();
  manager.RenamePlaylist();  // nothing selected
  manager.SelectPlaylist(0);
  frontend_.Input("Old");
  manager.RenamePlaylist();
  frontend_.Input("New");
  manager.RenamePlaylist();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): Please select a playlist first. [OK]",
                            "message(error): A playlist with the same\n\rname already exists ! [OK]"}));
  EXPECT_EQ(frontend_.Log("input: ").back(), "input: New Playlist: Enter name for new playlist: -> New");
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"New: 2"}));
  EXPECT_EQ(manager.Lists().playlists[0].texts[kPlaylistTracks], "1");
  if (GetParam()) {
    EXPECT_TRUE(std::filesystem::exists(root_ + "/Playlists/New.m3u8"));
    EXPECT_FALSE(std::filesystem::exists(root_ + "/Playlists/Old.m3u8"));
  }
}

TEST_P(PlaylistCommandsTest, DeletingAsksAndRemovesThePlaylistOrSaysWhyNot) {
  PlaylistManager& manager = Attach(1, {{"A", {1}}, {"B", {}}});
  manager.LoadPlaylists();
  manager.SelectPlaylist(0);
  frontend_.Answer(Button::No);
  manager.DeletePlaylist();
  frontend_.Answer(Button::Yes);
  manager.DeletePlaylist();
  EXPECT_EQ(Messages().front(),
            "message(confirmation): Do you really want to delete\n\rPlaylist \"A\" ? [Yes/No] -> No");
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"B:"}));
  EXPECT_EQ(Column(manager.Lists().playlists, kPlaylistName), (std::vector<std::string>{"B"}));
  EXPECT_TRUE(manager.Lists().tracks.empty());
  manager.SelectPlaylist(0);
  if (!Fail("DeletePlaylist", kBusy)) return;
  frontend_.Answer(Button::Yes);
  manager.DeletePlaylist();
  EXPECT_EQ(Messages().back(), "message(error): ERROR deleting Playlist ! [OK]");
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"B:"}));
}

TEST_P(PlaylistCommandsTest, AddingSelectedFilesChecksTheRowsAndCreatesAPlaylistOnTheWay) {
  PlaylistManager& manager = Attach(3);
  manager.LoadPlaylists();
  manager.AddSelectedFiles();  // nothing selected
  app_.files.push_back(catalogue::TrackRecord{});
  app_.files.back().selected = true;  // a file on the computer
  manager.AddSelectedFiles();
  app_.files.clear();
  SelectInFiles({"T3", "T1"});
  frontend_.Input(std::nullopt);
  manager.AddSelectedFiles();
  frontend_.Input("Fresh");
  manager.AddSelectedFiles();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): Please select files on\n\rFILES or RESULTS first. [OK]",
                            "message(information): Only on NJB stored files can\n\rbe added to a playlist. [OK]",
                            "message(information): Please select or create\n\ra playlist first. [OK]"}));
  EXPECT_EQ(frontend_.Log("input: ").back(), "input: Create new PlayList: Enter name for new PlayList -> Fresh");
  // In the order of FILES, which lists the player's tracks by ID.
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"Fresh: 1 3"}));
  EXPECT_EQ(Column(manager.Lists().tracks, kTrackTitle), (std::vector<std::string>{"T1", "T3"}));
  EXPECT_EQ(app_.currentPage, catalogue::Page::Playlists);
}

TEST_P(PlaylistCommandsTest, TwoHundredFiftyRowsOnSixtyTracksAskTheLongPlaylistQuestion) {
  std::vector<int> sixty;
  for (int id = 1; id <= 60; ++id) sixty.push_back(id);
  PlaylistManager& manager = Attach(250, {{"Big", sixty}});
  manager.LoadPlaylists();
  manager.SelectPlaylist(0);
  content_->ReadFilesOnNjb();
  for (auto& row : app_.files) row.selected = true;
  frontend_.Answer(Button::No);
  manager.AddSelectedFiles();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(confirmation): Long playlists can cause problems !\n\r\rDo you really want to "
                            "create a\n\rplaylist with 310 tracks ? [Yes/No] -> No"}));
  EXPECT_EQ(manager.Lists().tracks.size(), 60u);
  frontend_.Answer(Button::Yes);
  manager.AddSelectedFiles();
  EXPECT_EQ(manager.Lists().tracks.size(), 310u);
  EXPECT_EQ(manager.Lists().playlists[0].texts[kPlaylistTracks], "310");
}

TEST_P(PlaylistCommandsTest, DeletingTracksFromThePlaylistTakesTheSelectedOnes) {
  PlaylistManager& manager = Attach(3, {{"P", {1, 2, 3, 2}}});
  manager.LoadPlaylists();
  manager.SelectPlaylist(0);
  manager.DeleteFromPlaylist();
  manager.Lists().tracks[1].selected = manager.Lists().tracks[2].selected = true;
  frontend_.Answer(Button::Yes);
  manager.DeleteFromPlaylist();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): No tracks selected. [OK]",
                            "message(confirmation): Do you really want to delete\n\r2 tracks  ? [Yes/No] -> Yes"}));
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"P: 1 2"}));
}

TEST_P(PlaylistCommandsTest, ShufflingTwoTracksKeepsTheOrderAndSavingWritesTheDisplayedOrder) {
  PlaylistManager& manager = Attach(3, {{"P", {1, 2}}, {"Q", {1, 2, 3}}});
  manager.LoadPlaylists();
  manager.SelectPlaylist(0);
  manager.ShuffleTracks();
  EXPECT_EQ(Column(manager.Lists().tracks, kTrackId), (std::vector<std::string>{"1", "2"}));
  manager.SelectPlaylist(1);
  manager.DragTrack(2, 0);
  manager.SaveTrackOrder();
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"P: 1 2", "Q: 3 1 2"}));
  EXPECT_EQ(Column(manager.Lists().tracks, kTrackId), (std::vector<std::string>{"3", "1", "2"}));
  if (GetParam()) {
    // The player itself plays the playlist from its .m3u8 file.
    std::string m3u8;
    ASSERT_FALSE(files::ReadWholeFile(root_ + "/Playlists/Q.m3u8", m3u8));
    EXPECT_EQ(m3u8, "#EXTM3U\n#EXTINF:100,Artist - T3\n../Music/T3.mp3\n#EXTINF:100,Artist - T1\n"
                    "../Music/T1.mp3\n#EXTINF:100,Artist - T2\n../Music/T2.mp3\n");
  }
}

TEST_P(PlaylistCommandsTest, SavingTheTrackOrderTriesAgainWhileThePlayerIsBusyUntilStopped) {
  PlaylistManager& manager = Attach(2, {{"P", {1, 2}}});
  manager.LoadPlaylists();
  manager.SelectPlaylist(0);
  manager.DragTrack(0, 1);
  // Removing the tracks passes; the next two writes are refused.
  if (!Fail("SetPlaylist", kOk)) GTEST_SKIP() << "needs scripted faults";
  player_->FailNext("SetPlaylist", kBusy, 2);
  const auto sleptBefore = frontend_.Slept();
  manager.SaveTrackOrder();
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"P: 2 1"}));
  // Two waits of 21 x 500 ms (and the session's own short pauses), not a third.
  EXPECT_GE(frontend_.Slept() - sleptBefore, std::chrono::milliseconds(2 * 21 * 500));
  EXPECT_LT(frontend_.Slept() - sleptBefore, std::chrono::milliseconds(3 * 21 * 500));
  EXPECT_TRUE(Messages().empty());

  manager.SelectPlaylist(0);
  manager.DragTrack(0, 1);
  player_->FailNext("SetPlaylist", kOk);
  player_->FailNext("SetPlaylist", kBusy, 40);
  frontend_.AtPump(frontend_.Pumps() + 10, [this] { app_.stopRequest = true; });
  frontend_.AtPump(frontend_.Pumps() + 20, [this] { app_.stopRequest = true; });
  frontend_.Answer(Button::No);
  frontend_.Answer(Button::Yes);
  manager.SaveTrackOrder();
  const std::string stop = "message(confirmation): The playlist is lost on STOP !\n\r\rDo you really want to STOP ? [Yes/No] -> ";
  EXPECT_EQ(Messages(), (std::vector<std::string>{stop + "No", stop + "Yes",
                                                  "message(error): ERROR adding tracks to playlist ! [OK]"}));
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"P:"}));
}

// --- the order of the playlists ---

constexpr const char* kSortWarningStart = "message(warning): Sorting Playlists can only be done\n\rby deleting";

TEST_P(PlaylistCommandsTest, SavingThePlaylistOrderWarnsThenRecreatesThemInListOrder) {
  PlaylistManager& manager = Attach(3, {{"A", {1, 2}}, {"B", {3}}, {"C", {}}});
  manager.LoadPlaylists();
  manager.DragPlaylist(2, 0);
  app_.options.playlist.sortWarning = true;
  frontend_.Answer(Button::No);
  manager.SavePlaylistOrder();
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"A: 1 2", "B: 3", "C:"}));
  frontend_.Answer(Button::Ignore);
  manager.SavePlaylistOrder();
  EXPECT_FALSE(app_.options.playlist.sortWarning);
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].rfind(kSortWarningStart, 0), 0u);
  EXPECT_NE(Messages()[1].find("[Yes/No/Ignore] -> Ignore"), std::string::npos);
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"C:", "A: 1 2", "B: 3"}));
  EXPECT_EQ(Column(manager.Lists().playlists, kPlaylistName), (std::vector<std::string>{"C", "A", "B"}));
  // The copies are gone once every playlist is back.
  EXPECT_TRUE(std::filesystem::is_empty(manager.recoveryFolder));
  frontend_.ClearLog();
  manager.DragPlaylist(0, 1);
  manager.DragPlaylist(0, 1);
  manager.Lists().playlists.pop_back();
  manager.Lists().playlists.pop_back();
  manager.SavePlaylistOrder();  // one left on screen
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): Please load or create at least 2 Playlists first. [OK]"}));
}

TEST_P(PlaylistCommandsTest, APlayerFailingWhileRecreatingLeavesCopiesThatLoadBackTheSamePlaylists) {
  PlaylistManager& manager = Attach(3, {{"A", {1, 2}}, {"B?", {3, 1}}});
  if (!Fail("CreatePlaylist", kOk)) GTEST_SKIP() << "needs scripted faults";
  player_->FailNext("CreatePlaylist", kBusy);  // the second one
  manager.LoadPlaylists();
  manager.DragPlaylist(1, 0);
  manager.SavePlaylistOrder();
  ASSERT_EQ(Messages().size(), 1u);
  const std::string error = Messages()[0];
  EXPECT_EQ(error.rfind("message(error): Error while saving Playlists !\n\r\rAt least some of your Playlists\n\rare "
                        "lost.\n\r\rCopies of all of them are in\n\r\"" + manager.recoveryFolder + "/",
                        0),
            0u)
      << error;
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"B?: 3 1"}));

  // The copies, in the order of the list, bring the lost playlist back.
  const auto run = std::filesystem::directory_iterator(manager.recoveryFolder)->path();
  std::vector<std::string> copies;
  for (const auto& entry : std::filesystem::directory_iterator(run)) copies.push_back(entry.path().string());
  std::sort(copies.begin(), copies.end());
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(std::filesystem::path(copies[0]).filename(), "1 B_.TVP");
  frontend_.ChooseFiles(copies);
  frontend_.Answer(Button::No);  // "B?" exists: no songs added to it
  manager.LoadFromPc();
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"B?: 3 1", "A: 1 2"}));
}

TEST_P(PlaylistCommandsTest, NothingIsDeletedWhenTheCopiesCannotBeWritten) {
  PlaylistManager& manager = Attach(1, {{"A", {1}}, {"B", {}}});
  manager.recoveryFolder = "/proc/no-such-place";
  manager.LoadPlaylists();
  manager.SavePlaylistOrder();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("No Playlist was changed."), std::string::npos);
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"A: 1", "B:"}));
}

// --- playlist files ---

TEST_P(PlaylistCommandsTest, SavingToThePcNamesFilesWithTheSubstituteAndAsksBeforeReplacing) {
  PlaylistManager& manager = Attach(2, {{"Why?", {2, 1}}, {"Empty", {}}, {"Other", {1}}});
  const std::string folder = temp_.Path() + "/lists";
  std::filesystem::create_directories(folder);
  ASSERT_FALSE(files::WriteWholeFile(folder + "/Other.TVP", "old"));
  app_.playlistFolder = folder + "/gone/deeper/";
  frontend_.ChooseFolderAnswer(folder);
  frontend_.Answer(Button::NoToAll);
  manager.SaveAllToPc();
  EXPECT_EQ(frontend_.Log("folder dialog: ").at(0),
            "folder dialog: Select Folder to store PlayLists: @" + folder + " -> " + folder);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(information): PlayList is empty - will not be saved. [OK]",
                            "message(confirmation): File  \"" + folder + "/Other.TVP\"  exists.\n\r\rReplace it ? "
                            "[Yes/No/No to All/Yes to All] -> No to All"}));
  std::string text;
  ASSERT_FALSE(files::ReadWholeFile(folder + "/Why_.TVP", text));
  EXPECT_EQ(text, "\xEF\xBB\xBFWhy?\r\n\r\nT2\r\nArtist\r\nAlbum\r\n\r\nT1\r\nArtist\r\nAlbum\r\n");
  ASSERT_FALSE(files::ReadWholeFile(folder + "/Other.TVP", text));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(app_.playlistFolder, folder + "/");
  EXPECT_FALSE(FirstSelected(manager.Lists().playlists));
  EXPECT_TRUE(manager.Lists().tracks.empty());
}

TEST_P(PlaylistCommandsTest, LoadingFilesCreatesOrAsksAndWarnsAboutMissingTracks) {
  PlaylistManager& manager = Attach(2, {{"Known", {1}}});
  const std::string folder = temp_.Path();
  ASSERT_FALSE(files::WriteWholeFile(folder + "/short.TVP", "Four lines\r\n\r\nT1\r\nArtist\r\n"));
  ASSERT_FALSE(files::WriteWholeFile(folder + "/known.tvp", "Known\r\n\r\nT2\r\nArtist\r\nAlbum\r\n"));
  ASSERT_FALSE(files::WriteWholeFile(folder + "/new.TVP",
                                     "New\r\n\r\nGone\r\nNobody\r\nNowhere\r\n\r\nT2\r\nARTIST\r\nalbum\r\n"
                                     "\r\nLost\r\nx\r\ny\r\n\r\nT1\r\nArtist\r\nAlbum\r\n"));
  frontend_.ChooseFiles({folder + "/short.TVP", folder + "/known.tvp", folder + "/new.TVP"});
  frontend_.Answer(Button::No);  // do not add songs to "Known"
  frontend_.Answer(Button::No);  // no more warnings for missing tracks
  manager.LoadFromPc();
  EXPECT_EQ(frontend_.LastFileDialog().filter, "Tonvault PlayList   (*.TVP)|*.TVP");
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(confirmation): PlayList  \"Known\"  exists.\n\r\rAdd songs ? "
                            "[Yes/No/No to All/Yes to All] -> No",
                            "message(warning): Gone\n\rNobody\n\rNowhere\n\r\rnot found on NJB !\n\r\r"
                            "Show warning for each missing track ? [Yes/No/Cancel] -> No"}));
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"Known: 1", "Four lines:", "New: 2 1"}));

  // Cancel at a missing track abandons the run.
  frontend_.ClearLog();
  frontend_.ChooseFiles({folder + "/new.TVP", folder + "/short.TVP"});
  frontend_.Answer(Button::Yes);  // add to the existing "New"
  frontend_.Answer(Button::Cancel);
  manager.LoadFromPc();
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"Known: 1", "Four lines:", "New: 2 1"}));
}

TEST_P(PlaylistCommandsTest, APlaylistFileOverTheLimitsIsRefusedBeforeThePlayerChanges) {
  PlaylistManager& manager = Attach(1, {{"Kept", {1}}});
  const std::string folder = temp_.Path();
  const auto copies = [](std::size_t tracks) {
    std::string text = "Many\r\n";
    for (std::size_t i = 0; i < tracks; ++i) text += "\r\nT1\r\nArtist\r\nAlbum\r\n";
    return text;
  };
  ASSERT_FALSE(files::WriteWholeFile(folder + "/over.TVP", copies(kMaxPlaylistTracks + 1)));
  ASSERT_FALSE(files::WriteWholeFile(folder + "/big.TVP", "Big\r\n\r\nT1\r\nArtist\r\nAlbum\r\n"));
  ASSERT_EQ(::truncate((folder + "/big.TVP").c_str(), static_cast<off_t>(kMaxPlaylistFileBytes + 1)), 0);
  frontend_.ChooseFiles({folder + "/over.TVP", folder + "/big.TVP"});
  manager.LoadFromPc();
  const auto refusal = [&](const std::string& name) {
    return "message(error): Cannot load File\n\r\"" + folder + "/" + name +
           "\" !\n\r\rThe PlayList file is too large: at most 100.000 tracks (10 MB). [OK]";
  };
  EXPECT_EQ(Messages(), (std::vector<std::string>{refusal("over.TVP"), refusal("big.TVP")}));
  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"Kept: 1"}));

  // Exactly as many tracks as a playlist may hold load.
  frontend_.ClearLog();
  ASSERT_FALSE(files::WriteWholeFile(folder + "/most.TVP", copies(kMaxPlaylistTracks)));
  frontend_.ChooseFiles({folder + "/most.TVP"});
  manager.LoadFromPc();
  EXPECT_TRUE(Messages().empty());
  const std::vector<std::string> lists = OnPlayer();
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0], "Kept: 1");
  EXPECT_EQ(lists[1].substr(0, 5), "Many:");
  EXPECT_EQ(static_cast<std::size_t>(std::count(lists[1].begin(), lists[1].end(), ' ')), kMaxPlaylistTracks);
}

TEST_P(PlaylistCommandsTest, ANomadIIHasNoPlaylists) {
  if (GetParam()) GTEST_SKIP() << "a folder player is a Jukebox";
  root_ = temp_.Path();
  auto player = std::make_unique<SimulatedPlayer>(temp_.Path(), std::vector<int>{kKindNomadII});
  Device& device = player->GetDevice();
  ASSERT_EQ(device.OpenDevice(kKindNomadII), kOk);
  int id = 0;
  EXPECT_EQ(device.CreatePlaylist("x", id), kNotSupported);
  EXPECT_EQ(device.FindFirstPlaylist(id), kNotSupported);
  int count = -1;
  EXPECT_EQ(device.CountPlaylists(count), kNotSupported);
}

TEST_P(PlaylistCommandsTest, CountingPlaylistsCountsEveryOne) {
  Attach(1, {{"A", {}}, {"B", {1}}, {"C", {}}});
  ASSERT_TRUE(session_->StartDevice(true));
  int count = 0;
  EXPECT_EQ(session_->CurrentDevice().CountPlaylists(count), kOk);
  EXPECT_EQ(count, 3);
}

TEST_P(PlaylistCommandsTest, ADamagedPlaylistListIsNeverOverwritten) {
  PlaylistManager& manager = Attach(1, {{"Kept", {1}}});
  const std::string list = root_ + "/.tonvault-player/playlists.txt";
  std::string text;
  ASSERT_FALSE(files::ReadWholeFile(list, text));
  text.resize(text.size() - 4);  // cut off: the end line is gone
  ASSERT_FALSE(files::WriteWholeFile(list, text));
  manager.LoadPlaylists();
  EXPECT_TRUE(manager.Lists().playlists.empty());
  frontend_.Input("New");
  manager.NewPlaylist();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "message(error): ERROR saving Playlist !\n\r\rExisting playlist with same name ? [OK]"}));
  std::string after;
  ASSERT_FALSE(files::ReadWholeFile(list, after));
  EXPECT_EQ(after, text);
}

// Deleting a track from the player takes it out of every playlist naming
// it, on the player and in the .m3u8 files; other playlists' files stay as
// they are.
TEST_P(PlaylistCommandsTest, DeletingATrackTakesItOutOfThePlaylistsThatNameIt) {
  Attach(4, {{"A", {1, 2}}, {"B", {2, 3, 2}}, {"C", {3}}});
  const std::string untouched = "#EXTM3U\n# written before the deletion\n";
  std::filesystem::create_directories(root_ + "/Playlists");
  ASSERT_FALSE(files::WriteWholeFile(root_ + "/Playlists/C.m3u8", untouched));
  ASSERT_TRUE(session_->StartDevice(true));
  EXPECT_EQ(session_->CurrentDevice().DeleteTrack(2), kOk);
  session_->StopDevice(true, false);

  EXPECT_EQ(OnPlayer(), (std::vector<std::string>{"A: 1", "B: 3", "C: 3"}));
  std::string text;
  ASSERT_FALSE(files::ReadWholeFile(root_ + "/.tonvault-player/playlists.txt", text));
  const auto list = ParsePlaylistList(text);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->playlists.at(1).playlist.trackIds, (std::vector<int>{1}));
  EXPECT_EQ(list->playlists.at(2).playlist.trackIds, (std::vector<int>{3}));
  EXPECT_EQ(list->playlists.at(3).playlist.trackIds, (std::vector<int>{3}));
  const auto m3u8 = [this](const std::string& name) {
    std::string bytes;
    EXPECT_FALSE(files::ReadWholeFile(root_ + "/Playlists/" + name, bytes)) << name;
    return bytes;
  };
  EXPECT_EQ(m3u8("A.m3u8"), "#EXTM3U\n#EXTINF:100,Artist - T1\n../Music/T1.mp3\n");
  EXPECT_EQ(m3u8("B.m3u8"), "#EXTM3U\n#EXTINF:100,Artist - T3\n../Music/T3.mp3\n");
  EXPECT_EQ(m3u8("C.m3u8"), untouched);

  // A track no playlist names writes nothing.
  ASSERT_FALSE(files::WriteWholeFile(root_ + "/Playlists/A.m3u8", untouched));
  ASSERT_TRUE(session_->StartDevice(true));
  EXPECT_EQ(session_->CurrentDevice().DeleteTrack(4), kOk);
  session_->StopDevice(true, false);
  EXPECT_EQ(m3u8("A.m3u8"), untouched);
}

TEST_P(PlaylistCommandsTest, DeletingATrackLeavesADamagedPlaylistListAlone) {
  Attach(2, {{"Kept", {1, 2}}});
  const std::string list = root_ + "/.tonvault-player/playlists.txt";
  std::string text;
  ASSERT_FALSE(files::ReadWholeFile(list, text));
  text.resize(text.size() - 4);
  ASSERT_FALSE(files::WriteWholeFile(list, text));
  ASSERT_TRUE(session_->StartDevice(true));
  EXPECT_EQ(session_->CurrentDevice().DeleteTrack(1), kOk);
  session_->StopDevice(true, false);
  std::string after;
  ASSERT_FALSE(files::ReadWholeFile(list, after));
  EXPECT_EQ(after, text);
  EXPECT_FALSE(std::filesystem::exists(root_ + "/Playlists/Kept.m3u8"));
}

}  // namespace
}  // namespace tonvault::device
