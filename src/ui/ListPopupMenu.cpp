#include "ui/ListPopupMenu.h"

#include "catalogue/DatabaseCommands.h"
#include "catalogue/DiskOperations.h"
#include "catalogue/ListOperations.h"
#include "catalogue/PageChange.h"

namespace tonvault::ui {

using catalogue::ListId;

ListPopupMenu::ListPopupMenu(catalogue::Application& app, ListId list, QTableView* view)
    : QObject(view), app_(app), list_(list), view_(view) {
  catalogue::Application& a = app_;
  const bool files = list == ListId::Files;
  Add("Select all", "Ctrl+A", [&a, list] { catalogue::SelectAll(a, list); }, false, true);
  Add("Select none", {}, [&a, list] { catalogue::SelectNone(a, list); }, true);
  Add("Invert selection", {}, [&a, list] { catalogue::InvertSelection(a, list); }, true);
  menu_.addSeparator();
  if (files) Add("Copy selected lines to RESULTS", "Ins", [&a] { catalogue::CopySelectedLinesToResults(a); }, true);
  Add("Play selected files", "P", [&a] { catalogue::PlaySelectedFiles(a); }, true);
  Add("ID3-Tag editor", "I", [&a] { catalogue::ChangePage(a, catalogue::Page::Id3Editor); }, true);
  Add("Analyze / Fix  MP3", "A", [this] { if (analyze_) analyze_(); }, true);
  menu_.addSeparator();
  Add("Delete selected lines", "Del", [&a] { catalogue::DeleteSelectedLines(a); }, true);
  if (!files) {
    Add("Delete selected lines also in \"Files\"", "Shift+Del",
        [&a] { catalogue::DeleteSelectedLinesAlsoInFiles(a); }, true);
    Add("Delete in \"Files\" all except Results", {}, [&a] { catalogue::DeleteAllExceptResults(a); }, true);
  }
  menu_.addSeparator();
  // The player commands live in the window; the menu runs what it was given.
  const auto hook = [this](std::function<void()> ListPopupMenu::*slot) {
    return [this, slot] {
      if (this->*slot) (this->*slot)();
    };
  };
  playerEntries_ = {Add("Delete selected files on NJB", "Ctrl+Del", hook(&ListPopupMenu::deleteOnPlayer_), true),
                    Add("Copy selected files from PC to NJB", "Ctrl+Ins", hook(&ListPopupMenu::copyToPlayer_), true),
                    Add("Copy selected files from NJB to PC", {}, hook(&ListPopupMenu::copyFromPlayer_), true),
                    Add("Add selected files to playlist", "Shift+Ins", hook(&ListPopupMenu::addToPlaylist_), true)};
  menu_.addSeparator();
  Add("Copy selected files to folder", {}, [&a] { catalogue::CopyOrMoveFiles(a, true, false); }, true);
  Add("Copy selected files to folder (with subfolder)", {}, [&a] { catalogue::CopyOrMoveFiles(a, true, true); }, true);
  Add("Move selected files to folder", {}, [&a] { catalogue::CopyOrMoveFiles(a, false, false); }, true);
  Add("Move selected files to folder (with subfolder)", {}, [&a] { catalogue::CopyOrMoveFiles(a, false, true); }, true);
  Add("Delete selected files from harddisk", {}, [&a] { catalogue::DeleteFiles(a); }, true);
  menu_.addSeparator();
  if (files) {
    Add("Save database", {}, [&a] { catalogue::SaveDatabase(a); }, false, true);
    Add("Save database as", {}, [&a] { catalogue::SaveDatabaseAs(a); }, false, true);
  } else {
    Add("Save RESULTS to database", {}, [&a] { catalogue::SaveResultsToDatabase(a); }, false, true);
  }
  connect(&menu_, &QMenu::aboutToShow, this, &ListPopupMenu::UpdateEnabling);
}

QAction* ListPopupMenu::Add(const QString& caption, const QString& shortcut, std::function<void()> run,
                            bool needsSelection, bool needsRows) {
  QAction* action = menu_.addAction(caption);
  if (!shortcut.isEmpty()) {
    action->setShortcut(QKeySequence(shortcut));
    action->setShortcutContext(Qt::WidgetShortcut);
    view_->addAction(action);
  }
  connect(action, &QAction::triggered, this, [this, run = std::move(run)] { Run(run); });
  entries_.push_back({action, needsSelection, needsRows, true});
  return action;
}

QAction* ListPopupMenu::AddPending(const QString& caption, const QString& shortcut) {
  QAction* action = menu_.addAction(caption);
  if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
  action->setEnabled(false);
  entries_.push_back({action, true, false, false});
  return action;
}

void ListPopupMenu::Run(const std::function<void()>& command) {
  // The commands act on the list of the page on display: make sure it is
  // this one (a shortcut only reaches a visible list anyway).
  if (app_.commandStateCode == 0) return;
  const catalogue::Page page = list_ == ListId::Files ? catalogue::Page::Files : catalogue::Page::Results;
  if (app_.currentPage != page) catalogue::ChangePage(app_, page);
  command();
}

void ListPopupMenu::UpdateEnabling() {
  const auto& rows = catalogue::Rows(app_, list_);
  const bool hasRows = !rows.empty();
  const bool hasSelection = catalogue::CountSelected(rows) > 0;
  for (const Entry& entry : entries_) {
    bool enabled = entry.available;
    if (entry.needsSelection) enabled = enabled && hasSelection;
    if (entry.needsRows) enabled = enabled && hasRows;
    entry.action->setEnabled(enabled);
  }
}

void ListPopupMenu::Popup(const QPoint& at) { menu_.exec(at); }

void ListPopupMenu::SetPlayerEntriesVisible(bool visible) {
  for (QAction* action : playerEntries_) action->setVisible(visible);
}

}  // namespace tonvault::ui
