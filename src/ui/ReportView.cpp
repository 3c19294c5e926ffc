#include "ui/ReportView.h"

#include <QHeaderView>
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

}  // namespace tonvault::ui
