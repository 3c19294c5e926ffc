#pragma once

#include <random>
#include <string>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/Frontend.h"
#include "catalogue/IniFile.h"
#include "catalogue/Options.h"
#include "catalogue/Page.h"
#include "catalogue/Platform.h"
#include "catalogue/RecentDatabases.h"
#include "catalogue/TimeEstimate.h"
#include "catalogue/PlayerPlayback.h"
#include "catalogue/TrackRecord.h"
#include "catalogue/ViewData.h"

namespace tonvault::catalogue {

// A file an import found but could not read, and why.
struct NotReadFile {
  std::string path;
  std::string reason;
};


// Pages whose content is rebuilt on their next visit after FILES changed.
struct ViewRebuildFlags {
  bool albums = true;
  bool artists = true;
  bool genres = true;
  bool statistics = true;

  void SetAll() { albums = artists = genres = statistics = true; }
  bool& ForView(ViewKind kind) { return kind == ViewKind::Albums ? albums : kind == ViewKind::Artists ? artists : genres; }
};

// Which column a list is sorted by, shown as the arrow in its heading.
struct SortState {
  int column = -1;  // display column: 0 icon, 1..16 text slots 0..15; -1 no arrow
  bool descending = false;
  void Clear() { column = -1; }
};

enum class ListId { Files, Results };

// The tag editor page's opening and leaving, installed by the layer that
// holds the editor, so the page change can run them.
class EditorHooks {
 public:
  virtual ~EditorHooks() = default;
  // Runs on a page change to the editor from another page; may refuse and
  // switch to the Files page instead.
  virtual void OpenEditor() = 0;
  // Runs on a page change from the editor to another page.
  virtual void LeaveEditor() = 0;
  // Runs on a page change that stays on the editor (the end of an
  // operation): the editor's command state and status texts again.
  virtual void RefreshEditor() = 0;
};

// The synchronisation page's part of the page change, installed by the
// layer that holds that page.
class SyncHooks {
 public:
  virtual ~SyncHooks() = default;
  // Runs first on every page change: FILES rows of files deleted from the
  // page go now.
  virtual void ApplyPendingDeletions() = 0;
  // Runs on a page change to the synchronisation page: its list is emptied.
  virtual void EnterSync() = 0;
};

// The whole state of the program: the two lists, the column map, the
// catalogue flags and names, the recent list and the options. The window
// and the commands read and write it; nothing keeps a copy.
struct Application {
  explicit Application(Frontend& frontend, Clock clock = std::chrono::steady_clock::now);

  Frontend& frontend;

  std::vector<TrackRecord> files;    // FILES
  std::vector<TrackRecord> results;  // RESULTS
  ColumnMap columnMap;
  SortState filesSort;
  SortState resultsSort;
  std::array<ViewData, kViewCount> views;
  StatisticsData statistics;
  ViewBuilder* viewBuilder = nullptr;  // set by whoever shows the view pages
  EditorHooks* editorHooks = nullptr;  // set by whoever holds the tag editor
  SyncHooks* syncHooks = nullptr;      // set by whoever holds the synchronisation page
  PlayerPlayback* playerPlayback = nullptr;  // set by whoever holds the player page

  bool catalogueModified = false;
  std::string databaseFileName;  // name without folder, of the catalogue last loaded or saved
  std::string databaseFolder;    // with trailing separator
  std::string importFolder;      // the folder last imported from, with trailing separator
  std::string copyMoveFolder;    // the folder files were last copied or moved to, with trailing separator
  std::string txtFolder;         // the folders of the last TXT and HTML exports
  std::string htmlFolder;
  std::string playlistFolder;    // where playlist files were last saved or loaded
  std::string uploadFolder;      // where files copied from the player go
  ViewRebuildFlags viewRebuildNeeded;
  RecentDatabases recentDatabases;
  Options options;
  // The settings file as read at start-up: writing starts from it, so keys
  // of features this version does not use survive unchanged.
  IniFile settingsAsRead;
  // The files the last import could not read (not regular files, no
  // permission, vanished), with the reason; they have no row.
  std::vector<NotReadFile> notRead;
  // The settings file exists but could not be read: it is not written.
  bool settingsUnreadable = false;
  std::string settingsReadError;

  std::string programFolder;
  Page currentPage = Page::Files;
  Page lastPage = Page::Files;
  int commandStateCode = 1;
  bool stopRequest = false;
  int deviceKind = 0;  // 0 none, 1 Nomad Jukebox, 2 Nomad II
  Priority priority = Priority::Normal;
  // Set while a transfer to or from the player waits for its completion.
  bool transferToPlayerInProgress = false;
  bool transferFromPlayerInProgress = false;

  TimeEstimate timeEstimate;
  std::mt19937 random;
};

// The rows and sort state of a list.
std::vector<TrackRecord>& Rows(Application& app, ListId list);
SortState& SortOf(Application& app, ListId list);

// --- Operations every command uses ---

// Code 0 enters the busy state, 1..14 leave it for the page with that code.
void SetCommandState(Application& app, int code);

// Colours the progress bar with two different random colours and restarts
// the time estimate.
void StartProgress(Application& app);

// done == 0 restarts the estimate; otherwise panel 1 shows the estimate.
void ShowTimeEstimate(Application& app, std::size_t total, std::size_t done);

// Sets or clears CatalogueModified and updates the window title.
void SetCatalogueModified(Application& app, bool modified);

// FILES changed: the catalogue is modified and every view is out of date.
void FilesChanged(Application& app);

// The STOP command (Esc): only acts during a long operation.
void StopCommand(Application& app);

// The Priority menu. A refusal keeps the previous priority and says so in
// the status bar.
void ChoosePriority(Application& app, Priority priority);

// Rows and selection of the current page's list, for the status bar.
void UpdateStatusTexts(Application& app);
// The FILES or RESULTS selection changed (ignored while busy).
void SelectionChanged(Application& app);

}  // namespace tonvault::catalogue
