#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/RowTexts.h"

namespace tonvault::catalogue {

// The sixteen logical columns of a catalogue row, in their logical order.
enum class Column : int {
  Album = 0,
  Artist,
  Title,
  Genre,
  Track,
  Year,
  Comment,
  Size,
  Bitrate,
  Freq,
  Mode,
  Length,
  Codec,
  Filename,
  Path,
  Label,
};

inline constexpr int kLogicalColumnCount = 16;
// Slot 16 holds the player's track key (empty for files on disk).
inline constexpr int kTrackIdSlot = 16;
inline constexpr int kDiskRowSlots = 17;
// Player rows carry two more slots: length in seconds and size in bytes.
inline constexpr int kPlayerRowSlots = 19;
inline constexpr int kPlayerLengthSlot = 17;
inline constexpr int kPlayerSizeSlot = 18;

// Status icon codes of a row.
namespace StatusIcon {
inline constexpr int None = -1;
inline constexpr int NoTag = 7;
inline constexpr int Id3v1 = 8;
inline constexpr int Id3v2 = 9;
inline constexpr int Id3v1AndV2 = 10;
inline constexpr int Corrupt = 12;
inline constexpr int JukeboxTrack = 20;
inline constexpr int Wma = 21;
inline constexpr int Wav = 29;
inline constexpr int ProtectedJukeboxTrack = 30;
inline constexpr int NomadInternal = 37;
inline constexpr int NomadExternal = 38;
}  // namespace StatusIcon

// The column headings as a fresh program shows them, in logical order.
const std::array<std::string_view, kLogicalColumnCount>& ColumnCaptions();

// Genre, Track, Year, Size, Bitrate, Freq., Mode, Length and Codec are
// shown centred.
bool IsCentredColumn(Column column);

// One row of FILES or RESULTS. All fields are display texts; which slot
// holds which logical column is decided by the ColumnMap.
struct TrackRecord {
  int icon = StatusIcon::None;
  RowTexts texts = RowTexts(kDiskRowSlots);
  bool selected = false;
  bool checked = false;

  static TrackRecord ForPlayer();
};

// Equal when text slots 0..16 are equal byte for byte; the icon, the
// selection and the player-only slots do not take part.
bool RowsEqual(const TrackRecord& a, const TrackRecord& b);

// Index of the first row of `rows` equal to `row`, or -1.
std::ptrdiff_t FindEqualRow(const std::vector<TrackRecord>& rows, const TrackRecord& row);

// Player rows are recognised by their Path text.
bool IsPlayerPath(std::string_view path);

std::size_t CountSelected(const std::vector<TrackRecord>& rows);

}  // namespace tonvault::catalogue
