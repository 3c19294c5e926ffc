#include "ui/TrackListModel.h"

#include "ui/StatusIcons.h"

namespace tonvault::ui {

using catalogue::Column;
using catalogue::kLogicalColumnCount;

TrackListModel::TrackListModel(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map,
                               QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), map_(map), shownRows_(static_cast<int>(rows.size())) {}

int TrackListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int TrackListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLogicalColumnCount + 1;
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const auto& row = rows_[static_cast<std::size_t>(index.row())];
  if (index.column() == 0) {
    if (role == Qt::DecorationRole) return StatusIconFor(row.icon);
    return {};
  }
  const auto slot = static_cast<std::size_t>(index.column() - 1);
  switch (role) {
    case Qt::DisplayRole: {
      const std::string_view text = row.texts[slot];
      return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Qt::TextAlignmentRole: {
      const int column = map_.ColumnInSlot(static_cast<int>(slot));
      const bool centred = column >= 0 && catalogue::IsCentredColumn(static_cast<Column>(column));
      return QVariant::fromValue(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
    }
    default:
      return {};
  }
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section == 0) return {};
  const int column = map_.ColumnInSlot(section - 1);
  if (role == Qt::DisplayRole && column >= 0) {
    const auto caption = catalogue::ColumnCaptions()[static_cast<std::size_t>(column)];
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  }
  if (role == Qt::TextAlignmentRole && column >= 0 && catalogue::IsCentredColumn(static_cast<Column>(column))) {
    return QVariant::fromValue(Qt::AlignCenter);
  }
  return {};
}

void TrackListModel::Reset() {
  beginResetModel();
  shownRows_ = static_cast<int>(rows_.size());
  endResetModel();
}

void TrackListModel::ShowAppendedRows() {
  const int rows = static_cast<int>(rows_.size());
  if (rows <= shownRows_) return;
  beginInsertRows({}, shownRows_, rows - 1);
  shownRows_ = rows;
  endInsertRows();
}

}  // namespace tonvault::ui
