#pragma once

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <functional>
#include <vector>

#include "catalogue/Application.h"

namespace tonvault::ui {

// The popup menu of FILES or RESULTS with its shortcut keys (active while
// the list has the focus). Entries of features not built yet are shown
// disabled. Enabling follows the list each time the menu opens.
class ListPopupMenu : public QObject {
  Q_OBJECT
 public:
  ListPopupMenu(catalogue::Application& app, catalogue::ListId list, QTableView* view);

  // Opens the menu at a global position.
  void Popup(const QPoint& at);
  QMenu* Menu() { return &menu_; }
  // Enables the entries for the list's rows and selection.
  void UpdateEnabling();
  // What "Analyze / Fix  MP3" runs (the MP3 page is made after the menus).
  void OnAnalyze(std::function<void()> analyze) { analyze_ = std::move(analyze); }
  // What "Delete selected files on NJB" runs (the player lives in the window).
  void OnDeleteOnPlayer(std::function<void()> remove) { deleteOnPlayer_ = std::move(remove); }
  // What the two copy commands between computer and player run.
  void OnCopyToPlayer(std::function<void()> copy) { copyToPlayer_ = std::move(copy); }
  void OnCopyFromPlayer(std::function<void()> copy) { copyFromPlayer_ = std::move(copy); }
  // What "Add selected files to playlist" runs.
  void OnAddToPlaylist(std::function<void()> add) { addToPlaylist_ = std::move(add); }
  // Shows or hides the entries that work on the player.
  void SetPlayerEntriesVisible(bool visible);

 private:
  struct Entry {
    QAction* action;
    bool needsSelection;
    bool needsRows;
    bool available;
  };
  QAction* Add(const QString& caption, const QString& shortcut, std::function<void()> run, bool needsSelection,
               bool needsRows = false);
  QAction* AddPending(const QString& caption, const QString& shortcut = {});
  void Run(const std::function<void()>& command);

  catalogue::Application& app_;
  catalogue::ListId list_;
  QTableView* view_;
  QMenu menu_;
  std::vector<Entry> entries_;
  std::vector<QAction*> playerEntries_;
  std::function<void()> analyze_;
  std::function<void()> deleteOnPlayer_;
  std::function<void()> copyToPlayer_;
  std::function<void()> copyFromPlayer_;
  std::function<void()> addToPlaylist_;
};

}  // namespace tonvault::ui
