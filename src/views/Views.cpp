#include "views/Views.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/StatusTexts.h"
#include "catalogue/TextCase.h"
#include "views/Durations.h"
#include "views/Statistics.h"

namespace tonvault::views {

using catalogue::Column;

namespace {

constexpr std::size_t kPacing = 10;

long long IntegerOrZero(std::string_view text, bool& valid) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  valid = !text.empty() && error == std::errc() && end == text.data() + text.size();
  return valid ? value : 0;
}

long long IntegerOrZero(std::string_view text) {
  bool valid = false;
  return IntegerOrZero(text, valid);
}

int PageCode(ViewKind kind) { return 2 + static_cast<int>(kind); }

catalogue::Page PageOf(ViewKind kind) {
  return kind == ViewKind::Albums ? catalogue::Page::Albums
         : kind == ViewKind::Artists ? catalogue::Page::Artists : catalogue::Page::Genres;
}

}  // namespace

ViewColumns ColumnsOf(ViewKind kind) {
  switch (kind) {
    case ViewKind::Albums: return {Column::Album, Column::Artist, Column::Genre};
    case ViewKind::Artists: return {Column::Artist, Column::Album, Column::Genre};
    default: return {Column::Genre, Column::Artist, Column::Album};
  }
}

const std::array<std::string_view, catalogue::kViewColumnCount>& ViewCaptions(ViewKind kind) {
  static const std::array<std::string_view, 6> albums = {"Album", "Artist", "Genre", "Tracks", "Size [kB]", "Length"};
  static const std::array<std::string_view, 6> artists = {"Artist", "Album", "Genre", "Tracks", "Size [kB]", "Length"};
  static const std::array<std::string_view, 6> genres = {"Genre", "Artist", "Album", "Tracks", "Size [kB]", "Length"};
  return kind == ViewKind::Albums ? albums : kind == ViewKind::Artists ? artists : genres;
}

ViewAccumulator::ViewAccumulator(ViewKind kind, const catalogue::ColumnMap& map, std::vector<ViewLine>& lines)
    : columns_(ColumnsOf(kind)), map_(map), lines_(lines) {}

void ViewAccumulator::Add(const catalogue::TrackRecord& row) {
  const std::string key = map_.Get(row, columns_.key);
  const std::string_view second = map_.Get(row, columns_.second);
  const std::string_view third = map_.Get(row, columns_.third);
  const std::string_view size = map_.Get(row, Column::Size);
  const std::string_view length = map_.Get(row, Column::Length);
  const auto [found, isNew] = index_.try_emplace(key, lines_.size());
  if (isNew) {
    lines_.push_back({key, std::string(second), std::string(third), "1", std::string(size), std::string(length), false});
    return;
  }
  ViewLine& line = lines_[found->second];
  if (line.second != second) line.second = kVarious;
  if (line.third != third) line.third = kVarious;
  line.tracks = std::to_string(IntegerOrZero(line.tracks) + 1);
  line.length = AddDuration(line.length, length);
  bool rowSizeValid = false;
  const long long rowSize = IntegerOrZero(size, rowSizeValid);
  if (rowSizeValid) line.size = std::to_string(IntegerOrZero(line.size) + rowSize);
}

bool BuildView(catalogue::Application& app, ViewKind kind, bool showProgress) {
  ViewData& view = app.views[static_cast<std::size_t>(kind)];
  catalogue::SetCommandState(app, 0);
  app.stopRequest = false;
  if (showProgress) {
    app.frontend.SetProgress(0, 0);
    catalogue::StartProgress(app);
  }
  view.lines.clear();
  view.sortColumn = -1;
  ViewAccumulator accumulator(kind, app.columnMap, view.lines);
  const std::size_t total = app.files.size();
  bool complete = true;
  for (std::size_t i = 0; i < total; ++i) {
    accumulator.Add(app.files[i]);
    if (i % kPacing == 0) {
      if (showProgress) {
        app.frontend.SetProgress(0, static_cast<int>(300 * i / total));
        catalogue::ShowTimeEstimate(app, total, i);
      }
      app.frontend.PumpEvents();
    }
    if (catalogue::ConfirmStop(app)) {
      complete = false;
      break;
    }
  }
  if (showProgress) {
    app.frontend.SetStatusPanel(0, catalogue::StatusTextsFor(PageOf(kind), view.lines.size(), 0).rows);
    app.frontend.SetProgress(0, 0);
    catalogue::SetCommandState(app, PageCode(kind));
  }
  if (complete) app.viewRebuildNeeded.ForView(kind) = false;
  app.frontend.ListsChanged();
  return complete;
}

void SortLines(std::vector<ViewLine>& lines, int column, bool descending) {
  auto compare = [column](const ViewLine& a, const ViewLine& b) -> int {
    switch (column) {
      case 0: return a.key.compare(b.key);
      case 1: return catalogue::AsciiLower(a.second).compare(catalogue::AsciiLower(b.second));
      case 2: return catalogue::AsciiLower(a.third).compare(catalogue::AsciiLower(b.third));
      case 3:
      case 4: {
        const long long x = IntegerOrZero(column == 3 ? a.tracks : a.size);
        const long long y = IntegerOrZero(column == 3 ? b.tracks : b.size);
        return x < y ? -1 : x > y ? 1 : 0;
      }
      default: {
        const double x = DurationSeconds(a.length), y = DurationSeconds(b.length);
        return x < y ? -1 : x > y ? 1 : 0;
      }
    }
  };
  std::stable_sort(lines.begin(), lines.end(), [&](const ViewLine& a, const ViewLine& b) {
    const int order = compare(a, b);
    return descending ? order > 0 : order < 0;
  });
}

void SortView(ViewData& view, int column) {
  if (column < 0 || column >= catalogue::kViewColumnCount) return;
  const bool descending = view.sortColumn == column && !view.sortDescending;
  SortLines(view.lines, column, descending);
  view.sortColumn = column;
  view.sortDescending = descending;
}

void ExpandSelectedLines(catalogue::Application& app, ViewKind kind) {
  const ViewData& view = app.views[static_cast<std::size_t>(kind)];
  if (std::none_of(view.lines.begin(), view.lines.end(), [](const ViewLine& l) { return l.selected; })) {
    app.frontend.Beep(catalogue::Sound::Default);
    return;
  }
  catalogue::LongOperation operation(app, {kPacing, {}});
  operation.EndOnPage(catalogue::Page::Results);
  if (!app.results.empty() &&
      app.frontend.ShowMessage(catalogue::MessageKind::Confirmation,
                               "RESULTS list is not empty.\n\r\rAppend to RESULTS list ?",
                               {catalogue::Button::Yes, catalogue::Button::No}) == catalogue::Button::No) {
    app.results.clear();
  }
  // The rows of every key, in FILES order, found once.
  const Column keyColumn = ColumnsOf(kind).key;
  std::unordered_map<std::string, std::vector<std::size_t>> rowsOfKey;
  for (std::size_t i = 0; i < app.files.size(); ++i) rowsOfKey[std::string(app.columnMap.Get(app.files[i], keyColumn))].push_back(i);
  bool stopped = false;
  for (std::size_t l = 0; l < view.lines.size() && !stopped; ++l) {
    if (!view.lines[l].selected) continue;
    for (std::size_t i : rowsOfKey[view.lines[l].key]) {
      app.results.push_back(app.files[i]);
      app.results.back().checked = false;
      if (!operation.ItemDone(l, view.lines.size())) {
        stopped = true;
        break;
      }
    }
  }
  for (catalogue::TrackRecord& row : app.results) row.checked = false;
  app.resultsSort.Clear();
  app.frontend.ListsChanged();
}

void ViewsBuilder::ComputeStatistics(catalogue::Application& app) { views::ComputeStatistics(app); }

}  // namespace tonvault::views
