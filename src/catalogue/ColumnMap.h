#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TrackRecord.h"

namespace tonvault::catalogue {

// Which text slot of a row holds each logical column. One map serves FILES,
// RESULTS and player rows; every field access goes through it.
class ColumnMap {
 public:
  ColumnMap();  // the identity: logical column i in slot i

  int SlotOf(Column column) const { return slots_[static_cast<std::size_t>(column)]; }
  // The logical column a slot holds, or -1 when no column maps to it.
  int ColumnInSlot(int slot) const;

  SlotText Get(const TrackRecord& row, Column column) const;
  void Set(TrackRecord& row, Column column, std::string_view text) const;

  // Rebuilds the map from the headings of the 16 text columns in slot order:
  // each heading names the first column whose key word it contains; a
  // heading naming none leaves the map as it is.
  void RebuildFromHeadings(const std::vector<std::string>& headings);

  bool IsIdentity() const;
  bool operator==(const ColumnMap&) const = default;

 private:
  std::array<int, kLogicalColumnCount> slots_{};
};

bool IsPlayerRow(const TrackRecord& row, const ColumnMap& map);

// The file of a row on disk: Path + Filename exactly as stored. File names
// are bytes; a name with blanks at its ends names another file than the
// trimmed one, so nothing is trimmed.
std::string FileOfRow(const TrackRecord& row, const ColumnMap& map);

}  // namespace tonvault::catalogue
