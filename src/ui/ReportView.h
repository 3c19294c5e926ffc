#pragma once

#include <QAbstractItemModel>
#include <QTableView>
#include <QWidget>

namespace tonvault::ui {

// A read-only report list filling `page`: whole-row multiple selection, grid
// lines, no row headers, clickable headings.
QTableView* MakeReportView(QWidget* page, QAbstractItemModel* model);

}  // namespace tonvault::ui
