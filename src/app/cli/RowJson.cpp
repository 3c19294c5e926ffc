#include "cli/RowJson.h"

#include "cli/JsonLines.h"

namespace tonvault::cli {

using catalogue::Column;

std::string RowJson(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map,
                    const catalogue::FillDetails* details) {
  JsonObject json;
  const auto& captions = catalogue::ColumnCaptions();
  for (int c = 0; c < catalogue::kLogicalColumnCount; ++c) {
    json.Add(captions[static_cast<std::size_t>(c)], map.Get(row, static_cast<Column>(c)));
  }
  json.Add("icon", static_cast<long long>(row.icon));
  json.Add("file", catalogue::FileOfRow(row, map));
  if (details != nullptr) {
    json.Add("lengthSeconds", details->lengthSeconds);
    json.Add("fileSize", static_cast<long long>(details->fileSize));
    if (details->scanBadPlaces >= 0) json.Add("badPlaces", static_cast<long long>(details->scanBadPlaces));
  }
  return json.Line();
}

}  // namespace tonvault::cli
