#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/Options.h"
#include "catalogue/TrackRecord.h"
#include "device/content/DeviceTrackTable.h"
#include "device/sync/SyncArray.h"

namespace tonvault::device {

// The side texts of a line: a FILES row's columns (Filename is Path +
// Filename), or a player track's data (Track and Year only above 0, the
// length as "HH:mm:ss", the size in kB).
SideTexts PcSideTexts(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map);
SideTexts PlayerSideTexts(const DeviceTrack& track);

enum class MatchMethod { Buckets, Pairwise };

// How the compare reports its way: after each catalogue row (false stops
// the compare), and after each player-only line.
struct CompareProgress {
  std::function<bool(std::size_t row, std::size_t rows)> rowDone;
  std::function<void(std::size_t lines)> playerOnlyAdded;
};

// Compares every FILES row that is not a player row with every live track
// of `table` and appends the lines to `lines`: one per match (a row or a
// track with more than one match gives "Multiple match" lines), one
// "Only on PC" line per row without a match, and, unless stopped, one
// "Only on NJB" line per track nothing matched. The table's working
// columns keep each track's mark and its last line. False when stopped.
bool CompareWithPlayer(const std::vector<catalogue::TrackRecord>& files, const catalogue::ColumnMap& map,
                       DeviceTrackTable& table, const catalogue::SyncOptions& options, SyncArray& lines,
                       const CompareProgress& progress = {}, MatchMethod method = MatchMethod::Buckets);

}  // namespace tonvault::device
