// The catalogue file reader's parts over arbitrary bytes: decoding, the
// version line, splitting into records and building rows; then the rows are
// written and read again, which must give the same rows (file names exactly,
// other texts without their line breaks).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/DatabaseFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::catalogue;
  const std::string text = DecodeDatabaseText(std::string(reinterpret_cast<const char*>(data), size));
  LineReader lines(text);
  (void)IsValidVersionLine(lines.Next());
  ColumnMap map;
  std::vector<TrackRecord> rows;
  std::vector<std::string_view> record(kLinesPerRecord);
  while (!lines.AtEnd()) {
    for (auto& line : record) line = lines.Next();
    rows.push_back(RecordToRow(record, map));
  }
  const std::string written = EncodeDatabase(rows, map);
  const std::string reread = DecodeDatabaseText(written);
  LineReader again(reread);
  if (!IsValidVersionLine(again.Next())) __builtin_trap();
  for (const TrackRecord& row : rows) {
    for (auto& line : record) line = again.Next();
    const TrackRecord back = RecordToRow(record, map);
    if (back.icon != row.icon) __builtin_trap();
    for (int c = 0; c < kLogicalColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      // File names come back byte for byte; other texts lose line breaks.
      const bool name = column == Column::Path || column == Column::Filename;
      const std::string& original = map.Get(row, column);
      if (map.Get(back, column) != (name ? original : CleanField(original))) __builtin_trap();
    }
  }
  return 0;
}
