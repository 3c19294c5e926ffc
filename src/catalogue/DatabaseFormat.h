#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"

// The catalogue file: "Fileversion: 1", then 17 lines per row (the status
// icon code and the sixteen columns in logical order), lines ending in
// CR LF. Written as UTF-8 with a byte-order mark.
namespace tonvault::catalogue {

inline constexpr int kLinesPerRecord = 17;
inline constexpr const char* kVersionLine = "Fileversion: 1";

// Removes line feeds and turns carriage returns into " - ".
std::string CleanField(std::string_view text);

// The whole file for these rows.
std::string EncodeDatabase(const std::vector<TrackRecord>& rows, const ColumnMap& map);

// The file's bytes as UTF-8: a byte-order mark or valid UTF-8 is taken as
// it is; anything else is Windows-1252, as older Windows programs wrote it.
std::string DecodeDatabaseText(std::string bytes);

// The first line is valid when it holds "Fileversion:" and the text after
// its first ":", trimmed, is the number 1.
bool IsValidVersionLine(std::string_view line);

// A signed decimal icon code; -1 when the line is not a number.
int ParseIcon(std::string_view line);

// Splits text into lines at LF, dropping a CR before it.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return position_ >= text_.size(); }
  // The next line, or an empty one past the end.
  std::string_view Next();
  std::size_t CountLines() const;

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// One record of 17 lines as a row (missing lines are empty fields).
TrackRecord RecordToRow(const std::vector<std::string_view>& lines, const ColumnMap& map);

}  // namespace tonvault::catalogue
