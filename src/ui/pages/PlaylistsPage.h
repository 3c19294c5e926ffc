#pragma once

#include <QMenu>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>

#include "catalogue/Application.h"
#include "device/playlists/PlaylistManager.h"

namespace tonvault::ui {

// The Playlists page: the player's playlists on the left, the tracks of the
// selected one on the right, each with its buttons and context menu. Rows
// are dragged to a new place, sorted by a click on a heading, and the
// track list selects all on a double click; the order reaches the player
// only with "Save again".
class PlaylistsPage : public QWidget {
  Q_OBJECT
 public:
  PlaylistsPage(catalogue::Application& app, device::DeviceSession& session, device::PlayerContent& content,
                QWidget* parent = nullptr);

  device::PlaylistManager& Manager() { return manager_; }
  QTreeWidget* PlaylistView() { return playlists_; }
  QTreeWidget* TrackView() { return tracks_; }
  QMenu* PlaylistMenu() { return &playlistMenu_; }
  QMenu* TrackMenu() { return &trackMenu_; }
  // Shows the lists as the manager holds them.
  void Refill();
  // Enables the context menus' entries for the lists' rows and selection.
  void UpdateMenus();

 private:
  QTreeWidget* MakeList(const QStringList& headings, bool multiple);
  QAction* AddCommand(QMenu& menu, QWidget* buttons, const QString& caption, const QString& hint,
                      const QString& shortcut, std::function<void()> run);
  void Run(const std::function<void()>& command);
  void TakeSelection();
  // Dragging a single selected row within `view` onto another row.
  bool eventFilter(QObject* watched, QEvent* event) override;

  catalogue::Application& app_;
  device::PlaylistManager manager_;
  QTreeWidget* playlists_;
  QTreeWidget* tracks_;
  QMenu playlistMenu_;
  QMenu trackMenu_;
  QAction* rename_ = nullptr;
  QAction* remove_ = nullptr;
  QAction* saveOrder_ = nullptr;
  QAction* removeTracks_ = nullptr;
  QAction* shuffle_ = nullptr;
  QAction* saveTrackOrder_ = nullptr;
  int dragFrom_ = -1;
  QTreeWidget* dragView_ = nullptr;
  bool refilling_ = false;
};

}  // namespace tonvault::ui
