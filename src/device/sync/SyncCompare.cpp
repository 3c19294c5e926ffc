#include "device/sync/SyncCompare.h"

#include "catalogue/TextFormats.h"
#include "device/content/DeviceRow.h"
#include "device/sync/SyncMatcher.h"

namespace tonvault::device {

using catalogue::Column;

namespace {

std::string PositiveOrEmpty(int value) { return value > 0 ? std::to_string(value) : std::string(); }

// Records the match of FILES row `row` with table entry `entry`; `rowLine`
// is the row's last line so far (-1 before its first match).
void AddMatch(SyncArray& lines, DeviceTrackTable& table, const SideTexts& pc, const std::string& bitrate, int row,
              std::size_t entry, int& rowLine) {
  DeviceTrack& track = table.Entries()[entry];
  SyncEntry line{SyncCategory::PcAndNjb, row, static_cast<int>(entry), pc, PlayerSideTexts(track), bitrate};
  if (rowLine >= 0) {
    lines[static_cast<std::size_t>(rowLine)].category = SyncCategory::MultipleMatch;
    line.category = SyncCategory::MultipleMatch;
  }
  if (track.syncFlag) {
    lines[static_cast<std::size_t>(track.syncValue)].category = SyncCategory::MultipleMatch;
    line.category = SyncCategory::MultipleMatch;
  }
  lines.push_back(std::move(line));
  rowLine = static_cast<int>(lines.size() - 1);
  track.syncValue = rowLine;
  track.syncFlag = true;
}

}  // namespace

SideTexts PcSideTexts(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map) {
  auto get = [&](Column c) { return std::string(map.Get(row, c)); };
  return {get(Column::Album), get(Column::Artist), get(Column::Title),   get(Column::Track),
          get(Column::Length), get(Column::Size),  get(Column::Codec),   get(Column::Genre),
          get(Column::Year),  get(Column::Comment), catalogue::FileOfRow(row, map)};
}

SideTexts PlayerSideTexts(const DeviceTrack& t) {
  return {t.album,   t.artist, t.title, PositiveOrEmpty(t.trackNumber), catalogue::FormatLength(t.length),
          std::to_string(KilobytesHalfEven(t.fileSize)), t.codec, t.genre, PositiveOrEmpty(t.year), t.comment,
          t.fileName};
}

bool CompareWithPlayer(const std::vector<catalogue::TrackRecord>& files, const catalogue::ColumnMap& map,
                       DeviceTrackTable& table, const catalogue::SyncOptions& options, SyncArray& lines,
                       const CompareProgress& progress, MatchMethod method) {
  std::vector<DeviceTrack>& entries = table.Entries();
  std::vector<SyncValues> tracks;
  std::vector<bool> live;
  tracks.reserve(entries.size());
  live.reserve(entries.size());
  for (DeviceTrack& track : entries) {
    track.syncFlag = false;
    track.syncValue = -1;
    tracks.push_back(PlayerValues(track));
    // A removed entry keeps its place in the table but is no longer on the player.
    live.push_back(track.id >= 0);
  }
  const SyncMatcher matcher(tracks, live, options);
  for (std::size_t r = 0; r < files.size(); ++r) {
    const catalogue::TrackRecord& row = files[r];
    if (!catalogue::IsPlayerPath(map.Get(row, Column::Path))) {
      const SyncValues values = PcValues(row, map, options.codec);
      const std::vector<std::size_t> matches = method == MatchMethod::Buckets
                                                   ? matcher.Matches(values)
                                                   : PairwiseMatches(values, tracks, live, options);
      const SideTexts pc = PcSideTexts(row, map);
      const std::string bitrate(map.Get(row, Column::Bitrate));
      int rowLine = -1;
      for (std::size_t entry : matches) AddMatch(lines, table, pc, bitrate, static_cast<int>(r), entry, rowLine);
      if (rowLine < 0) lines.push_back(SyncEntry{SyncCategory::OnlyOnPc, static_cast<int>(r), -1, pc, {}, bitrate});
    }
    if (progress.rowDone && !progress.rowDone(r + 1, files.size())) return false;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].syncFlag || entries[i].id < 0) continue;
    lines.push_back(SyncEntry{SyncCategory::OnlyOnNjb, -1, static_cast<int>(i), {}, PlayerSideTexts(entries[i]), {}});
    if (progress.playerOnlyAdded) progress.playerOnlyAdded(lines.size());
  }
  return true;
}

const char* CategoryCaption(SyncCategory category) {
  switch (category) {
    case SyncCategory::OnlyOnPc: return "Only on PC";
    case SyncCategory::OnlyOnNjb: return "Only on NJB";
    case SyncCategory::PcAndNjb: return "PC and NJB";
    case SyncCategory::MultipleMatch: return "Multiple match";
    default: return "";
  }
}

const char* CategorySymbol(SyncCategory category) {
  switch (category) {
    case SyncCategory::OnlyOnPc: return "<";
    case SyncCategory::OnlyOnNjb: return ">";
    case SyncCategory::PcAndNjb: return "=";
    case SyncCategory::MultipleMatch: return "*";
    default: return "";
  }
}

}  // namespace tonvault::device
