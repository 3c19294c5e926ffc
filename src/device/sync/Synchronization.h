#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"
#include "device/sync/SyncArray.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// One line of the result list: the SyncArray entry it shows.
struct SyncLine {
  int entry = -1;
  bool selected = false;
};

// The display columns of the result list: 0 empty, 1..11 the PC side, 12
// "=", 13..23 the player side, 24 (hidden) the SyncArray index.
inline constexpr int kSyncListColumns = 25;
inline constexpr int kSymbolColumn = 12;
inline constexpr int kIndexColumn = 24;

// The Synchronize page without its widgets: the compare of FILES with the
// player's tracks, the result list, and the actions that fix either side
// from it and update the list in place.
class Synchronization : public catalogue::SyncHooks {
 public:
  Synchronization(catalogue::Application& app, DeviceSession& session, PlayerContent& content);
  ~Synchronization() override;
  Synchronization(const Synchronization&) = delete;
  Synchronization& operator=(const Synchronization&) = delete;

  // "Start compare".
  void StartCompare();
  // A show button was clicked (its option already changed): refills the
  // list, and reminds that multiple matches may be out of date when
  // "Multiple match" went down after a copy or deletion.
  void ShowButtonClicked(SyncCategory button);
  // Fills the list from the SyncArray with the categories whose show
  // button is down.
  void Refill();
  // "Delete on NJB", "Delete on PC".
  void DeleteOnNjb();
  void DeleteOnPc();
  // "Copy to NJB", "Copy to PC": the transfers in the Transfer Status
  // window of `transfers` (set before; without it they do nothing).
  void SetTransfers(TransferContext* transfers) { transfers_ = transfers; }
  void CopyToNjb();
  void CopyToPc();

  // A compare mode was chosen in the "Filename" list.
  void FileNameModeChosen(int mode);
  // A column heading was clicked: sorts by it, descending when clicked
  // again.
  void SortByColumn(int column);
  int SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return sortDescending_; }
  // A double click: every line selected.
  void SelectAll();
  // The selection changed: "Selected: " in the status bar.
  void SelectionChanged();

  const SyncArray& Array() const { return array_; }
  std::vector<SyncLine>& Lines() { return lines_; }
  const std::vector<SyncLine>& Lines() const { return lines_; }
  // The text of a line in a display column.
  std::string Text(const SyncLine& line, int column) const;
  bool ChangedSinceCompare() const { return changedSinceCompare_; }
  std::size_t PendingDeletions() const { return pending_.size(); }

  // Called whenever the lines changed wholesale.
  std::function<void()> linesChanged;

  // --- catalogue::SyncHooks ---
  void ApplyPendingDeletions() override;
  void EnterSync() override;

 private:
  struct PendingDeletion {
    int filesRow;
    std::string path;
  };

  // The selected lines not in `skipped`, counted.
  std::size_t CountSelected(SyncCategory skipped) const;
  // Walks the selected lines not in `skipped` from the last to the first;
  // `act` returns false to end the walk.
  template <class Act>
  void WalkSelected(SyncCategory skipped, std::size_t count, Act act);
  bool DeleteLineOnNjb(std::size_t line);
  // False when the walk must end.
  bool DeleteLineOnPc(std::size_t line, std::vector<std::string>& deleted);
  // The line becomes "Only on PC" or "Only on NJB", or goes when it had
  // only the side that was removed.
  void LoseSide(std::size_t line, SyncCategory keptSide);
  // The entries of the selected lines not in `skipped`, in list order.
  std::vector<int> SelectedEntries(SyncCategory skipped) const;
  // The player's ID of an entry's track: its own table entry's while that
  // is on the player, else the one its names find (-1 when none).
  int TrackIdOf(const SyncEntry& entry) const;
  // After a copy: the entry shows both sides.
  void Sent(int entry, const AudioInfo& sent);
  void Received(int entry, const std::string& target);
  // Copies with the player started, its session closed afterwards.
  template <class Copy>
  void WithPlayer(Copy copy);
  void EndAction();
  void NotifyLines();
  bool RefillLines();

  catalogue::Application& app_;
  DeviceSession& session_;
  PlayerContent& content_;
  TransferContext* transfers_ = nullptr;
  SyncArray array_;
  std::vector<SyncLine> lines_;
  std::vector<PendingDeletion> pending_;
  bool changedSinceCompare_ = false;
  int sortColumn_ = -1;
  bool sortDescending_ = false;
};

}  // namespace tonvault::device
