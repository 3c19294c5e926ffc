#include "views/TextSearch.h"

#include <unordered_set>

#include "catalogue/LongOperation.h"
#include "catalogue/RowKey.h"
#include "catalogue/SearchText.h"

namespace tonvault::views {

using catalogue::Column;

namespace {

constexpr std::size_t kPacing = 25;
constexpr Column kSearchOrder[] = {Column::Album,   Column::Artist,   Column::Title, Column::Genre, Column::Year,
                                   Column::Comment, Column::Filename, Column::Path,  Column::Label, Column::Track};
constexpr int kComparedSlots = catalogue::kTrackIdSlot + 1;

}  // namespace

bool RowMatches(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map,
                const catalogue::SearchOptions& search) {
  for (Column column : kSearchOrder) {
    if (search.Searches(column) &&
        catalogue::FieldMatches(map.Get(row, column), search.text, search.matchCase, search.onlyAtBeginning)) {
      return true;
    }
  }
  return false;
}

void SearchInFiles(catalogue::Application& app) {
  const catalogue::SearchOptions& search = app.options.search;
  catalogue::LongOperation operation(app, {kPacing, {}});
  operation.EndOnPage(catalogue::Page::Results);
  app.resultsSort.Clear();
  if (!search.appendResults) app.results.clear();
  std::unordered_set<std::string> present;
  if (search.appendResults) {
    for (const auto& row : app.results) present.insert(catalogue::RowKey(row, kComparedSlots));
  }
  const std::size_t total = app.files.size();
  for (std::size_t i = 0; i < total; ++i) {
    const catalogue::TrackRecord& row = app.files[i];
    const bool examined = !search.onlySelected || row.selected;
    if (examined && RowMatches(row, app.columnMap, search) &&
        (!search.appendResults || present.insert(catalogue::RowKey(row, kComparedSlots)).second)) {
      app.results.push_back(row);
      app.results.back().checked = false;
    }
    if (!operation.ItemDone(i + 1, total)) break;
  }
  for (catalogue::TrackRecord& row : app.results) row.checked = false;
  app.frontend.ListsChanged();
}

void SearchInResults(catalogue::Application& app) {
  const catalogue::SearchOptions& search = app.options.search;
  catalogue::LongOperation operation(app, {kPacing, {}});
  operation.EndOnPage(catalogue::Page::Results);
  app.resultsSort.Clear();
  const std::size_t total = app.results.size();
  std::vector<bool> remove(total, false);
  for (std::size_t walked = 1; walked <= total; ++walked) {
    const std::size_t i = total - walked;
    const catalogue::TrackRecord& row = app.results[i];
    const bool examined = !search.onlySelected || row.selected;
    remove[i] = examined && !RowMatches(row, app.columnMap, search);
    if (!operation.ItemDone(walked, total)) break;
  }
  std::size_t index = 0;
  std::erase_if(app.results, [&](const catalogue::TrackRecord&) { return remove[index++]; });
  app.frontend.ListsChanged();
}

}  // namespace tonvault::views
