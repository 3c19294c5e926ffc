#include "ui/pages/SyncPage.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/ReportView.h"
#include "ui/pages/OptionControls.h"
#include "views/TextsMatch.h"

namespace tonvault::ui {

using device::SyncCategory;
using Options = catalogue::SyncOptions;

namespace {

constexpr const char* kSideHeadings[device::kSideColumns] = {"Album",    "Artist", "Title", "Track",   "Length",
                                                             "Filesize", "Codec",  "Genre", "Year",    "Comment",
                                                             "Filename"};

QString Qs(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool IsCentred(int column) {
  const int side = column > device::kSymbolColumn ? column - 13 : column - 1;
  return column == device::kSymbolColumn || side == device::kTrack || side == device::kLength ||
         side == device::kFilesize || side == device::kCodec || side == device::kYear;
}

}  // namespace

// Shows the lines of the compare; reads them from the page's logic.
class SyncListModel : public QAbstractTableModel {
 public:
  explicit SyncListModel(QObject* parent) : QAbstractTableModel(parent) {}
  void SetLogic(const device::Synchronization* sync) { sync_ = sync; }
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || sync_ == nullptr ? 0 : static_cast<int>(sync_->Lines().size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : device::kSyncListColumns;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (sync_ == nullptr || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole && IsCentred(index.column())) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return Qs(sync_->Text(sync_->Lines()[static_cast<std::size_t>(index.row())], index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole && IsCentred(section)) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (section == device::kSymbolColumn) return QString("=");
    if (section >= 1 && section < device::kSymbolColumn) return QString(kSideHeadings[section - 1]);
    if (section > device::kSymbolColumn && section < device::kIndexColumn) return QString(kSideHeadings[section - 13]);
    return QString();
  }

 private:
  const device::Synchronization* sync_ = nullptr;
};

SyncPage::SyncPage(catalogue::Application& app, QWidget* parent)
    : QWidget(parent), app_(app), controls_(new OptionControls(this)) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(BuildCompareGroup());
  top->addWidget(BuildShowGroup());
  top->addWidget(BuildActions());
  top->addStretch(1);
  layout->addLayout(top);
  auto* listPlace = new QWidget(this);
  model_ = new SyncListModel(this);
  list_ = MakeReportView(listPlace, model_);
  list_->setObjectName("SyncListView");
  list_->setColumnHidden(device::kIndexColumn, true);
  layout->addWidget(listPlace, 1);
  ApplyColumnWidths();
  connect(list_->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int width) { StoreColumnWidth(column, width); });
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (sync_ && app_.commandStateCode != 0) sync_->SortByColumn(column);
  });
  // Queued: the release that ends the double click would otherwise select
  // the clicked line alone again.
  connect(
      list_, &QAbstractItemView::doubleClicked, this,
      [this] {
        if (sync_ && app_.commandStateCode != 0) sync_->SelectAll();
      },
      Qt::QueuedConnection);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            if (reloading_ || !sync_) return;
            auto& lines = sync_->Lines();
            MarkSelectionChange(selected, deselected, [&](int row, bool value) {
              if (row < static_cast<int>(lines.size())) lines[static_cast<std::size_t>(row)].selected = value;
            });
            sync_->SelectionChanged();
          });
}

void SyncPage::Detach() {
  model_->SetLogic(nullptr);
  model_->Reset();
  sync_.reset();
}

void SyncPage::Attach(device::DeviceSession& session, device::PlayerContent& content,
                      device::TransferContext* transfers) {
  sync_ = std::make_unique<device::Synchronization>(app_, session, content);
  sync_->SetTransfers(transfers);
  sync_->linesChanged = [this] { Reload(); };
  model_->SetLogic(sync_.get());
  Reload();
}

QComboBox* SyncPage::ModeList(int& option, QWidget* parent) {
  auto* list = new QComboBox(parent);
  for (const char* text : views::kCompareModeTexts) list->addItem(text);
  list->setCurrentIndex(std::clamp(option, 0, 8));
  connect(list, &QComboBox::activated, this, [this, &option, list](int index) {
    option = index;
    if (list == modeLists_.at(3) && sync_) sync_->FileNameModeChosen(index);
  });
  modeLists_.push_back(list);
  return list;
}

QWidget* SyncPage::BuildCompareGroup() {
  auto* group = new QGroupBox(" Compare ", this);
  auto* grid = new QGridLayout(group);
  Options& o = app_.options.sync;
  const std::tuple<const char*, const char*, bool&, int&> texts[] = {
      {"Album", "CAlbumCheckBox", o.album, o.albumMode},
      {"Artist", "CArtistCheckBox", o.artist, o.artistMode},
      {"Title", "CTitleCheckBox", o.title, o.titleMode},
      {"Filename", "CFileNameCheckBox", o.fileName, o.fileNameMode}};
  int row = 0;
  for (const auto& [caption, name, flag, mode] : texts) {
    QCheckBox* box = controls_->Check(group, caption, flag);
    box->setObjectName(name);
    grid->addWidget(box, row, 0);
    grid->addWidget(ModeList(mode, group), row, 1);
    ++row;
  }
  auto place = [&](const char* caption, const char* name, bool& flag, int r, int c) {
    QCheckBox* box = controls_->Check(group, caption, flag);
    box->setObjectName(name);
    grid->addWidget(box, r, c);
  };
  place("Track", "CTrackCheckBox", o.track, 0, 2);
  place("Length", "CLengthCheckBox", o.length, 1, 2);
  place("FileSize", "CFileSizeCheckBox", o.fileSize, 2, 2);
  grid->addWidget(controls_->Spin(group, o.lengthTolerance, 0, 120, 1), 1, 3);
  grid->addWidget(new QLabel("±  sec  tolerance", group), 1, 4);
  grid->addWidget(controls_->Spin(group, o.fileSizeTolerance, 0, 10000, 5), 2, 3);
  grid->addWidget(new QLabel("±  kB  tolerance", group), 2, 4);
  place("Codec", "CCodecCheckBox", o.codec, 0, 5);
  place("Genre", "CGenreCheckBox", o.genre, 1, 5);
  place("Year", "CYearCheckBox", o.year, 2, 5);
  place("Comment", "CCommentCheckBox", o.comment, 3, 5);
  return group;
}

QWidget* SyncPage::BuildShowGroup() {
  auto* group = new QGroupBox(" Show ", this);
  auto* column = new QVBoxLayout(group);
  Options& o = app_.options.sync;
  const std::tuple<SyncCategory, bool&, const char*, const char*> buttons[] = {
      {SyncCategory::OnlyOnPc, o.onlyOnPc, "CPCSB", ""},
      {SyncCategory::PcAndNjb, o.onBoth, "CBothSB", "without multible match"},
      {SyncCategory::OnlyOnNjb, o.onlyOnNjb, "CNJBSB", ""},
      {SyncCategory::MultipleMatch, o.multipleMatch, "CMultSB", "Displays files matching to more than one file on the other device"}};
  for (const auto& [category, option, name, hint] : buttons) {
    auto* button = new QPushButton(device::CategoryCaption(category), group);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setChecked(option);
    if (*hint != '\0') button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, &option, category](bool down) {
      option = down;
      if (sync_ && app_.commandStateCode != 0) sync_->ShowButtonClicked(category);
    });
    showButtons_[category] = button;
    column->addWidget(button);
  }
  column->addStretch(1);
  return group;
}

QPushButton* SyncPage::Action(const char* caption, const char* hint, void (device::Synchronization::*run)(),
                              QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  if (*hint != '\0') button->setToolTip(hint);
  connect(button, &QPushButton::clicked, this, [this, run] {
    if (sync_ && app_.commandStateCode != 0) (sync_.get()->*run)();
  });
  return button;
}

QWidget* SyncPage::BuildActions() {
  auto* place = new QWidget(this);
  auto* column = new QVBoxLayout(place);
  column->setContentsMargins(0, 0, 0, 0);
  compare_ = Action("Start compare", "Compares tracks in FILES with tracks on the NJB",
                    &device::Synchronization::StartCompare, place);
  copyToNjb_ = Action("Copy to NJB", "", &device::Synchronization::CopyToNjb, place);
  deleteOnNjb_ = Action("Delete on NJB", "", &device::Synchronization::DeleteOnNjb, place);
  copyToPc_ = Action("Copy to PC", "", &device::Synchronization::CopyToPc, place);
  deleteOnPc_ = Action("Delete on PC", "", &device::Synchronization::DeleteOnPc, place);
  for (QPushButton* button : {compare_, copyToNjb_, deleteOnNjb_, copyToPc_, deleteOnPc_}) column->addWidget(button);
  column->addStretch(1);
  return place;
}

void SyncPage::Reload() {
  reloading_ = true;
  model_->Reset();
  const auto& lines = sync_->Lines();
  ShowSelectedRows(list_, static_cast<int>(lines.size()),
                   [&](int row) { return lines[static_cast<std::size_t>(row)].selected; });
  reloading_ = false;
  QHeaderView* header = list_->horizontalHeader();
  header->setSortIndicatorShown(sync_->SortColumn() >= 0);
  if (sync_->SortColumn() >= 0) {
    header->setSortIndicator(sync_->SortColumn(), sync_->SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
}

void SyncPage::ApplyColumnWidths() {
  QHeaderView* header = list_->horizontalHeader();
  const QSignalBlocker blocker(header);
  const double scale = ColumnWidthScale(list_->font());
  header->resizeSection(0, 0);
  for (std::size_t c = 1; c < catalogue::kSyncColumns; ++c) {
    const int stored = std::max(3, app_.options.sync.columnWidths[c]);
    header->resizeSection(static_cast<int>(c), static_cast<int>(std::lround(stored * scale)));
  }
}

void SyncPage::StoreColumnWidth(int column, int width) {
  if (column < 1 || column >= static_cast<int>(catalogue::kSyncColumns)) return;
  app_.options.sync.columnWidths[static_cast<std::size_t>(column)] =
      std::max(3, static_cast<int>(std::lround(width / ColumnWidthScale(list_->font()))));
}

}  // namespace tonvault::ui
