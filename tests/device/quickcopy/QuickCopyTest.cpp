// The Quick Copy page's panes and its commands over the simulated player:
// grouping, icons, data files, copies both ways, deleting and copying
// track data into FILES.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "catalogue/ColumnMap.h"
#include "device/TransferTestSupport.h"
#include "catalogue/PageChange.h"
#include "device/quickcopy/QuickCopy.h"

namespace tonvault::device {
namespace {

using catalogue::Button;

AudioInfo Track(const std::string& title, const std::string& album, const std::string& artist,
                const std::string& genre, const std::string& codec = "MP3", const std::string& file = "") {
  AudioInfo info;
  info.title = title, info.album = album, info.artist = artist, info.genre = genre, info.codec = codec;
  info.fileName = file.empty() ? title + ".mp3" : file;
  info.fileSize = 4096, info.length = 61;
  return info;
}

class QuickCopyTest : public test::TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    app_.uploadFolder = Pc();
    quick_ = std::make_unique<QuickCopy>(*context_);
  }
  // Puts tracks straight into the player's library; they need no files.
  void Load(const std::vector<AudioInfo>& tracks) {
    test::WritePlayerIndex(temp_.Path() + "/player/jukebox-internal", tracks);
  }
  void Reattach(int kind) {
    Attach(kind);
    quick_ = std::make_unique<QuickCopy>(*context_);
  }
  std::vector<std::string> Names(const std::vector<QuickRow>& rows) const {
    std::vector<std::string> names;
    for (const QuickRow& row : rows) names.push_back(row.Name());
    return names;
  }
  std::vector<int> Icons(const std::vector<QuickRow>& rows) const {
    std::vector<int> icons;
    for (const QuickRow& row : rows) icons.push_back(row.icon);
    return icons;
  }
  std::size_t RowNamed(const std::vector<QuickRow>& rows, const std::string& name) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].Name() == name) return i;
    }
    ADD_FAILURE() << name << " not listed";
    return 0;
  }
  // Opens a group (0 albums, 1 artists, 2 genres) and, when given, a name.
  void Open(std::size_t group, const std::string& name = {}) {
    quick_->FillPlayerPane(true);
    quick_->OpenPlayerRow(group);
    if (!name.empty()) quick_->OpenPlayerRow(RowNamed(quick_->PlayerRows(), name));
  }
  void DataMode() {
    app_.options.quick.audio = false;
    quick_->FillPcPane();
    quick_->FillPlayerPane(true);
  }
  // Sends the computer files named, in Data mode.
  void SendData(const std::vector<std::string>& names) {
    std::vector<std::size_t> rows;
    for (const std::string& name : names) rows.push_back(RowNamed(quick_->PcRows(), name));
    quick_->CopyToPlayer(rows);
  }

  std::unique_ptr<QuickCopy> quick_;
};

TEST_F(QuickCopyTest, PlayerLevelsGroupByExactNamesWithTheirPaths) {
  Load({Track("One", "Rock Hits", "Zed", "Rock"), Track("Two", "rock hits", "Zed", "Rock"),
        Track("Three", "", "Amy", "")});
  quick_->FillPlayerPane(true);
  EXPECT_EQ(quick_->PlayerPath(), "NJB  -  Audio-Files");
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Albums", "Artists", "Genres"}));
  EXPECT_FALSE(quick_->PlayerButtons().copy);

  quick_->OpenPlayerRow(0);
  EXPECT_EQ(quick_->Level(), QuickLevel::Names);
  EXPECT_EQ(quick_->PlayerPath(), "NJB  -  Albums");
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Rock Hits", "rock hits"}));
  EXPECT_TRUE(quick_->PlayerButtons().copy);
  EXPECT_TRUE(quick_->PlayerButtons().play);

  quick_->OpenPlayerRow(1);
  EXPECT_EQ(quick_->PlayerPath(), "NJB  -  Albums  -  rock hits");
  ASSERT_EQ(quick_->PlayerRows().size(), 1u);
  const QuickRow& row = quick_->PlayerRows()[0];
  EXPECT_EQ(row.texts, (std::array<std::string, 6>{"Two.mp3", "Two", "Zed", "rock hits", "00:01:01", "4"}));

  quick_->UpOneLevel();
  EXPECT_EQ(quick_->PlayerPath(), "NJB  -  Albums");
  quick_->UpOneLevel();
  EXPECT_EQ(quick_->Level(), QuickLevel::Groups);
  Open(2, "Rock");
  EXPECT_EQ(quick_->PlayerRows().size(), 2u);
}

TEST_F(QuickCopyTest, AlbumAndGenreListsTakeTheIconFromTheCodecTheArtistListFromTheName) {
  AudioInfo odd = Track("Odd", "Mixed", "Amy", "Pop", "WMA", "odd.mp3");
  AudioInfo locked = Track("Locked", "Mixed", "Amy", "Pop", "MP3", "locked.mp3");
  locked.isProtected = true;
  Load({odd, locked, Track("Clip", "Mixed", "Amy", "Pop", "NVF", "clip.wav"), Track("Note", "Mixed", "Amy", "Pop", "TXT", "note.txt")});
  Open(0, "Mixed");
  EXPECT_EQ(Icons(quick_->PlayerRows()), (std::vector<int>{21, 35, 39, 33}));
  quick_->UpOneLevel();
  quick_->UpOneLevel();
  quick_->OpenPlayerRow(2);
  quick_->OpenPlayerRow(0);
  EXPECT_EQ(Icons(quick_->PlayerRows()), (std::vector<int>{21, 35, 39, 33}));
  Open(1, "Amy");
  EXPECT_EQ(Icons(quick_->PlayerRows()), (std::vector<int>{28, 35, 29, 33}));
}

TEST_F(QuickCopyTest, ComputerPaneListsFoldersThenReadableFilesOfTheMode) {
  std::filesystem::create_directories(Pc() + "Sub");
  Mp3("b.mp3", 200, true);
  Mp3("a.mp3");
  std::ofstream(Pc() + "notes.txt") << std::string(3000, 'x');
  std::ofstream(Pc() + "Upper.MP3") << "data";
  std::ofstream(Pc() + "empty.mp3");
  quick_->FillPcPane();
  // A file that only pretends to be MPEG shows as corrupt.
  EXPECT_EQ(Names(quick_->PcRows()), (std::vector<std::string>{"Sub", "Upper.MP3", "a.mp3", "b.mp3"}));
  EXPECT_EQ(Icons(quick_->PcRows()), (std::vector<int>{32, 12, 7, 8}));
  EXPECT_EQ(quick_->PcRows()[3].texts[1], "Tagged");
  EXPECT_EQ(quick_->Folder(), Pc());

  DataMode();
  EXPECT_EQ(Names(quick_->PcRows()), (std::vector<std::string>{"Sub", "Upper.MP3", "notes.txt"}));
  EXPECT_EQ(quick_->PcRows()[2].texts[5], "2");
  EXPECT_EQ(quick_->PcRows()[2].icon, 33);

  quick_->OpenPcRow(0);
  EXPECT_EQ(quick_->Folder(), Pc() + "Sub/");
  quick_->OneLevelUp();
  EXPECT_EQ(quick_->Folder(), Pc());
}

TEST_F(QuickCopyTest, PopupEntriesFollowTheFocusedRowAndTheLevel) {
  std::filesystem::create_directories(Pc() + "Sub");
  Mp3("a.mp3");
  quick_->FillPcPane();
  EXPECT_EQ(quick_->PcPopup(false, std::nullopt), PcPopupState{});
  EXPECT_EQ(quick_->PcPopup(true, 0), (PcPopupState{true, false, false, false}));
  EXPECT_EQ(quick_->PcPopup(true, 1), (PcPopupState{true, true, true, true}));

  Load({Track("One", "Album", "Zed", "Rock")});
  quick_->FillPlayerPane(true);
  EXPECT_EQ(quick_->PlayerPopup(true), PlayerPaneState{});
  quick_->OpenPlayerRow(0);
  const PlayerPaneState names = quick_->PlayerPopup(true);
  EXPECT_TRUE(names.copy && names.remove && names.copyInfo && names.play && names.playlist);
  EXPECT_FALSE(names.songDetails);
  EXPECT_FALSE(quick_->PlayerPopup(false).copy);
  quick_->OpenPlayerRow(0);
  EXPECT_TRUE(quick_->PlayerPopup(true).songDetails);
}

TEST_F(QuickCopyTest, SongDetailsOfAPlayerTrack) {
  AudioInfo info = Track("One", "Album", "Zed", "Rock");
  info.year = 1987, info.bitrate = "128";
  Load({info});
  Open(0, "Album");
  frontend_.Answer(Button::Ok);
  quick_->PlayerSongDetails(0);
  EXPECT_EQ(Messages().back(),
            "message(information): Song Info:\n\r\rTitle:       \tOne\n\rArtist:      \tZed\n\r"
            "Album:       \tAlbum\n\rComment:     \t\n\rGenre:       \tRock\n\rYear:        \t1987\n\r"
            "Track:       \t\n\rCodec:       \tMP3\n\rBitrate:     \t128  kbit/sec\n\rLength:      \t00:01:01 [OK]");
}

TEST_F(QuickCopyTest, CopyToPlayerGathersBelowFoldersInPathOrderAndSkipsWhatCannotGo) {
  std::filesystem::create_directories(Pc() + "Album/CD2");
  test::WriteMp3(Pc() + "Album/CD2/b.mp3", 200);
  test::WriteMp3(Pc() + "Album/a.mp3", 200);
  std::ofstream(Pc() + "Album/cover.jpg") << "jpg";
  std::ofstream(Pc() + "Album/broken.mp3") << std::string(5000, 'z');
  quick_->FillPcPane();
  quick_->CopyToPlayer({RowNamed(quick_->PcRows(), "Album")});
  ASSERT_EQ(window_.Rows().size(), 2u);
  EXPECT_EQ(window_.Rows()[0].fileName, Pc() + "Album/CD2/b.mp3");
  EXPECT_EQ(window_.Rows()[1].fileName, Pc() + "Album/a.mp3");
  EXPECT_EQ(window_.Rows()[1].title, "a");
  EXPECT_EQ(window_.Rows()[1].artist, "<Unknown>");
  EXPECT_EQ(States(), (std::vector<std::string>{"Done", "Done"}));
  EXPECT_EQ(content_->Table().FindDeviceTrackId("<Unknown>", "b", "<Unknown>") > 0, true);
  // The pane was redrawn from the table.
  quick_->OpenPlayerRow(0);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"<Unknown>"}));
}

TEST_F(QuickCopyTest, CopyToPlayerRefusals) {
  quick_->FillPcPane();
  frontend_.Answer(Button::Ok);
  quick_->CopyToPlayer({});
  EXPECT_EQ(Messages().back(), "message(information): No files selected. [OK]");

  std::ofstream(Pc() + "notes.txt") << "x";
  quick_->FillPcPane();
  std::filesystem::remove(Pc() + "notes.txt");
  frontend_.Answer(Button::Ok);
  EXPECT_TRUE(quick_->PcRows().empty());
  Mp3("gone.mp3");
  quick_->FillPcPane();
  std::filesystem::remove(Pc() + "gone.mp3");
  quick_->CopyToPlayer({0});
  EXPECT_EQ(Messages().back(), "message(error): " + Pc() + "gone.mp3\n\r\rNot found ! [OK]");

  std::filesystem::create_directories(Pc() + "Empty");
  quick_->FillPcPane();
  frontend_.Answer(Button::Ok);
  quick_->CopyToPlayer({0});
  EXPECT_EQ(Messages().back(), "message(error): No valid files to transfer selected ! [OK]");
  EXPECT_TRUE(window_.Rows().empty());
}

TEST_F(QuickCopyTest, DataFilesReplaceAsTheExistingFilesSettingSays) {
  std::ofstream(Pc() + "notes.txt") << std::string(2048, 'a');
  DataMode();
  SendData({"notes.txt"});
  EXPECT_EQ(States(), (std::vector<std::string>{"Done"}));
  ASSERT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"notes.txt"}));
  const int firstId = quick_->PlayerRows()[0].id;

  // Replace never: the old file stays and the new one counts as an error.
  std::ofstream(Pc() + "NOTES.txt") << std::string(4096, 'b');
  quick_->FillPcPane();
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::ReplaceNever);
  SendData({"NOTES.txt"});
  EXPECT_EQ(States(), (std::vector<std::string>{"File exists"}));
  EXPECT_EQ(window_.Counters().errors, 1);
  EXPECT_NE(std::count(frontend_.Log().begin(), frontend_.Log().end(), "beep: asterisk"), 0);

  // Ask, answered No, then Yes.
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::Ask);
  frontend_.Answer(Button::No);
  SendData({"NOTES.txt"});
  EXPECT_EQ(States(), (std::vector<std::string>{"File exists"}));
  frontend_.Answer(Button::Yes);
  SendData({"NOTES.txt"});
  EXPECT_EQ(States(), (std::vector<std::string>{"Done"}));
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Transfering", "Replacing", "Done"}));
  ASSERT_EQ(quick_->PlayerRows().size(), 1u);
  EXPECT_EQ(quick_->PlayerRows()[0].Name(), "NOTES.txt");
  EXPECT_NE(quick_->PlayerRows()[0].id, firstId);

  // Replace always: no question.
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::ReplaceAlways);
  SendData({"notes.txt"});
  EXPECT_EQ(States(), (std::vector<std::string>{"Done"}));
  quick_->FillPlayerPane(true);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"notes.txt"}));
  EXPECT_EQ(quick_->PlayerRows()[0].texts[5], "2");
}

TEST_F(QuickCopyTest, ReplaceForThisSessionReplacesADataFileInsteadOfAddingATwin) {
  std::ofstream(Pc() + "notes.txt") << "one";
  DataMode();
  SendData({"notes.txt"});
  app_.options.download.existingFiles = static_cast<int>(ExistingFiles::ReplaceThisSession);
  SendData({"notes.txt"});
  EXPECT_EQ(window_.History(0), (std::vector<std::string>{"Waiting", "Transfering", "Replacing", "Done"}));
  quick_->FillPlayerPane(true);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"notes.txt"}));
}

TEST_F(QuickCopyTest, ADataFileCopiedBackOverALinkedFileGoesWhereTheLinkLeads) {
  std::ofstream(Pc() + "notes.txt") << "from the computer";
  DataMode();
  SendData({"notes.txt"});
  ASSERT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"notes.txt"}));
  const std::string kept = temp_.Path() + "/kept.txt";
  std::ofstream(kept) << "old";
  ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
  std::filesystem::remove(Pc() + "notes.txt");
  ASSERT_EQ(::symlink(kept.c_str(), (Pc() + "notes.txt").c_str()), 0);
  app_.options.upload.existingFiles = static_cast<int>(ExistingFiles::ReplaceAlways);

  quick_->CopyToPc({0});
  EXPECT_EQ(States(), (std::vector<std::string>{"Replaced"}));
  EXPECT_TRUE(std::filesystem::is_symlink(Pc() + "notes.txt"));
  EXPECT_EQ(test::ReadBytes(kept), "from the computer");
  EXPECT_EQ(std::filesystem::status(kept).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
  EXPECT_EQ(test::Names(Pc()), (std::vector<std::string>{"notes.txt"}));
}

TEST_F(QuickCopyTest, DataFilesInAFolderNamedLikeMusicAreStillSent) {
  std::filesystem::create_directories(Pc() + "Best.mp3 collection");
  std::ofstream(Pc() + "Best.mp3 collection/cover.txt") << "cover";
  std::ofstream(Pc() + "Best.mp3 collection/a.mp3") << "not sent as data";
  DataMode();
  SendData({"Best.mp3 collection"});
  ASSERT_EQ(window_.Rows().size(), 1u);
  EXPECT_EQ(window_.Rows()[0].fileName, Pc() + "Best.mp3 collection/cover.txt");
  EXPECT_EQ(States(), (std::vector<std::string>{"Done"}));
}

TEST_F(QuickCopyTest, AuxFilesAreHiddenOnANomadIIOnly) {
  std::ofstream(Pc() + "player.aux") << "aux";
  std::ofstream(Pc() + "readme.txt") << "txt";
  DataMode();
  SendData({"player.aux", "readme.txt"});
  quick_->FillPlayerPane(true);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"player.aux", "readme.txt"}));

  Reattach(kKindNomadII);
  DataMode();
  SendData({"player.aux", "readme.txt"});
  quick_->FillPlayerPane(true);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"readme.txt"}));
  EXPECT_EQ(quick_->PlayerPath(), "NJB  -  Data-Files");
}

TEST_F(QuickCopyTest, DroppingOnAFolderRowCopiesThereAndRemembersIt) {
  std::filesystem::create_directories(Pc() + "Target");
  Mp3("song.mp3", 200, true);
  quick_->FillPcPane();
  quick_->CopyToPlayer({RowNamed(quick_->PcRows(), "song.mp3")});
  std::filesystem::remove(Pc() + "song.mp3");
  Open(0, "<Unknown>");
  ASSERT_EQ(quick_->PlayerRows().size(), 1u);

  quick_->CopyToPc({0}, RowNamed(quick_->PcRows(), "Target"));
  EXPECT_EQ(app_.uploadFolder, Pc() + "Target/");
  EXPECT_EQ(quick_->Folder(), Pc() + "Target/");
  EXPECT_EQ(test::Names(Pc() + "Target").size(), 1u);
  EXPECT_EQ(quick_->PcRows().size(), 1u);
  EXPECT_EQ(window_.Counters().errors, 0);
}

TEST_F(QuickCopyTest, NameRowsCopyEveryTrackOfTheNameToThePc) {
  Mp3("one.mp3", 200, false);
  Mp3("two.mp3", 200, false);
  quick_->FillPcPane();
  quick_->CopyToPlayer({0, 1});
  std::filesystem::create_directories(Pc() + "Back");
  quick_->FillPcPane(Pc() + "Back/");
  Open(1);  // artists: "<Unknown>"
  quick_->CopyToPc({0});
  EXPECT_EQ(window_.Rows().size(), 2u);
  EXPECT_EQ(test::Names(Pc() + "Back").size(), 2u);
}

TEST_F(QuickCopyTest, DeletingANameRowDeletesExactlyThatNamesTracks) {
  Load({Track("One", "Live", "Zed", "Rock"), Track("Two", "live", "Zed", "Rock"), Track("Three", "Live ", "Zed", "Rock"),
        Track("Four", "Live", "Amy", "Pop")});
  Open(0);
  ASSERT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Live", "Live ", "live"}));
  frontend_.ClearLog();
  frontend_.Answer(Button::Yes);
  quick_->DeleteOnPlayer({0});
  EXPECT_EQ(frontend_.Log("message").back(),
            "message(confirmation): Are you sure that you want to delete the\n\r1 selected folders on the NJB ? "
            "[Yes/No] -> Yes");
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Live ", "live"}));
  EXPECT_EQ(CallCount("DeleteTrack"), 2);
  EXPECT_EQ(frontend_.Log("progress"), (std::vector<std::string>{"progress: 150", "progress: 300", "progress: 0"}));
  EXPECT_EQ(frontend_.Log("panel0").back(), "panel0: 0") << "tracks left";
  quick_->RefreshPlayerPane();
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Live ", "live"}));
  quick_->UpOneLevel();
  quick_->OpenPlayerRow(1);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Zed"}));
}

TEST_F(QuickCopyTest, DeletingTracksGoesOnAfterAFailure) {
  Load({Track("One", "Live", "Zed", "Rock"), Track("Two", "Live", "Zed", "Rock")});
  Open(0, "Live");
  player_->FailNext("DeleteTrack", 1);
  frontend_.Answer(Button::Yes);
  frontend_.Answer(Button::Ok);
  quick_->DeleteOnPlayer({0, 1});
  const auto messages = Messages();
  EXPECT_EQ(messages[messages.size() - 2],
            "message(confirmation): Are you sure that you want to delete the\n\r2 selected files on the NJB ? [Yes/No] -> Yes");
  EXPECT_EQ(messages.back(), "message(error): Cannot delete file Two.mp3 on NJB ! [OK]");
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Two.mp3"}));
}

TEST_F(QuickCopyTest, CopyInfoToFilesAppendsOrReplacesTheRows) {
  Load({Track("One", "Live", "Zed", "Rock"), Track("Two", "Live", "Zed", "Rock")});
  Open(0);
  quick_->CopyInfoToFiles({0});
  EXPECT_EQ(app_.files.size(), 2u);
  frontend_.Answer(Button::No);
  quick_->OpenPlayerRow(0);
  quick_->CopyInfoToFiles({1});
  ASSERT_EQ(app_.files.size(), 1u);
  EXPECT_EQ(app_.columnMap.Get(app_.files[0], catalogue::Column::Title), "Two");
  frontend_.Answer(Button::Cancel);
  quick_->CopyInfoToFiles({0});
  EXPECT_EQ(app_.files.size(), 1u);
}

TEST_F(QuickCopyTest, SortingBySizeReadsTheNumbersAndTogglesTheDirection) {
  AudioInfo big = Track("Big", "A", "Zed", "Rock");
  big.fileSize = 2'000'000;
  AudioInfo small = Track("Small", "A", "Zed", "Rock");
  small.fileSize = 900'000;
  Load({big, small});
  Open(0, "A");
  EXPECT_EQ(quick_->PlayerRows()[0].texts[5], "1.953");
  quick_->SortPlayerPane(6);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Small.mp3", "Big.mp3"}));
  quick_->SortPlayerPane(6);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Big.mp3", "Small.mp3"}));
  quick_->SortPlayerPane(1);
  EXPECT_EQ(Names(quick_->PlayerRows()), (std::vector<std::string>{"Big.mp3", "Small.mp3"}));
}

TEST_F(QuickCopyTest, NewDirectoryAndItsFailure) {
  frontend_.Input("Fresh");
  quick_->NewDirectory();
  EXPECT_TRUE(std::filesystem::is_directory(Pc() + "Fresh"));
  EXPECT_EQ(Names(quick_->PcRows()), (std::vector<std::string>{"Fresh"}));
  std::ofstream(Pc() + "file") << "x";
  frontend_.Input("file/sub");
  frontend_.Answer(Button::Ok);
  quick_->NewDirectory();
  EXPECT_EQ(Messages().back(), "message(error): Cannot create directory\n\r" + Pc() + "file/sub [OK]");
}

TEST_F(QuickCopyTest, SelectDirectoryStartsFromTheNearestFolderThatStillExists) {
  std::filesystem::create_directories(Pc() + "Other");
  app_.uploadFolder = Pc() + "gone/deeper/";
  frontend_.ChooseFolderAnswer(Pc() + "Other");
  quick_->SelectDirectory();
  EXPECT_EQ(frontend_.Log("folder").back(),
            "folder dialog: Select folder on PC: @" + Pc().substr(0, Pc().size() - 1) + " -> " + Pc() + "Other");
  EXPECT_EQ(quick_->Folder(), Pc() + "Other/");
  frontend_.ChooseFolderAnswer(std::nullopt);
  quick_->SelectDirectory();
  EXPECT_EQ(quick_->Folder(), Pc() + "Other/");
}

TEST_F(QuickCopyTest, PlayWithDefaultPlayerOpensSelectedFilesOnly) {
  std::filesystem::create_directories(Pc() + "Sub");
  Mp3("a.mp3");
  quick_->FillPcPane();
  quick_->PlayWithDefaultPlayer({0, 1});
  EXPECT_EQ(frontend_.Log("open"), (std::vector<std::string>{"open: " + Pc() + "a.mp3"}));
  frontend_.ClearLog();
  quick_->PlayWithDefaultPlayer({0});
  EXPECT_EQ(frontend_.Log("beep"), (std::vector<std::string>{"beep: default"}));
}

TEST_F(QuickCopyTest, NameRowsGoIntoANewPlaylistNamedAfterTheFirst) {
  Load({Track("One", "Live", "Zed", "Rock"), Track("Two", "Live", "Zed", "Rock"), Track("Three", "Else", "Amy", "Pop")});
  PlaylistManager playlists(app_, *session_, *content_);
  Open(0);
  frontend_.Input("Live");
  quick_->AddToPlaylist({RowNamed(quick_->PlayerRows(), "Live")}, playlists);
  EXPECT_EQ(app_.currentPage, catalogue::Page::Playlists);
  ASSERT_EQ(playlists.Lists().playlists.size(), 1u);
  EXPECT_EQ(playlists.Lists().tracks.size(), 2u);

  // With a playlist selected the user is asked first; No creates another.
  frontend_.Answer(Button::No);
  frontend_.Input("Other");
  quick_->OpenPlayerRow(RowNamed(quick_->PlayerRows(), "Else"));
  quick_->AddToPlaylist({0}, playlists);
  EXPECT_EQ(Messages().front(), "message(confirmation): Add to PlayList  \"Live\" ? [Yes/No] -> No");
  EXPECT_EQ(playlists.Lists().playlists.size(), 2u);
  EXPECT_EQ(playlists.Lists().tracks.size(), 1u);
}

TEST_F(QuickCopyTest, TracksOfANameAreCountedOnTheStatusBarOnceAPlaylistIsChosen) {
  std::vector<AudioInfo> tracks;
  for (int i = 0; i < 12; ++i) tracks.push_back(Track("Song " + std::to_string(i), "Live", "Zed", "Rock"));
  Load(tracks);
  PlaylistManager playlists(app_, *session_, *content_);
  Open(0);
  frontend_.ClearLog();
  frontend_.Input("Live");
  quick_->AddToPlaylist({0}, playlists);
  const auto log = frontend_.Log("");
  const auto asked = std::find_if(log.begin(), log.end(), [](const std::string& line) { return line.rfind("input", 0) == 0; });
  const auto counted = std::find(log.begin(), log.end(), "panel0: Add:  10");
  ASSERT_NE(counted, log.end());
  EXPECT_LT(asked, counted) << "the name is asked for before the tracks are gathered";
  EXPECT_EQ(playlists.Lists().tracks.size(), 12u);
}

TEST_F(QuickCopyTest, ANomadIIHasNoPlaylists) {
  Reattach(kKindNomadII);
  PlaylistManager playlists(app_, *session_, *content_);
  quick_->FillPlayerPane(true);
  frontend_.Answer(Button::Ok);
  quick_->AddToPlaylist({0}, playlists);
  EXPECT_EQ(Messages().back(), "message(information): Nomad II cannot handle PlayLists. [OK]");
}

TEST_F(QuickCopyTest, PlayingQueuesEveryTrackOfTheSelectedNamesAndShowsThePlayer) {
  Load({Track("One", "Live", "Zed", "Rock"), Track("Two", "Live", "Zed", "Rock"), Track("Three", "Else", "Amy", "Pop")});
  PlaybackControl playback(app_, *session_);
  Open(0);
  quick_->PlayOnPlayer({RowNamed(quick_->PlayerRows(), "Live")}, playback);
  EXPECT_EQ(CallCount("Play"), 1);
  EXPECT_EQ(CallCount("QueueTrack"), 1);
  EXPECT_FALSE(playback.QueueingInProgress());
  EXPECT_EQ(app_.currentPage, catalogue::Page::Player);
}

}  // namespace
}  // namespace tonvault::device
