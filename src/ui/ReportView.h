#pragma once

#include <QAbstractItemModel>
#include <QTableView>
#include <QWidget>
#include <functional>

namespace tonvault::ui {

// A read-only report list filling `page`: whole-row multiple selection, grid
// lines, no row headers, clickable headings.
QTableView* MakeReportView(QWidget* page, QAbstractItemModel* model);

// How much wider than its stored pixels a column is drawn in `font`. The
// stored widths are made for a font in which "00:00:00" takes 50 pixels
// (a Length column of 60 pixels holds it with the cell's margins); a
// larger font widens every column in proportion, so the texts that fit
// before still fit. A smaller font keeps the stored widths, since the
// cell's margins do not shrink with it.
double ColumnWidthScale(const QFont& font);

// Gives a report list another font: the row height follows the font and
// every column keeps its share, widened or narrowed by the change of
// ColumnWidthScale.
void SetReportFont(QTableView* view, const QFont& font);

// A list whose selection lives in its rows' own flags: a selection change of
// the view is handed row by row to `mark`, and the flags are shown in the
// view again (in ranges) after a reload.
void MarkSelectionChange(const QItemSelection& selected, const QItemSelection& deselected,
                         const std::function<void(int row, bool selected)>& mark);
void ShowSelectedRows(QTableView* view, int rows, const std::function<bool(int row)>& isSelected);

}  // namespace tonvault::ui
