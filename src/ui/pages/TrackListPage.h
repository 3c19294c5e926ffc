#pragma once

#include <QTableView>
#include <QWidget>
#include <functional>

#include "catalogue/Application.h"
#include "ui/TrackListModel.h"

namespace tonvault::ui {

// The Files and Results pages: one report list of track rows. The row
// selection is kept in the rows' own flags so that commands see it.
class TrackListPage : public QWidget {
  Q_OBJECT
 public:
  TrackListPage(std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map, QWidget* parent = nullptr);

  QTableView* View() const { return view_; }
  TrackListModel* Model() const { return model_; }
  // Re-reads the rows after a change: rows, selection flags and the sort
  // arrow all come from the catalogue state.
  void Reload(const catalogue::SortState& sort);
  // Called after the selection flags changed through the list.
  void OnSelectionChanged(std::function<void()> callback) { selectionChanged_ = std::move(callback); }
  // Shows the columns in slot order with the widths of `layout` (at least
  // 3 pixels each), drawn wider or narrower as the list's font needs
  // (ColumnWidthScale).
  void ApplyLayout(const catalogue::ColumnLayout& layout);
  // Records the headings and widths by display position, the icon column
  // first; a negative width marks a left-aligned column. Widths are stored
  // as ApplyLayout takes them, independent of the font.
  void StoreLayout(catalogue::ColumnLayout& layout) const;

 private:
  void KeepIconColumnFirst(int logicalIndex, int oldVisualIndex, int newVisualIndex);
  void CopySelectionIntoRows(const QItemSelection& selected, const QItemSelection& deselected);

  std::vector<catalogue::TrackRecord>& rows_;
  TrackListModel* model_;
  QTableView* view_;
  std::function<void()> selectionChanged_;
  bool syncing_ = false;
};

}  // namespace tonvault::ui
