#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "catalogue/Application.h"
#include "catalogue/ViewData.h"

namespace tonvault::views {

using catalogue::ViewData;
using catalogue::ViewKind;
using catalogue::ViewLine;

inline constexpr const char* kVarious = "<Various>";

// The FILES columns a view groups by and shows.
struct ViewColumns {
  catalogue::Column key, second, third;
};
ViewColumns ColumnsOf(ViewKind kind);

// The six column captions of a view.
const std::array<std::string_view, catalogue::kViewColumnCount>& ViewCaptions(ViewKind kind);

// Builds the group lines of `rows`: groups in order of first appearance,
// looked up through a hash map rather than a search of the list.
class ViewAccumulator {
 public:
  ViewAccumulator(ViewKind kind, const catalogue::ColumnMap& map, std::vector<ViewLine>& lines);
  void Add(const catalogue::TrackRecord& row);

 private:
  ViewColumns columns_;
  const catalogue::ColumnMap& map_;
  std::vector<ViewLine>& lines_;
  std::unordered_map<std::string, std::size_t> index_;
};

// Rebuilds one view from FILES; with `showProgress` as a visible long
// operation. Returns false when the user stopped it (the view then stays
// out of date).
bool BuildView(catalogue::Application& app, ViewKind kind, bool showProgress);

// A click on heading `column` (0..5): ascending, or descending when the
// column shows the ascending arrow.
void SortView(ViewData& view, int column);
void SortLines(std::vector<ViewLine>& lines, int column, bool descending);

// "Expand selected lines to RESULTS": the FILES rows of the selected lines.
void ExpandSelectedLines(catalogue::Application& app, ViewKind kind);

// The builder the page change uses.
class ViewsBuilder : public catalogue::ViewBuilder {
 public:
  bool Build(catalogue::Application& app, ViewKind kind, bool showProgress) override {
    return BuildView(app, kind, showProgress);
  }
  void ComputeStatistics(catalogue::Application& app) override;
};

}  // namespace tonvault::views
