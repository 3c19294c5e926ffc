#include "ui/pages/TrackListPage.h"

#include "ui/ReportView.h"

#include <QHeaderView>
#include <cmath>
#include <cstdlib>
#include <QVBoxLayout>

namespace tonvault::ui {

TrackListPage::TrackListPage(std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map,
                             QWidget* parent)
    : QWidget(parent), rows_(rows), model_(new TrackListModel(rows, map, this)), view_(MakeReportView(this, model_)) {
  view_->setAlternatingRowColors(false);
  QHeaderView* header = view_->horizontalHeader();
  header->setSectionsMovable(true);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  ApplyLayout(catalogue::ColumnLayout());
  connect(header, &QHeaderView::sectionMoved, this, &TrackListPage::KeepIconColumnFirst);
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TrackListPage::CopySelectionIntoRows);
}

void TrackListPage::KeepIconColumnFirst(int, int, int) {
  QHeaderView* header = view_->horizontalHeader();
  const int iconVisual = header->visualIndex(0);
  if (iconVisual != 0) {
    const QSignalBlocker blocker(header);
    header->moveSection(iconVisual, 0);
  }
}

void TrackListPage::ApplyLayout(const catalogue::ColumnLayout& layout) {
  QHeaderView* header = view_->horizontalHeader();
  const QSignalBlocker blocker(header);
  for (int visual = 0; visual < header->count(); ++visual) header->moveSection(header->visualIndex(visual), visual);
  const double scale = ColumnWidthScale(view_->font());
  for (int k = 0; k < catalogue::kDisplayColumns && k < header->count(); ++k) {
    const int stored = std::max(3, std::abs(layout.widths[static_cast<std::size_t>(k)]));
    header->resizeSection(k, std::max(3, static_cast<int>(std::lround(stored * scale))));
  }
}

void TrackListPage::StoreLayout(catalogue::ColumnLayout& layout) const {
  const QHeaderView* header = view_->horizontalHeader();
  std::vector<int> sections = {0};  // the icon column is always number 0
  for (int visual = 0; visual < header->count(); ++visual) {
    if (header->logicalIndex(visual) != 0) sections.push_back(header->logicalIndex(visual));
  }
  for (std::size_t k = 0; k < sections.size() && k < layout.headings.size(); ++k) {
    const int section = sections[k];
    const bool centred =
        model_->headerData(section, Qt::Horizontal, Qt::TextAlignmentRole) == QVariant::fromValue(Qt::AlignCenter);
    layout.headings[k] = model_->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
    const int width =
        std::max(3, static_cast<int>(std::lround(header->sectionSize(section) / ColumnWidthScale(view_->font()))));
    layout.widths[k] = centred || section == 0 ? width : -width;
  }
}

void TrackListPage::CopySelectionIntoRows(const QItemSelection& selected, const QItemSelection& deselected) {
  if (syncing_) return;
  MarkSelectionChange(selected, deselected, [this](int row, bool value) {
    if (row < static_cast<int>(rows_.size())) rows_[static_cast<std::size_t>(row)].selected = value;
  });
  if (selectionChanged_) selectionChanged_();
}

void TrackListPage::Reload(const catalogue::SortState& sort) {
  syncing_ = true;
  model_->Reset();
  ShowSelectedRows(view_, static_cast<int>(rows_.size()),
                   [this](int row) { return rows_[static_cast<std::size_t>(row)].selected; });
  syncing_ = false;
  QHeaderView* header = view_->horizontalHeader();
  header->setSortIndicatorShown(sort.column >= 0);
  if (sort.column >= 0) header->setSortIndicator(sort.column, sort.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

}  // namespace tonvault::ui
