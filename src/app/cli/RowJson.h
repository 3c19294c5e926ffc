#pragma once

#include <string>

#include "catalogue/ColumnMap.h"
#include "catalogue/FillRow.h"
#include "catalogue/TrackRecord.h"

namespace tonvault::cli {

// One catalogue row as a JSON object keyed by the column captions, plus
// "icon" and "file"; reader details are added when given.
std::string RowJson(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map,
                    const catalogue::FillDetails* details = nullptr);

}  // namespace tonvault::cli
