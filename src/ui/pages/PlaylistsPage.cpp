#include "ui/pages/PlaylistsPage.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/StatusIcons.h"

namespace tonvault::ui {

using device::ListRow;

namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// Fills `view` with `rows`: the icon in column 0, the texts after it (the
// last, the ID, in a hidden column), the selection as the rows have it.
void FillView(QTreeWidget* view, const std::vector<ListRow>& rows, const catalogue::SortState& sort) {
  view->clear();
  QList<QTreeWidgetItem*> items;
  for (const ListRow& row : rows) {
    auto* item = new QTreeWidgetItem;
    if (row.icon >= 0) item->setIcon(0, StatusIconFor(row.icon));
    for (std::size_t i = 0; i < row.texts.size(); ++i) item->setText(static_cast<int>(i) + 1, Qs(row.texts[i]));
    items.push_back(item);
  }
  view->addTopLevelItems(items);
  for (int i = 0; i < items.size(); ++i) items[i]->setSelected(rows[static_cast<std::size_t>(i)].selected);
  view->header()->setSortIndicatorShown(sort.column >= 0);
  if (sort.column >= 0) {
    view->header()->setSortIndicator(sort.column, sort.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
}

void CopySelection(QTreeWidget* view, std::vector<ListRow>& rows) {
  for (int i = 0; i < view->topLevelItemCount() && i < static_cast<int>(rows.size()); ++i) {
    rows[static_cast<std::size_t>(i)].selected = view->topLevelItem(i)->isSelected();
  }
}

}  // namespace

PlaylistsPage::PlaylistsPage(catalogue::Application& app, device::DeviceSession& session,
                             device::PlayerContent& content, QWidget* parent)
    : QWidget(parent), app_(app), manager_(app, session, content) {
  playlists_ = MakeList({"", "Playlist", "Tracks", "Length", "ID"}, false);
  tracks_ = MakeList(
      {"", "Title", "Artist", "Album", "Track", "Genre", "Year", "Length", "Codec", "Filesize", "ID"}, true);
  auto* left = new QWidget;
  auto* leftButtons = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->addWidget(playlists_);
  leftLayout->addWidget(leftButtons);
  auto* right = new QWidget;
  auto* rightButtons = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->addWidget(tracks_);
  rightLayout->addWidget(rightButtons);
  new QGridLayout(leftButtons);  // seven buttons in two rows keep the list narrow
  new QHBoxLayout(rightButtons);
  leftButtons->layout()->setContentsMargins(0, 0, 0, 0);
  rightButtons->layout()->setContentsMargins(0, 0, 0, 0);
  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(left);
  split->addWidget(right);
  split->setStretchFactor(1, 2);
  split->setSizes({320, 640});
  (new QVBoxLayout(this))->addWidget(split);

  auto& m = manager_;
  AddCommand(playlistMenu_, leftButtons, "&Load", "Loads all PlayLists form NJB", "", [&m] { m.LoadPlaylists(); });
  AddCommand(playlistMenu_, leftButtons, "&New", "Creates a new PlayList on NJB", "Ins", [&m] { m.NewPlaylist(); });
  rename_ = AddCommand(playlistMenu_, leftButtons, "&Rename", "Renames selected PlayList on NJB", "",
                       [&m] { m.RenamePlaylist(); });
  saveOrder_ = AddCommand(playlistMenu_, leftButtons, "Save a&gain", "Saves all Playlists in the order of the list",
                          "", [&m] { m.SavePlaylistOrder(); });
  AddCommand(playlistMenu_, leftButtons, "Load &from PC", "Loads PlayList(s) form PC", "", [&m] { m.LoadFromPc(); });
  AddCommand(playlistMenu_, leftButtons, "Save all &to PC", "Saves all PlayLists to PC", "", [&m] { m.SaveAllToPc(); });
  remove_ = AddCommand(playlistMenu_, leftButtons, "&Delete", "Deletes selected PlayList on NJB", "Del",
                       [&m] { m.DeletePlaylist(); });
  removeTracks_ = AddCommand(trackMenu_, rightButtons, "Delete from &playlist",
                             "Deletes the selected files from playlist", "Del", [&m] { m.DeleteFromPlaylist(); });
  shuffle_ = AddCommand(trackMenu_, rightButtons, "&Shuffle tracks", "Click after shuffle on  SAVE AGAIN", "",
                        [&m] { m.ShuffleTracks(); });
  saveTrackOrder_ = AddCommand(trackMenu_, rightButtons, "Save &again",
                               "Saves the playlist after a change in the track order", "", [&m] { m.SaveTrackOrder(); });
  shuffle_->setText("Randomize");  // the menu's name; the button keeps "Shuffle tracks"
  static_cast<QHBoxLayout*>(rightButtons->layout())->addStretch();

  manager_.listsChanged = [this] { Refill(); };
  connect(playlists_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (app_.commandStateCode == 0) return;
    manager_.SelectPlaylist(static_cast<std::size_t>(playlists_->indexOfTopLevelItem(item)));
  });
  connect(playlists_, &QTreeWidget::itemSelectionChanged, this, &PlaylistsPage::TakeSelection);
  connect(tracks_, &QTreeWidget::itemSelectionChanged, this, &PlaylistsPage::TakeSelection);
  connect(tracks_, &QTreeWidget::itemDoubleClicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tracks_->selectAll();
    QApplication::restoreOverrideCursor();
  });
  connect(playlists_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (app_.commandStateCode != 0) manager_.SortPlaylists(column);
  });
  connect(tracks_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (app_.commandStateCode != 0) manager_.SortTracks(column);
  });
  for (auto [view, menu] : {std::pair{playlists_, &playlistMenu_}, std::pair{tracks_, &trackMenu_}}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view, menu](const QPoint& at) {
      UpdateMenus();
      menu->popup(view->viewport()->mapToGlobal(at));
    });
  }
  Refill();
}

QTreeWidget* PlaylistsPage::MakeList(const QStringList& headings, bool multiple) {
  auto* view = new QTreeWidget;
  view->setHeaderLabels(headings);
  view->setRootIsDecorated(false);
  view->setUniformRowHeights(true);
  view->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  view->setColumnHidden(static_cast<int>(headings.size()) - 1, true);
  view->setColumnWidth(0, 28);
  view->header()->setSectionsClickable(true);
  view->viewport()->installEventFilter(this);
  return view;
}

QAction* PlaylistsPage::AddCommand(QMenu& menu, QWidget* buttons, const QString& caption, const QString& hint,
                                   const QString& shortcut, std::function<void()> run) {
  QAction* action = menu.addAction(caption);
  action->setToolTip(hint);
  auto* button = new QPushButton(caption, buttons);
  button->setToolTip(hint);
  if (auto* grid = qobject_cast<QGridLayout*>(buttons->layout())) {
    const int placed = grid->count();
    grid->addWidget(button, placed / 4, placed % 4);
  } else {
    buttons->layout()->addWidget(button);
  }
  const auto command = [this, run = std::move(run)] { Run(run); };
  connect(action, &QAction::triggered, this, command);
  connect(button, &QPushButton::clicked, this, command);
  if (!shortcut.isEmpty()) {
    auto* key = new QAction(this);
    key->setShortcut(QKeySequence(shortcut));
    key->setShortcutContext(Qt::WidgetShortcut);
    (&menu == &playlistMenu_ ? playlists_ : tracks_)->addAction(key);
    connect(key, &QAction::triggered, this, command);
  }
  return action;
}

void PlaylistsPage::Run(const std::function<void()>& command) {
  if (app_.commandStateCode == 0) return;  // another command is running
  command();
}

void PlaylistsPage::TakeSelection() {
  if (refilling_) return;
  CopySelection(playlists_, manager_.Lists().playlists);
  CopySelection(tracks_, manager_.Lists().tracks);
}

void PlaylistsPage::Refill() {
  refilling_ = true;
  const device::PlaylistLists& lists = manager_.Lists();
  FillView(playlists_, lists.playlists, lists.playlistSort);
  FillView(tracks_, lists.tracks, lists.trackSort);
  refilling_ = false;
}

void PlaylistsPage::UpdateMenus() {
  const device::PlaylistLists& lists = manager_.Lists();
  const std::size_t selectedTracks = device::CountSelectedRows(lists.tracks);
  rename_->setEnabled(device::FirstSelected(lists.playlists).has_value());
  remove_->setEnabled(rename_->isEnabled());
  saveOrder_->setEnabled(lists.playlists.size() >= 2);
  removeTracks_->setEnabled(selectedTracks >= 1);
  saveTrackOrder_->setEnabled(selectedTracks >= 1);
  shuffle_->setEnabled(selectedTracks >= 2);
}

bool PlaylistsPage::eventFilter(QObject* watched, QEvent* event) {
  QTreeWidget* view = watched == playlists_->viewport() ? playlists_ : watched == tracks_->viewport() ? tracks_ : nullptr;
  if (view == nullptr || app_.commandStateCode == 0) return QWidget::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
    // The press selects the row under it: a drag starts when that leaves
    // exactly one row selected.
    QTreeWidgetItem* pressed = view->itemAt(mouse->position().toPoint());
    const bool single = mouse->modifiers() == Qt::NoModifier &&
                        (view->selectedItems().size() <= 1 || (pressed != nullptr && !pressed->isSelected()));
    if (pressed != nullptr && single) {
      dragFrom_ = view->indexOfTopLevelItem(pressed);
      dragView_ = view;
      view->viewport()->setCursor(Qt::DragMoveCursor);
    }
  } else if (event->type() == QEvent::MouseButtonRelease && dragView_ == view && dragFrom_ >= 0) {
    const int from = dragFrom_;
    dragFrom_ = -1;
    dragView_ = nullptr;
    view->viewport()->unsetCursor();
    const int target = view->indexOfTopLevelItem(view->itemAt(mouse->position().toPoint()));
    if (target >= 0 && target != from) {
      // After the view has finished with the release: the move refills it.
      QTimer::singleShot(0, this, [this, view, from, target] {
        const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(target);
        view == playlists_ ? manager_.DragPlaylist(f, t) : manager_.DragTrack(f, t);
        view->setCurrentItem(view->topLevelItem(target));
      });
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tonvault::ui
