#include "ui/pages/ViewPage.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "ui/ReportView.h"
#include "views/Views.h"

namespace tonvault::ui {

using catalogue::ViewKind;

ViewLinesModel::ViewLinesModel(const catalogue::ViewData& view, ViewKind kind, QObject* parent)
    : QAbstractTableModel(parent), view_(view), kind_(kind) {}

int ViewLinesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(view_.lines.size());
}

int ViewLinesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : catalogue::kViewColumnCount;
}

QVariant ViewLinesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(view_.lines.size())) return {};
  const catalogue::ViewLine& line = view_.lines[static_cast<std::size_t>(index.row())];
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter | (index.column() >= 3 ? Qt::AlignHCenter : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole) return {};
  const std::string* texts[] = {&line.key, &line.second, &line.third, &line.tracks, &line.size, &line.length};
  return QString::fromStdString(*texts[index.column()]);
}

QVariant ViewLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 6) return {};
  const auto caption = views::ViewCaptions(kind_)[static_cast<std::size_t>(section)];
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void ViewLinesModel::Reset() {
  beginResetModel();
  endResetModel();
}

ViewPage::ViewPage(catalogue::Application& app, ViewKind kind, QWidget* parent)
    : QWidget(parent),
      app_(app),
      kind_(kind),
      model_(new ViewLinesModel(app.views[static_cast<std::size_t>(kind)], kind, this)),
      view_(MakeReportView(this, model_)) {
  QHeaderView* header = view_->horizontalHeader();
  const int widths[] = {220, 200, 140, 60, 90, 100};
  for (int i = 0; i < 6; ++i) header->resizeSection(i, widths[i]);
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
    if (app_.commandStateCode == 0) return;
    views::SortView(app_.views[static_cast<std::size_t>(kind_)], column);
    Reload();
  });
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ViewPage::CopySelectionIntoLines);

  expand_ = new QAction("Expand selected lines to RESULTS", this);
  expand_->setShortcut(QKeySequence("Ins"));
  expand_->setShortcutContext(Qt::WidgetShortcut);
  view_->addAction(expand_);
  connect(expand_, &QAction::triggered, this, [this] { views::ExpandSelectedLines(app_, kind_); });
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowMenu(view_->viewport()->mapToGlobal(at)); });
}

void ViewPage::ShowMenu(const QPoint& at) {
  const auto& lines = app_.views[static_cast<std::size_t>(kind_)].lines;
  const bool any = std::any_of(lines.begin(), lines.end(), [](const catalogue::ViewLine& l) { return l.selected; });
  expand_->setEnabled(any);
  if (!any) app_.frontend.Beep(catalogue::Sound::Default);
  QMenu menu(this);
  menu.addAction(expand_);
  menu.exec(at);
  expand_->setEnabled(true);
}

void ViewPage::CopySelectionIntoLines() {
  if (syncing_) return;
  auto& lines = app_.views[static_cast<std::size_t>(kind_)].lines;
  for (auto& line : lines) line.selected = false;
  for (const QModelIndex& index : view_->selectionModel()->selectedRows()) {
    if (index.row() < static_cast<int>(lines.size())) lines[static_cast<std::size_t>(index.row())].selected = true;
  }
  const auto selected =
      std::count_if(lines.begin(), lines.end(), [](const catalogue::ViewLine& l) { return l.selected; });
  if (app_.commandStateCode != 0) app_.frontend.SetStatusPanel(1, "Selected: " + std::to_string(selected));
}

void ViewPage::Reload() {
  syncing_ = true;
  model_->Reset();
  const auto& view = app_.views[static_cast<std::size_t>(kind_)];
  QItemSelection selection;
  for (std::size_t i = 0; i < view.lines.size(); ++i) {
    if (view.lines[i].selected) {
      selection.select(model_->index(static_cast<int>(i), 0), model_->index(static_cast<int>(i), 5));
    }
  }
  view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  syncing_ = false;
  QHeaderView* header = view_->horizontalHeader();
  header->setSortIndicatorShown(view.sortColumn >= 0);
  if (view.sortColumn >= 0) {
    header->setSortIndicator(view.sortColumn, view.sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
}

}  // namespace tonvault::ui
