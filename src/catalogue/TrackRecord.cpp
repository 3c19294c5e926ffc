#include "catalogue/TrackRecord.h"

#include <algorithm>

namespace tonvault::catalogue {

const std::array<std::string_view, kLogicalColumnCount>& ColumnCaptions() {
  static const std::array<std::string_view, kLogicalColumnCount> captions = {
      "Album",     "Artist",  "Title", "Genre",  "Track", "Year",     "Comment", "Size [kB]",
      "Bitrate",   "Freq.",   "Mode",  "Length", "Codec", "Filename", "Path",    "Label"};
  return captions;
}

bool IsCentredColumn(Column column) {
  const int c = static_cast<int>(column);
  return c >= static_cast<int>(Column::Genre) && c <= static_cast<int>(Column::Codec) &&
         column != Column::Comment;
}

TrackRecord TrackRecord::ForPlayer() {
  TrackRecord row;
  row.texts.resize(kPlayerRowSlots);
  return row;
}

namespace {
std::string_view SlotOrEmpty(const TrackRecord& row, int slot) { return row.texts[static_cast<std::size_t>(slot)]; }
}  // namespace

bool RowsEqual(const TrackRecord& a, const TrackRecord& b) {
  for (int slot = 0; slot <= kTrackIdSlot; ++slot) {
    if (SlotOrEmpty(a, slot) != SlotOrEmpty(b, slot)) return false;
  }
  return true;
}

std::ptrdiff_t FindEqualRow(const std::vector<TrackRecord>& rows, const TrackRecord& row) {
  const auto found =
      std::find_if(rows.begin(), rows.end(), [&](const TrackRecord& r) { return RowsEqual(r, row); });
  return found == rows.end() ? -1 : found - rows.begin();
}

bool IsPlayerPath(std::string_view path) {
  return path.find("--- NJB") != std::string_view::npos || path.find("--- N II") != std::string_view::npos;
}

std::size_t CountSelected(const std::vector<TrackRecord>& rows) {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const TrackRecord& r) { return r.selected; }));
}

}  // namespace tonvault::catalogue
