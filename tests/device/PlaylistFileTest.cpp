// Playlist files (.TVP), the playlist list of a player folder and the rows
// of the Playlists page: formats, hostile input, reordering and sorting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "device/Playlist.h"
#include "device/folder/PlaylistStore.h"
#include "device/playlists/PlaylistFile.h"
#include "device/playlists/PlaylistRows.h"
#include "files/ReplaceFile.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

TEST(PlaylistFile, WritesTheNameThenGroupsOfFourCleanedLinesInUtf8) {
  const PlaylistFileContent content{"Mix ?", {{"Ti\ntle", "Ar\rtist", "Älbum"}, {"B", "", ""}}};
  EXPECT_EQ(EncodePlaylistFile(content),
            "\xEF\xBB\xBFMix ?\r\n\r\nTitle\r\nAr - tist\r\n\xC3\x84lbum\r\n\r\nB\r\n\r\n\r\n");
  const PlaylistFileContent back = DecodePlaylistFile(EncodePlaylistFile(content));
  EXPECT_EQ(back.name, "Mix ?");
  EXPECT_EQ(back.tracks, (std::vector<PlaylistFileTrack>{{"Title", "Ar - tist", "\xC3\x84lbum"}, {"B", "", ""}}));
}

TEST(PlaylistFile, ReadsWholeGroupsOnlyAndOlderFiles) {
  // Four lines: the name and an incomplete group: no track.
  EXPECT_TRUE(DecodePlaylistFile("List\r\n\r\nTitle\r\nArtist\r\n").tracks.empty());
  EXPECT_EQ(DecodePlaylistFile("List\r\n\r\nTitle\r\nArtist\r\n").name, "List");
  // Five lines make one track, whatever the first line of the group holds.
  EXPECT_EQ(DecodePlaylistFile("List\nx\nT\nA\nB").tracks, (std::vector<PlaylistFileTrack>{{"T", "A", "B"}}));
  // Windows-1252 without a byte-order mark, as older files are.
  const PlaylistFileContent legacy = DecodePlaylistFile("Caf\xE9\r\n\r\n\x93Hi\x94\r\nA\r\nB\r\n");
  EXPECT_EQ(legacy.name, "Caf\xC3\xA9");
  EXPECT_EQ(legacy.tracks.at(0).title, "\xE2\x80\x9CHi\xE2\x80\x9D");
  EXPECT_TRUE(DecodePlaylistFile("").name.empty());
  EXPECT_TRUE(DecodePlaylistFile(std::string(3, '\0')).tracks.empty());
}

TEST(PlaylistFile, TracksAreCountedAsDecodingTakesThem) {
  for (const std::string& bytes :
       {std::string(), std::string("List"), std::string("List\r\n\r\nT\r\nA\r\n"), std::string("List\nx\nT\nA\nB"),
        std::string("List\r\n\r\nT\r\nA\r\nB\r\n"), std::string("\xEF\xBB\xBFL\n\nT\nA\nB\n\n"),
        std::string("L\r\r\n\nT\rA\nB\n\n\n\n\n"), std::string("Caf\xE9\n\n\x93T\x94\nA\nB"), std::string(9, '\n')}) {
    EXPECT_EQ(CountPlaylistFileTracks(bytes), DecodePlaylistFile(bytes).tracks.size()) << bytes;
  }
}

// A playlist file of `tracks` copies of the same track.
std::string ManyTracks(std::size_t tracks) {
  std::string text = "Many\r\n";
  for (std::size_t i = 0; i < tracks; ++i) text += "\r\nT\r\nA\r\nB\r\n";
  return text;
}

TEST(PlaylistFile, AtMostTheMostTracksAreRead) {
  testing::TempFolder temp;
  const std::string path = temp.Path() + "/many.TVP";
  ASSERT_FALSE(files::WriteWholeFile(path, ManyTracks(kMaxPlaylistTracks)));
  PlaylistFileContent content;
  ASSERT_EQ(ReadPlaylistFile(path, content), PlaylistFileRead::Read);
  EXPECT_EQ(content.tracks.size(), kMaxPlaylistTracks);

  ASSERT_FALSE(files::WriteWholeFile(path, ManyTracks(kMaxPlaylistTracks + 1)));
  PlaylistFileContent refused{"untouched", {}};
  EXPECT_EQ(ReadPlaylistFile(path, refused), PlaylistFileRead::TooLarge);
  EXPECT_EQ(refused.name, "untouched");
  EXPECT_TRUE(refused.tracks.empty());
}

TEST(PlaylistFile, AFileOverTheSizeLimitIsRefusedByItsSize) {
  testing::TempFolder temp;
  const std::string path = temp.Path() + "/big.TVP";
  // One track, then zero bytes up to the limit: read.
  ASSERT_FALSE(files::WriteWholeFile(path, "Big\r\n\r\nT\r\nA\r\nB\r\n"));
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxPlaylistFileBytes)), 0);
  PlaylistFileContent content;
  EXPECT_EQ(ReadPlaylistFile(path, content), PlaylistFileRead::Read);
  EXPECT_EQ(content.tracks.size(), 1u);
  // One byte more: refused.
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxPlaylistFileBytes + 1)), 0);
  EXPECT_EQ(ReadPlaylistFile(path, content), PlaylistFileRead::TooLarge);
  // 64 GB (a sparse file): refused at once, where reading it would
  // exhaust the memory.
  ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 36), 0);
  EXPECT_EQ(ReadPlaylistFile(path, content), PlaylistFileRead::TooLarge);
  EXPECT_EQ(ReadPlaylistFile(temp.Path() + "/missing.TVP", content), PlaylistFileRead::Unreadable);
  EXPECT_EQ(ReadPlaylistFile(temp.Path(), content), PlaylistFileRead::Unreadable);
}

TEST(PlaylistFile, FileNameTakesTheSubstituteButTheNameKeepsItsCharacters) {
  EXPECT_EQ(PlaylistFileName("What? A/B: \"x\"", "_"), "What_ A_B_ 'x'.TVP");
  EXPECT_EQ(PlaylistFileName("Plain", "_"), "Plain.TVP");
}

// --- the list a player folder keeps ---

TEST(PlaylistList, RoundTripsAndRefusesEveryDamage) {
  PlaylistList list;
  StoredPlaylist first;
  first.playlist.name = "Tab\there\nand line";
  first.playlist.trackIds = {5, 1, 5};
  first.fileName = "Tab_here.m3u8";
  StoredPlaylist second;
  second.fileName = "Playlist.m3u8";
  list.playlists.emplace(3, first);
  list.playlists.emplace(7, second);
  list.nextId = 9;
  const std::string text = FormatPlaylistList(list);
  const auto back = ParsePlaylistList(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->playlists, list.playlists);
  EXPECT_EQ(back->nextId, 9);
  // Every cut-off version is refused, never half read.
  for (std::size_t size = 0; size < text.size(); ++size) {
    EXPECT_FALSE(ParsePlaylistList(text.substr(0, size))) << size;
  }
  std::string wrongCount = text;
  wrongCount.replace(wrongCount.find("P 3 3"), 5, "P 3 9");
  EXPECT_FALSE(ParsePlaylistList(wrongCount));
  std::string idNotBelowNext = text;
  idNotBelowNext.replace(idNotBelowNext.find("next 9"), 6, "next 7");
  EXPECT_FALSE(ParsePlaylistList(idNotBelowNext));
}

// --- rows ---

std::vector<ListRow> Rows(std::initializer_list<const char*> names) {
  std::vector<ListRow> rows;
  int id = 1;
  for (const char* name : names) rows.push_back(MakePlaylistRow(name, 0, 0, id++));
  return rows;
}

std::string Names(const std::vector<ListRow>& rows) {
  std::string names;
  for (const ListRow& row : rows) names += row.texts[0];
  return names;
}

TEST(PlaylistRows, DraggingTakesTheTargetsPlaceUpAndLandsAfterItDown) {
  std::vector<ListRow> rows = Rows({"a", "b", "c", "d"});
  EXPECT_TRUE(MoveRow(rows, 3, 1));
  EXPECT_EQ(Names(rows), "adbc");
  EXPECT_TRUE(MoveRow(rows, 0, 2));
  EXPECT_EQ(Names(rows), "dbac");
  EXPECT_FALSE(MoveRow(rows, 1, 1));
  EXPECT_FALSE(MoveRow(rows, 1, 4));
  EXPECT_EQ(Names(rows), "dbac");
}

TEST(PlaylistRows, ShufflingTwoRowsSwapsThemTwiceAndLongerListsKeepEveryRow) {
  std::mt19937 random(7);
  std::vector<ListRow> two = Rows({"a", "b"});
  for (int i = 0; i < 10; ++i) {
    ShuffleRows(two, random);
    EXPECT_EQ(Names(two), "ab");
  }
  std::vector<ListRow> many = Rows({"a", "b", "c", "d", "e", "f"});
  ShuffleRows(many, random);
  std::string sorted = Names(many);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, "abcdef");
}

TEST(PlaylistRows, SortingByNumbersDurationsAndBytesAndAgainReversed) {
  std::vector<ListRow> rows = {MakePlaylistRow("b", 10, 3600, 1), MakePlaylistRow("B", 9, 59, 2),
                               MakePlaylistRow("a", 100, 61, 3)};
  catalogue::SortState sort;
  SortPlaylistRows(rows, sort, 2);  // Tracks as integers: 9 < 10 < 100
  EXPECT_EQ(Names(rows), "Bba");
  SortPlaylistRows(rows, sort, 3);  // Length as durations
  EXPECT_EQ(Names(rows), "Bab");
  SortPlaylistRows(rows, sort, 3);
  EXPECT_EQ(Names(rows), "baB");
  EXPECT_TRUE(sort.descending);
  SortPlaylistRows(rows, sort, 1);  // names byte-wise: upper case first
  EXPECT_EQ(Names(rows), "Bab");
  SortPlaylistRows(rows, sort, 4);  // the hidden ID is no column
  EXPECT_EQ(sort.column, 1);

  DeviceTrack track;
  track.title = "x", track.year = 1999, track.fileSize = 2048;
  std::vector<ListRow> tracks = {MakeTrackRow(track, 1), MakeTrackRow(std::nullopt, 2)};
  catalogue::SortState trackSort;
  SortTrackRows(tracks, trackSort, kTrackYear + 1);  // empty year counts 0
  EXPECT_EQ(tracks[0].texts[kTrackId], "-2");
  SortTrackRows(tracks, trackSort, kTrackFilesize + 1);
  SortTrackRows(tracks, trackSort, kTrackFilesize + 1);
  EXPECT_EQ(tracks[0].texts[kTrackFilesize], "2");
}

TEST(PlaylistRows, TrackRowsShowTheTrackOrNotFound) {
  DeviceTrack track;
  track.title = "T", track.artist = "A", track.album = "B", track.genre = "G", track.codec = "WMA";
  track.length = 75, track.fileSize = 1024 * 5 + 512, track.trackNumber = 0, track.year = 2004;
  const ListRow row = MakeTrackRow(track, 12);
  EXPECT_EQ(row.texts, (std::vector<std::string>{"T", "A", "B", "", "G", "2004", "00:01:15", "WMA", "6", "12"}));
  EXPECT_EQ(row.icon, 21);
  const ListRow missing = MakeTrackRow(std::nullopt, 12);
  EXPECT_EQ(missing.texts, (std::vector<std::string>{"", "NOT FOUND", "NOT FOUND", "", "NOT FOUND", "", "0",
                                                      "NOT FOUND", "0", "-2"}));
  EXPECT_EQ(missing.icon, -1);
  EXPECT_EQ(RowId(missing), -2);
}

}  // namespace
}  // namespace tonvault::device
