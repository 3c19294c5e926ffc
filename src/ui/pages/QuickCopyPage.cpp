#include "ui/pages/QuickCopyPage.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/StatusIcons.h"

namespace tonvault::ui {

namespace {

constexpr const char* kPaneMime = "application/x-tonvault-quick-copy";
const QStringList kHeadings = {"", "Filename", "Title", "Artist", "Album", "Length", "Size  [kB]"};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// A pane's list: its rows are dragged onto the other pane's list.
class QuickPaneView : public QTreeWidget {
 public:
  QuickPaneView(QuickCopyPage& page, QWidget* parent) : QTreeWidget(parent), page_(page) {
    setHeaderLabels(kHeadings);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnWidth(0, 28);
    const int widths[] = {120, 85, 85, 85, 60, 60};
    for (int column = 1; column <= 6; ++column) setColumnWidth(column, widths[column - 1]);
    header()->setSectionsClickable(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
  }

 protected:
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& /*items*/) const override {
    auto* mime = new QMimeData;
    mime->setData(kPaneMime, QByteArray::number(reinterpret_cast<quintptr>(this)));
    return mime;
  }
  QStringList mimeTypes() const override { return {kPaneMime}; }
  Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (FromOtherPane(event->mimeData())) event->acceptProposedAction(); else event->ignore();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (FromOtherPane(event->mimeData())) event->acceptProposedAction(); else event->ignore();
  }
  void dropEvent(QDropEvent* event) override {
    if (!FromOtherPane(event->mimeData())) return event->ignore();
    event->acceptProposedAction();
    const int row = indexOfTopLevelItem(itemAt(event->position().toPoint()));
    // After the drag has ended: the copy opens windows of its own.
    QTimer::singleShot(0, &page_, [this, row] { page_.DropOn(this, row); });
  }

 private:
  bool FromOtherPane(const QMimeData* mime) const {
    return mime->hasFormat(kPaneMime) && mime->data(kPaneMime) != QByteArray::number(reinterpret_cast<quintptr>(this));
  }
  QuickCopyPage& page_;
};

QuickCopyPage::QuickCopyPage(catalogue::Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  split_ = new QSplitter(Qt::Horizontal, this);
  split_->addWidget(BuildPcPane());
  split_->addWidget(BuildPlayerPane());
  split_->setChildrenCollapsible(false);
  (new QVBoxLayout(this))->addWidget(split_);
  connect(split_, &QSplitter::splitterMoved, this,
          [this] { app_.options.quick.leftPanelWidth = split_->sizes().value(0); });
}

QuickCopyPage::~QuickCopyPage() = default;

QTreeWidget* QuickCopyPage::PcView() { return pcView_; }
QTreeWidget* QuickCopyPage::PlayerView() { return playerView_; }

QWidget* QuickCopyPage::BuildPcPane() {
  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  folderLabel_ = new QLabel(pane);
  folderLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  pcView_ = new QuickPaneView(*this, pane);
  layout->addWidget(folderLabel_);
  layout->addWidget(pcView_, 1);
  auto* buttons = new QGridLayout;
  layout->addLayout(buttons);
  levelUp_ = Button(buttons, "One Level Up", [this] { quick_->OneLevelUp(); });
  Button(buttons, "Copy selected files from PC to NJB", [this] { quick_->CopyToPlayer(Selected(pcView_)); });
  Button(buttons, "Refresh List", [this] { quick_->FillPcPane(); });
  Button(buttons, "New Directory", [this] { quick_->NewDirectory(); });
  Button(buttons, "Select Directory", [this] { quick_->SelectDirectory(); });

  pcCopy_ = Entry(pcMenu_, "Copy selected files to NJB", [this] { quick_->CopyToPlayer(Selected(pcView_)); });
  pcDetails_ = Entry(pcMenu_, "Song details", [this] {
    if (auto row = Focused(pcView_)) quick_->PcSongDetails(*row);
  });
  pcAnalyze_ = Entry(pcMenu_, "Analyze / Fix  MP3", [this] {
    if (auto row = Focused(pcView_); row && analyze_) analyze_(quick_->PathOfPcRow(*row));
  });
  pcPlay_ = Entry(pcMenu_, "Play with default MP3 player", [this] { quick_->PlayWithDefaultPlayer(Selected(pcView_)); });
  ConnectPane(pcView_, pcMenu_, [this](std::size_t row) { quick_->OpenPcRow(row); },
              [this](int column) { quick_->SortPcPane(column); });
  return pane;
}

QWidget* QuickCopyPage::BuildPlayerPane() {
  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  audio_ = Button(top, "Audio", [this] { quick_->SetAudioMode(true); });
  data_ = Button(top, "Data", [this] { quick_->SetAudioMode(false); });
  for (QPushButton* mode : {audio_, data_}) mode->setCheckable(true);
  upOneLevel_ = Button(top, "Up One Level ", [this] { quick_->UpOneLevel(); });
  playerPath_ = new QLabel(pane);
  playerPath_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  top->addWidget(playerPath_, 1);
  playerView_ = new QuickPaneView(*this, pane);
  layout->addWidget(playerView_, 1);
  auto* buttons = new QGridLayout;
  layout->addLayout(buttons);
  copyToPc_ = Button(buttons, "Copy selected files from NJB to PC", [this] { quick_->CopyToPc(Selected(playerView_)); });
  deleteOnPlayer_ = Button(buttons, "Delete selected files on NJB", [this] { quick_->DeleteOnPlayer(Selected(playerView_)); });
  Button(buttons, "Refresh List", [this] { quick_->RefreshPlayerPane(); });
  play_ = Button(buttons, "Play selected files on NJB", [this] {
    if (playback_) quick_->PlayOnPlayer(Selected(playerView_), *playback_);
  });
  addToPlaylist_ = Button(buttons, "Add selected files to a Playlist", [this] {
    if (playlists_) quick_->AddToPlaylist(Selected(playerView_), *playlists_);
  });

  playerCopy_ = Entry(playerMenu_, "Copy selected files to PC", [this] { quick_->CopyToPc(Selected(playerView_)); });
  playerDelete_ = Entry(playerMenu_, "Delete selected files on NJB", [this] { quick_->DeleteOnPlayer(Selected(playerView_)); });
  playerDetails_ = Entry(playerMenu_, "Song details", [this] {
    if (auto row = Focused(playerView_)) quick_->PlayerSongDetails(*row);
  });
  playerPlay_ = Entry(playerMenu_, "Play on NJB", [this] {
    if (playback_) quick_->PlayOnPlayer(Selected(playerView_), *playback_);
  });
  playerPlaylist_ = Entry(playerMenu_, "Add to Playlist", [this] {
    if (playlists_) quick_->AddToPlaylist(Selected(playerView_), *playlists_);
  });
  playerInfo_ = Entry(playerMenu_, "Copy info to FILES page", [this] { quick_->CopyInfoToFiles(Selected(playerView_)); });
  ConnectPane(playerView_, playerMenu_, [this](std::size_t row) { quick_->OpenPlayerRow(row); },
              [this](int column) { quick_->SortPlayerPane(column); });
  return pane;
}

QPushButton* QuickCopyPage::Button(QLayout* layout, const QString& caption, std::function<void()> run) {
  auto* button = new QPushButton(caption);
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    // Two buttons a row keep the panes narrow.
    const int placed = grid->count();
    grid->addWidget(button, placed / 2, placed % 2);
  } else {
    layout->addWidget(button);
  }
  connect(button, &QPushButton::clicked, this, [this, run = std::move(run)] { Run(run); });
  return button;
}

QAction* QuickCopyPage::Entry(QMenu& menu, const QString& caption, std::function<void()> run) {
  QAction* action = menu.addAction(caption);
  connect(action, &QAction::triggered, this, [this, run = std::move(run)] { Run(run); });
  return action;
}

void QuickCopyPage::ConnectPane(QTreeWidget* view, QMenu& menu, std::function<void(std::size_t)> open,
                                std::function<void(int)> sort) {
  AddSelectionEntries(menu, view);
  // The column widths the settings keep, as the user leaves them.
  auto& widths = view == pcView_ ? app_.options.quick.leftColumnWidths : app_.options.quick.rightColumnWidths;
  for (std::size_t column = 0; column < widths.size(); ++column) {
    if (widths[column] > 0) view->setColumnWidth(static_cast<int>(column), widths[column]);
  }
  connect(view->header(), &QHeaderView::sectionResized, this, [&widths](int column, int, int width) {
    if (column >= 0 && static_cast<std::size_t>(column) < widths.size()) widths[static_cast<std::size_t>(column)] = width;
  });
  connect(view, &QTreeWidget::itemDoubleClicked, this, [this, view, open](QTreeWidgetItem* item) {
    const int row = view->indexOfTopLevelItem(item);
    if (row >= 0) Run([open, row] { open(static_cast<std::size_t>(row)); });
  });
  connect(view->header(), &QHeaderView::sectionClicked, this,
          [this, sort](int column) { Run([sort, column] { sort(column); }); });
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view, &QWidget::customContextMenuRequested, this, [this, view, &menu](const QPoint& at) {
    UpdateMenus();
    menu.popup(view->viewport()->mapToGlobal(at));
  });
}

void QuickCopyPage::AddSelectionEntries(QMenu& menu, QTreeWidget* view) {
  menu.addSeparator();
  menu.addAction("Select all", view, [view] { view->selectAll(); });
  menu.addAction("Select none", view, [view] { view->clearSelection(); });
  menu.addAction("Invert selection", view, [view] {
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = view->topLevelItem(i);
      item->setSelected(!item->isSelected());
    }
  });
}

void QuickCopyPage::Attach(device::TransferContext& context, device::PlaybackControl& playback,
                           device::PlaylistManager& playlists, std::function<void(const std::string&)> analyze) {
  quick_ = std::make_unique<device::QuickCopy>(context);
  playback_ = &playback;
  playlists_ = &playlists;
  analyze_ = std::move(analyze);
  context.content.refillQuickCopy = [this] {
    quick_->FillPlayerPane(true);
    Refill();
  };
  Refill();
}

void QuickCopyPage::Run(const std::function<void()>& command) {
  if (!quick_ || app_.commandStateCode == 0) return;  // another command is running
  command();
  Refill();
}

void QuickCopyPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  const int width = app_.options.quick.leftPanelWidth > 0 ? app_.options.quick.leftPanelWidth : split_->width() / 2;
  split_->setSizes({width, std::max(split_->width() - width, 1)});
  // After the page change has finished: filling runs as a command.
  if (!filled_) QTimer::singleShot(0, this, [this] { Fill(); });
}

void QuickCopyPage::Fill() {
  if (!quick_) return;
  filled_ = true;
  if (quick_->PcRows().empty()) quick_->FillPcPane();
  // Showing the page reads a player already found; without one the pane
  // waits for "Refresh List" instead of greeting the user with an error.
  if (app_.deviceKind != 0) quick_->FillPlayerPane(false);
  Refill();
}

namespace {

void FillView(QTreeWidget* view, const std::vector<device::QuickRow>& rows, std::pair<int, bool> sort) {
  view->clear();
  view->header()->setSortIndicatorShown(sort.first >= 0);
  if (sort.first >= 0) view->header()->setSortIndicator(sort.first, sort.second ? Qt::AscendingOrder : Qt::DescendingOrder);
  QList<QTreeWidgetItem*> items;
  const QIcon folder = view->style()->standardIcon(QStyle::SP_DirIcon);
  for (const device::QuickRow& row : rows) {
    auto* item = new QTreeWidgetItem;
    item->setIcon(0, row.icon == device::QuickIcon::Folder ? folder : StatusIconFor(row.icon));
    for (std::size_t i = 0; i < row.texts.size(); ++i) item->setText(static_cast<int>(i) + 1, Qs(row.texts[i]));
    for (int column : {5, 6}) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    items.push_back(item);
  }
  view->addTopLevelItems(items);
}

}  // namespace

void QuickCopyPage::Refill() {
  if (!quick_) return;
  FillView(pcView_, quick_->PcRows(), quick_->PcSort());
  FillView(playerView_, quick_->PlayerRows(), quick_->PlayerSort());
  folderLabel_->setText(Qs(quick_->Folder()));
  playerPath_->setText(Qs(quick_->PlayerPath()));
  UpdateButtons();
}

void QuickCopyPage::UpdateButtons() {
  audio_->setChecked(quick_->AudioMode());
  data_->setChecked(!quick_->AudioMode());
  levelUp_->setEnabled(quick_->OneLevelUpEnabled());
  const device::PlayerPaneState state = quick_->PlayerButtons();
  upOneLevel_->setEnabled(quick_->Level() == device::QuickLevel::Names || quick_->Level() == device::QuickLevel::Tracks);
  copyToPc_->setEnabled(state.copy);
  deleteOnPlayer_->setEnabled(state.remove);
  play_->setEnabled(state.play);
  addToPlaylist_->setEnabled(state.playlist);
}

std::vector<std::size_t> QuickCopyPage::Selected(QTreeWidget* view) const {
  std::vector<std::size_t> rows;
  for (int i = 0; i < view->topLevelItemCount(); ++i) {
    if (view->topLevelItem(i)->isSelected()) rows.push_back(static_cast<std::size_t>(i));
  }
  return rows;
}

std::optional<std::size_t> QuickCopyPage::Focused(QTreeWidget* view) const {
  const int row = view->indexOfTopLevelItem(view->currentItem());
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void QuickCopyPage::UpdateMenus() {
  if (!quick_) return;
  const device::PcPopupState pc = quick_->PcPopup(!Selected(pcView_).empty(), Focused(pcView_));
  pcCopy_->setEnabled(pc.copy);
  pcDetails_->setEnabled(pc.songDetails);
  pcAnalyze_->setEnabled(pc.analyze);
  pcPlay_->setEnabled(pc.play);
  const device::PlayerPaneState player = quick_->PlayerPopup(!Selected(playerView_).empty());
  playerCopy_->setEnabled(player.copy);
  playerDelete_->setEnabled(player.remove);
  playerDetails_->setEnabled(player.songDetails);
  playerPlay_->setEnabled(player.play);
  playerPlaylist_->setEnabled(player.playlist);
  playerInfo_->setEnabled(player.copyInfo);
}

void QuickCopyPage::DropOn(QTreeWidget* target, int row) {
  if (target == playerView_) {
    Run([this] { quick_->CopyToPlayer(Selected(pcView_)); });
  } else {
    std::optional<std::size_t> dropRow;
    if (row >= 0) dropRow = static_cast<std::size_t>(row);
    Run([this, dropRow] { quick_->CopyToPc(Selected(playerView_), dropRow); });
  }
}

}  // namespace tonvault::ui
