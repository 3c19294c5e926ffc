#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"

namespace tonvault::ui {

// Shows the rows of FILES or RESULTS: display column 0 is the status icon,
// display column k + 1 shows text slot k. The rows stay in the plain vector;
// the model only reads them.
class TrackListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  TrackListModel(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map,
                 QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The rows changed wholesale (loaded, imported, deleted, sorted).
  void Reset();
  // Shows the rows appended to the list since it was last shown, without
  // a reset, so the selection and the scroll place stay. A command that
  // appends rows in a long loop becomes visible row by row.
  void ShowAppendedRows();

 private:
  const std::vector<catalogue::TrackRecord>& rows_;
  const catalogue::ColumnMap& map_;
  int shownRows_ = 0;  // the row count the views were told
};

}  // namespace tonvault::ui
