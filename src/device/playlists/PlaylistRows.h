#pragma once

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// A row of one of the Playlists page's two lists: its texts (the last one
// hidden, the ID on the player), its status icon (-1 none) and selection.
struct ListRow {
  std::vector<std::string> texts;
  int icon = -1;
  bool selected = false;
  bool operator==(const ListRow&) const = default;
};

// The texts of a playlist row and of a track row.
enum PlaylistText { kPlaylistName, kPlaylistTracks, kPlaylistLength, kPlaylistId, kPlaylistTextCount };
enum TrackText {
  kTrackTitle, kTrackArtist, kTrackAlbum, kTrackNumber, kTrackGenre, kTrackYear,
  kTrackLength, kTrackCodec, kTrackFilesize, kTrackId, kTrackTextCount
};

inline constexpr int kPlaylistIcon = 27;
inline constexpr int kMp3TrackIcon = 28;
// The hidden ID of a track row whose track the table does not know.
inline constexpr int kUnknownId = -2;

// The page's two lists and their sort arrows.
struct PlaylistLists {
  std::vector<ListRow> playlists;
  std::vector<ListRow> tracks;
  catalogue::SortState playlistSort;
  catalogue::SortState trackSort;
};

ListRow MakePlaylistRow(const std::string& name, int tracks, int seconds, int id);
// A track row from the table's entry, or the "NOT FOUND" row without one.
ListRow MakeTrackRow(const std::optional<DeviceTrack>& track, int id);

// The hidden ID of a row; kUnknownId when it is not a number.
int RowId(const ListRow& row);
// The index of the first selected row, or nothing.
std::optional<std::size_t> FirstSelected(const std::vector<ListRow>& rows);
std::size_t CountSelectedRows(const std::vector<ListRow>& rows);
// Selects exactly the row at `index` (none when out of range).
void SelectOnly(std::vector<ListRow>& rows, std::size_t index);

// Drops the row at `from` onto the row at `target`: it takes the target's
// place when moving up and lands just after it when moving down. False (and
// nothing moved) when either index is out of range or they are equal.
bool MoveRow(std::vector<ListRow>& rows, std::size_t from, std::size_t target);

// For every position from the first to the last, swaps the row there with
// one at a random other position. Fewer than two rows stay as they are.
void ShuffleRows(std::vector<ListRow>& rows, std::mt19937& random);

// A click on a heading: display column 0 is the icon, 1.. the texts. The
// same column again reverses the order. Playlists: "Tracks" as integers,
// "Length" as durations, names byte-wise; tracks: Track, Year and Filesize
// as integers (0 when not a number), the rest byte-wise.
void SortPlaylistRows(std::vector<ListRow>& rows, catalogue::SortState& sort, int displayColumn);
void SortTrackRows(std::vector<ListRow>& rows, catalogue::SortState& sort, int displayColumn);

}  // namespace tonvault::device
