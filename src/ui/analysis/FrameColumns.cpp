#include "ui/analysis/FrameColumns.h"

namespace tonvault::ui {

std::vector<FrameColumn> SummarizeFrames(const std::vector<audio::FrameRecord>& records, int width) {
  std::vector<FrameColumn> columns(static_cast<std::size_t>(width > 0 ? width : 0));
  if (columns.empty() || records.empty()) return columns;
  const auto count = static_cast<std::int64_t>(records.size());
  for (std::int64_t i = 0; i < count; ++i) {
    const audio::FrameRecord& record = records[static_cast<std::size_t>(i)];
    FrameColumn& column = columns[static_cast<std::size_t>(i * width / count)];
    if (record.IsBad()) {
      column.bad = true;
    } else if (!column.hasFrame || record.bitrate > column.bitrate) {
      column.hasFrame = true;
      column.bitrate = record.bitrate;
      column.mode = record.mode;
    }
  }
  return columns;
}

}  // namespace tonvault::ui
