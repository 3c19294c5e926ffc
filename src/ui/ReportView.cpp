#include "ui/ReportView.h"

#include <QHeaderView>
#include <algorithm>
#include <cmath>
#include <QVBoxLayout>

namespace tonvault::ui {

QTableView* MakeReportView(QWidget* page, QAbstractItemModel* model) {
  auto* view = new QTableView(page);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(true);
  view->setWordWrap(false);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->horizontalHeader()->setSectionsClickable(true);
  view->horizontalHeader()->setHighlightSections(false);
  return view;
}

double ColumnWidthScale(const QFont& font) {
  constexpr double kReferenceLengthWidth = 50.0;
  return std::max(1.0, QFontMetricsF(font).horizontalAdvance("00:00:00") / kReferenceLengthWidth);
}

void SetReportFont(QTableView* view, const QFont& font) {
  const double change = ColumnWidthScale(font) / ColumnWidthScale(view->font());
  QHeaderView* header = view->horizontalHeader();
  view->setFont(font);
  header->setFont(font);
  for (int section = 0; section < header->count(); ++section) {
    header->resizeSection(section, std::max(3, static_cast<int>(std::lround(header->sectionSize(section) * change))));
  }
  view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
}

void MarkSelectionChange(const QItemSelection& selected, const QItemSelection& deselected,
                         const std::function<void(int row, bool selected)>& mark) {
  auto markAll = [&](const QItemSelection& selection, bool value) {
    for (const QItemSelectionRange& range : selection) {
      for (int row = range.top(); row <= range.bottom(); ++row) mark(row, value);
    }
  };
  markAll(deselected, false);
  markAll(selected, true);
}

void ShowSelectedRows(QTableView* view, int rows, const std::function<bool(int row)>& isSelected) {
  QAbstractItemModel* model = view->model();
  QItemSelection selection;
  for (int first = 0; first < rows;) {
    if (!isSelected(first)) {
      ++first;
      continue;
    }
    int last = first;
    while (last + 1 < rows && isSelected(last + 1)) ++last;
    selection.select(model->index(first, 0), model->index(last, model->columnCount() - 1));
    first = last + 1;
  }
  view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

}  // namespace tonvault::ui
