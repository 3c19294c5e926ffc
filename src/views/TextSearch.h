#pragma once

#include "catalogue/Application.h"

namespace tonvault::views {

// Whether a row holds the search text in one of the searched columns,
// tested in the order Album, Artist, Title, Genre, Year, Comment, Filename,
// Path, Label, Track.
bool RowMatches(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map,
                const catalogue::SearchOptions& search);

// "Search in files": copies the matching FILES rows into RESULTS.
void SearchInFiles(catalogue::Application& app);

// "Search in results": deletes the RESULTS rows that do not match.
void SearchInResults(catalogue::Application& app);

}  // namespace tonvault::views
