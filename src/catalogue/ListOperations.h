#pragma once

#include <optional>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// The commands on the rows of FILES and RESULTS themselves (no file on disk
// is touched). `list` is the list the command came from.
void SelectAll(Application& app, ListId list);
void SelectNone(Application& app, ListId list);
void InvertSelection(Application& app, ListId list);

// "Delete selected lines" on the Files or Results page.
void DeleteSelectedLines(Application& app);
// "Copy selected lines to RESULTS".
void CopySelectedLinesToResults(Application& app);
// "Delete selected lines also in \"Files\"": the selected RESULTS rows and
// every FILES row equal to one of them.
void DeleteSelectedLinesAlsoInFiles(Application& app);
// "Delete in \"Files\" all except Results".
void DeleteAllExceptResults(Application& app);
// "Play selected files" with the desktop's default program. When the
// desktop has no program for a file, the user is told which file, after
// the beep that says nothing was started.
void PlaySelectedFiles(Application& app);

// The message when `failed` files (the first is `first`) found no program
// to play them.
std::string NoPlayerText(const std::string& first, std::size_t failed);

// A click on heading `displayColumn` (0 the icon column, 1..16 text slots
// 0..15): ascending, or descending when it shows the ascending arrow.
void SortByColumn(Application& app, ListId list, int displayColumn);

// Sorts rows by a sort code: display column, plus 100 for descending.
void SortRows(std::vector<TrackRecord>& rows, const ColumnMap& map, int sortCode);

// The list of the page on display, when it is Files or Results.
std::optional<ListId> ListOfCurrentPage(const Application& app);

}  // namespace tonvault::catalogue
