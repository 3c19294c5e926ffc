#pragma once

#include <QAbstractTableModel>
#include <QMenu>
#include <QTableView>
#include <QWidget>

#include "catalogue/Application.h"

namespace tonvault::ui {

// Shows the group lines of one view.
class ViewLinesModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ViewLinesModel(const catalogue::ViewData& view, catalogue::ViewKind kind, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void Reset();

 private:
  const catalogue::ViewData& view_;
  catalogue::ViewKind kind_;
};

// The Albums, Artists or Genres page: the view's lines, sortable by any
// heading, with "Expand selected lines to RESULTS" in its popup (Ins).
class ViewPage : public QWidget {
  Q_OBJECT
 public:
  ViewPage(catalogue::Application& app, catalogue::ViewKind kind, QWidget* parent = nullptr);
  QTableView* View() const { return view_; }
  // Shows the lines, their selection and the sort arrow again.
  void Reload();

 private:
  void CopySelectionIntoLines();
  void ShowMenu(const QPoint& at);

  catalogue::Application& app_;
  catalogue::ViewKind kind_;
  ViewLinesModel* model_;
  QTableView* view_;
  QAction* expand_;
  bool syncing_ = false;
};

}  // namespace tonvault::ui
