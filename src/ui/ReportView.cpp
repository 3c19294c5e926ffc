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

}  // namespace tonvault::ui
