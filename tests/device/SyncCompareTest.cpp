// The compare of catalogue rows with the player's tracks: the criteria and
// their substitutions, the categories, and the bucketed search against the
// pairwise definition.
#include <gtest/gtest.h>

#include <random>

#include "device/sync/SyncCompare.h"
#include "device/sync/SyncValues.h"

namespace tonvault::device {
namespace {

using catalogue::Column;

catalogue::SyncOptions Defaults() {
  catalogue::SyncOptions o;
  o.album = o.artist = o.title = true;
  return o;
}

struct Row {
  std::string album{}, artist{}, title{}, file = "song.mp3", length = "00:03:00", size = "4096", codec = "M1  L3";
  std::string track{}, year{}, genre{}, comment{}, path = "/music/";
};

catalogue::TrackRecord MakeRow(const Row& r) {
  const catalogue::ColumnMap map;
  catalogue::TrackRecord row;
  const std::pair<Column, const std::string*> texts[] = {
      {Column::Album, &r.album}, {Column::Artist, &r.artist}, {Column::Title, &r.title},   {Column::Filename, &r.file},
      {Column::Length, &r.length}, {Column::Size, &r.size},   {Column::Codec, &r.codec},   {Column::Track, &r.track},
      {Column::Year, &r.year},   {Column::Genre, &r.genre},   {Column::Comment, &r.comment}, {Column::Path, &r.path}};
  for (const auto& [column, text] : texts) map.Set(row, column, *text);
  return row;
}

AudioInfo Track(const std::string& title, const std::string& artist = "Artist", const std::string& album = "Album") {
  AudioInfo info;
  info.title = title, info.artist = artist, info.album = album;
  info.codec = "MP3", info.fileName = title + ".mp3", info.genre = "(None)";
  info.fileSize = 4096 * 1024, info.length = 180;
  return info;
}

struct Outcome {
  std::vector<std::tuple<int, int, int>> lines;  // category, FILES row, table entry
  bool complete;
};

Outcome Compare(const std::vector<catalogue::TrackRecord>& files, DeviceTrackTable& table,
                const catalogue::SyncOptions& o, MatchMethod method = MatchMethod::Buckets,
                const CompareProgress& progress = {}) {
  SyncArray array;
  const bool complete = CompareWithPlayer(files, catalogue::ColumnMap(), table, o, array, progress, method);
  Outcome outcome{{}, complete};
  for (const SyncEntry& e : array) outcome.lines.emplace_back(static_cast<int>(e.category), e.filesRow, e.deviceEntry);
  return outcome;
}

using Lines = std::vector<std::tuple<int, int, int>>;

TEST(SyncValues, SubstitutionsLengthSizeAndCodec) {
  const catalogue::ColumnMap map;
  const SyncValues pc = PcValues(MakeRow({.file = "My Song.mp3", .length = "00:03:21", .codec = "M2.5  L3",
                                          .track = "3/12"}),
                                 map, true);
  EXPECT_EQ(pc.album, "<Unknown>");
  EXPECT_EQ(pc.artist, "<Unknown>");
  EXPECT_EQ(pc.title, "My Song");
  EXPECT_EQ(pc.genre, "(None)");
  EXPECT_EQ(pc.length, 201);
  EXPECT_EQ(pc.codec, "MP3");
  EXPECT_EQ(pc.track, 3);
  EXPECT_EQ(PcValues(MakeRow({.codec = "M2.5  L3"}), map, false).codec, "M2.5  L3") << "reduced only with Codec checked";
  EXPECT_EQ(PcValues(MakeRow({.codec = "WMA 2"}), map, true).codec, "WMA");
  EXPECT_EQ(PcValues(MakeRow({.length = "garbage", .size = "x"}), map, true).length, 0);

  // An empty album on the PC matches the player's "<Unknown>".
  DeviceTrackTable table;
  table.AddDeviceTrack(false, Track("Song", "Artist", "<Unknown>"), 5);
  EXPECT_EQ(Compare({MakeRow({.artist = "Artist", .title = "Song"})}, table, Defaults()).lines, (Lines{{3, 0, 0}}));
  // A track a folder player found untagged takes the same stand-ins.
  AudioInfo untagged = Track("");
  untagged.artist = untagged.album = "", untagged.fileName = "My Song.mp3";
  table.AddDeviceTrack(false, untagged, 6);
  EXPECT_EQ(Compare({MakeRow({.file = "My Song.mp3"})}, table, Defaults()).lines, (Lines{{3, 0, 1}, {2, -1, 0}}));
}

TEST(SyncValues, LengthAndSizeTolerances) {
  catalogue::SyncOptions o;
  o.length = true, o.lengthTolerance = 2;
  DeviceTrack track;
  track.length = 201;  // 03:21
  EXPECT_TRUE(ValuesMatch(PcValues(MakeRow({.length = "00:03:23"}), {}, false), PlayerValues(track), o));
  EXPECT_FALSE(ValuesMatch(PcValues(MakeRow({.length = "00:03:24"}), {}, false), PlayerValues(track), o));
  o = {};
  o.fileSize = true;  // tolerance 0: 4096 kB against bytes rounded half to even
  const SyncValues pc = PcValues(MakeRow({.size = "4096"}), {}, false);
  for (const auto& [bytes, match] : {std::pair{4'194'304, true}, {4'194'816, true}, {4'195'328, false}}) {
    track.fileSize = bytes;
    EXPECT_EQ(ValuesMatch(pc, PlayerValues(track), o), match) << bytes;
    EXPECT_EQ(ExactKey(pc, o) == ExactKey(PlayerValues(track), o), match) << bytes;
  }
}

TEST(SyncCompare, CategoriesOfSingleAndMultipleMatchesBothWays) {
  DeviceTrackTable table;
  table.AddDeviceTrack(false, Track("Twice"), 1);
  table.AddDeviceTrack(false, Track("twice"), 2);    // a second track for the same row
  table.AddDeviceTrack(false, Track("Shared"), 3);   // matched by two rows
  table.AddDeviceTrack(false, Track("Alone"), 4);    // nothing matches it
  table.AddDeviceTrack(false, Track("Single"), 5);
  table.AddDeviceTrack(false, Track("Gone"), 6);
  table.RemoveDeviceTrack("Artist", "Gone", "Album");  // removed: takes no part
  catalogue::SyncOptions o = Defaults();
  o.titleMode = 1;
  const std::vector<catalogue::TrackRecord> files = {
      MakeRow({.album = "Album", .artist = "Artist", .title = "TWICE"}),
      MakeRow({.album = "Album", .artist = "Artist", .title = "Shared"}),
      MakeRow({.album = "Album", .artist = "Artist", .title = "Gone"}),
      MakeRow({.album = "Album", .artist = "Artist", .title = "Shared", .path = "--- NJB ---"}),  // a player row
      MakeRow({.album = "Album", .artist = "Artist", .title = "shared"}),
      MakeRow({.album = "Album", .artist = "Artist", .title = "Single"}),
  };
  const Outcome outcome = Compare(files, table, o);
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.lines, (Lines{{4, 0, 0}, {4, 0, 1}, {4, 1, 2}, {1, 2, -1}, {4, 4, 2}, {3, 5, 4}, {2, -1, 3}}));
  EXPECT_TRUE(table.Entries()[2].syncFlag);
  EXPECT_EQ(table.Entries()[2].syncValue, 4);
  EXPECT_FALSE(table.Entries()[3].syncFlag);
}

TEST(SyncCompare, StoppingLeavesOutThePlayerOnlyTracks) {
  DeviceTrackTable table;
  table.AddDeviceTrack(false, Track("A"), 1);
  table.AddDeviceTrack(false, Track("B"), 2);
  const std::vector<catalogue::TrackRecord> files = {MakeRow({.album = "Album", .artist = "Artist", .title = "A"}),
                                                     MakeRow({.title = "x"})};
  CompareProgress progress;
  progress.rowDone = [](std::size_t row, std::size_t) { return row < 1; };
  const Outcome outcome = Compare(files, table, Defaults(), MatchMethod::Buckets, progress);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.lines, (Lines{{3, 0, 0}}));
}

// Random catalogues and players over small value sets, so that matches,
// multiple matches and near misses all occur.
TEST(SyncCompare, BucketsGiveThePairwiseOutcome) {
  std::mt19937 random(20261209);
  auto pick = [&](std::initializer_list<const char*> values) {
    return std::string(values.begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(random)]);
  };
  auto some = [&] { return std::uniform_int_distribution<int>(0, 3)(random); };
  std::size_t matched = 0;
  for (int round = 0; round < 60; ++round) {
    DeviceTrackTable table;
    for (int i = 0; i < 40; ++i) {
      AudioInfo info = Track(pick({"Song", "song", "Song Two", "Other"}), pick({"A", "a", "<Unknown>", "B"}),
                             pick({"X", "x", "<Unknown>", "X Y"}));
      info.trackNumber = some(), info.year = 1990 + some(), info.length = 180 + some(), info.codec = pick({"MP3", "WMA"});
      info.fileSize = 4096 * 1024 + some() * 300, info.genre = pick({"(None)", "Pop"}), info.fileName = pick({"a.mp3", "A.MP3"});
      table.AddDeviceTrack(false, info, i);
    }
    table.RemoveDeviceTrack("A", "Song", "X");
    std::vector<catalogue::TrackRecord> files;
    for (int i = 0; i < 40; ++i) {
      files.push_back(MakeRow({.album = pick({"X", "x", "", "X Y"}), .artist = pick({"A", "a", "", "B"}),
                               .title = pick({"Song", "song", "", "Other"}), .file = pick({"a.mp3", "A.MP3", "Song.mp3"}),
                               .length = pick({"00:03:00", "00:03:02", "00:03:03"}), .size = pick({"4096", "4097"}),
                               .codec = pick({"M1  L3", "WMA"}), .track = pick({"0", "1", "2/9"}),
                               .year = pick({"1990", "1991"}), .genre = pick({"", "Pop"}),
                               .path = pick({"/m/", "/m/", "--- NJB ---"})}));
    }
    catalogue::SyncOptions o;
    o.album = random() % 2, o.artist = random() % 2, o.title = random() % 2, o.fileName = random() % 2;
    o.track = random() % 3 == 0, o.length = random() % 3 == 0, o.fileSize = random() % 3 == 0;
    o.codec = random() % 3 == 0, o.genre = random() % 3 == 0, o.year = random() % 3 == 0;
    o.albumMode = some(), o.artistMode = some() * 2, o.titleMode = pick({"0", "1", "4", "8"})[0] - '0';
    o.fileNameMode = some();
    o.lengthTolerance = some() % 3, o.fileSizeTolerance = some() % 2;
    const Outcome buckets = Compare(files, table, o, MatchMethod::Buckets);
    const Outcome pairs = Compare(files, table, o, MatchMethod::Pairwise);
    EXPECT_EQ(buckets.lines, pairs.lines) << "round " << round;
    for (const auto& line : buckets.lines) matched += std::get<0>(line) >= 3;
  }
  EXPECT_GT(matched, 100u) << "the rounds must hold matches to compare";
}

}  // namespace
}  // namespace tonvault::device
