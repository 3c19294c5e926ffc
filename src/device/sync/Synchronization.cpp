#include "device/sync/Synchronization.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "catalogue/LongOperation.h"
#include "device/sync/SyncBusy.h"
#include "device/sync/SyncCompare.h"
#include "files/RenameFile.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr std::size_t kCompareStatusRows = 25;
constexpr std::size_t kRefillStatusEntries = 100;
constexpr const char* kDeletedMark = "*D*E*L*";

void Inform(catalogue::Application& app, Sound sound, const std::string& text) {
  catalogue::Ask(app.frontend, sound, MessageKind::Information, text, {Button::Ok});
}

void ShowError(catalogue::Application& app, const std::string& text) {
  catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error, text, {Button::Ok});
}

bool Confirm(catalogue::Application& app, Sound sound, const std::string& text) {
  return catalogue::Ask(app.frontend, sound, MessageKind::Confirmation, text, {Button::Yes, Button::No}) == Button::Yes;
}

void ShowSyncCount(catalogue::Application& app, std::size_t count) {
  app.frontend.SetStatusPanel(0, "Sync: " + std::to_string(count));
}

// Progress, estimate, repaint and the stop question after `done` of `total`
// items; false when the user confirmed the stop.
bool Paced(catalogue::Application& app, std::size_t done, std::size_t total) {
  app.frontend.SetProgress(0, total == 0 ? 0 : static_cast<int>(done * catalogue::kProgressMaximum / total));
  catalogue::ShowTimeEstimate(app, total, done);
  app.frontend.PumpEvents();
  return !catalogue::ConfirmStop(app);
}

bool IsShown(SyncCategory category, const catalogue::SyncOptions& o) {
  switch (category) {
    case SyncCategory::OnlyOnPc: return o.onlyOnPc;
    case SyncCategory::OnlyOnNjb: return o.onlyOnNjb;
    case SyncCategory::PcAndNjb: return o.onBoth;
    case SyncCategory::MultipleMatch: return o.multipleMatch;
    default: return false;
  }
}

// The columns sorted as whole numbers: Track and Filesize of both sides.
bool IsNumberColumn(int column) {
  return column == 1 + kTrack || column == 1 + kFilesize || column == 13 + kTrack || column == 13 + kFilesize;
}

long long NumberOf(const std::string& text) {
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

Synchronization::Synchronization(catalogue::Application& app, DeviceSession& session, PlayerContent& content)
    : app_(app), session_(session), content_(content) {
  app_.syncHooks = this;
}

Synchronization::~Synchronization() {
  if (app_.syncHooks == this) app_.syncHooks = nullptr;
}

void Synchronization::NotifyLines() {
  if (linesChanged) linesChanged();
}

// --- compare ---

void Synchronization::StartCompare() {
  ApplyPendingDeletions();
  changedSinceCompare_ = false;
  const catalogue::ColumnMap& map = app_.columnMap;
  if (std::none_of(app_.files.begin(), app_.files.end(), [&](const catalogue::TrackRecord& row) {
        return !catalogue::IsPlayerPath(map.Get(row, catalogue::Column::Path));
      })) {
    Inform(app_, Sound::Hand,
           "No files to synchronize found in FILES.\n\r\rPlease import files (or load a *.TVD file) first.");
    Refill();
    return;
  }
  app_.stopRequest = false;
  {
    SyncBusy busy(app_);
    DeviceTrackTable& table = content_.Table();
    const auto& entries = table.Entries();
    bool haveTable = true;
    if (table.DeviceTableStale() ||
        std::any_of(entries.begin(), entries.end(), [](const DeviceTrack& t) { return t.id == -2; })) {
      haveTable = content_.BuildDeviceTrackTable();
    }
    session_.SetDeviceReady(session_.StopDevice(false, false));
    // Without the player's tracks every file would seem to be missing on it.
    if (!haveTable) return;
    array_.clear();
    lines_.clear();
    NotifyLines();
    CompareProgress progress;
    progress.rowDone = [this](std::size_t row, std::size_t rows) {
      app_.frontend.SetProgress(0, static_cast<int>(row * catalogue::kProgressMaximum / rows));
      if (row % kCompareStatusRows == 0) {
        catalogue::ShowTimeEstimate(app_, rows, row);
        ShowSyncCount(app_, row);
      }
      app_.frontend.PumpEvents();
      return !catalogue::ConfirmStop(app_);
    };
    progress.playerOnlyAdded = [this](std::size_t lines) {
      if (lines % kCompareStatusRows == 0) ShowSyncCount(app_, lines);
    };
    // A copy: the page's controls stay live while the compare pumps events.
    const catalogue::SyncOptions options = app_.options.sync;
    CompareWithPlayer(app_.files, map, table, options, array_, progress);
    ShowSyncCount(app_, array_.size());
  }
  Refill();
}

// --- the list ---

bool Synchronization::RefillLines() {
  lines_.clear();
  sortColumn_ = -1;
  app_.stopRequest = false;
  bool complete = true;
  for (std::size_t i = 0; i < array_.size() && complete; ++i) {
    if (IsShown(array_[i].category, app_.options.sync)) lines_.push_back({static_cast<int>(i), false});
    if ((i + 1) % kRefillStatusEntries == 0) {
      ShowSyncCount(app_, i + 1);
      complete = Paced(app_, i + 1, array_.size());
    }
  }
  app_.frontend.SetProgress(0, 0);
  ShowSyncCount(app_, lines_.size());
  NotifyLines();
  return complete;
}

void Synchronization::Refill() { RefillLines(); }

void Synchronization::ShowButtonClicked(SyncCategory button) {
  RefillLines();
  if (changedSinceCompare_ && button == SyncCategory::MultipleMatch && app_.options.sync.multipleMatch) {
    Inform(app_, Sound::Default,
           "You have copied or deleted files.\n\r\rInfo about \"Multiple match\" could be out of date.");
  }
}

std::string Synchronization::Text(const SyncLine& line, int column) const {
  const SyncEntry& entry = array_[static_cast<std::size_t>(line.entry)];
  if (column == kSymbolColumn) return CategorySymbol(entry.category);
  if (column == kIndexColumn) return std::to_string(line.entry);
  if (column >= 1 && column < kSymbolColumn) return entry.pc[static_cast<std::size_t>(column - 1)];
  if (column > kSymbolColumn && column < kIndexColumn) return entry.player[static_cast<std::size_t>(column - 13)];
  return {};
}

void Synchronization::SortByColumn(int column) {
  sortDescending_ = column == sortColumn_ && !sortDescending_;
  sortColumn_ = column;
  auto category = [this](const SyncLine& l) { return static_cast<int>(array_[static_cast<std::size_t>(l.entry)].category); };
  auto less = [&](const SyncLine& a, const SyncLine& b) {
    if (column == 0 || column == kSymbolColumn) return category(a) < category(b);
    if (IsNumberColumn(column)) return NumberOf(Text(a, column)) < NumberOf(Text(b, column));
    return Text(a, column) < Text(b, column);
  };
  std::stable_sort(lines_.begin(), lines_.end(), [&](const SyncLine& a, const SyncLine& b) {
    return sortDescending_ ? less(b, a) : less(a, b);
  });
  NotifyLines();
}

void Synchronization::SelectAll() {
  for (SyncLine& line : lines_) line.selected = true;
  NotifyLines();
  SelectionChanged();
}

void Synchronization::SelectionChanged() {
  const auto selected = std::count_if(lines_.begin(), lines_.end(), [](const SyncLine& l) { return l.selected; });
  app_.frontend.SetStatusPanel(1, "Selected: " + std::to_string(selected));
}

void Synchronization::FileNameModeChosen(int mode) {
  if (mode != 0 || !app_.options.sync.showCaseWarning) return;
  const std::string text =
      "The NJB does not recognize upper/lower case\n\rin filenames.\n\r\rE.g.  \"MUSIC.MP3\"  and  \"Music.mp3\"  are "
      "treated\n\ras the same file  (File already exists error).\n\r\r\rShow this info again ?";
  if (catalogue::Ask(app_.frontend, Sound::Default, MessageKind::Information, text, {Button::Yes, Button::No}) ==
      Button::No) {
    app_.options.sync.showCaseWarning = false;
  }
}

// --- actions ---

std::size_t Synchronization::CountSelected(SyncCategory skipped) const {
  return static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const SyncLine& l) {
    return l.selected && array_[static_cast<std::size_t>(l.entry)].category != skipped;
  }));
}

template <class Act>
void Synchronization::WalkSelected(SyncCategory skipped, std::size_t count, Act act) {
  app_.stopRequest = false;
  std::size_t done = 0;
  for (std::size_t i = lines_.size(); i-- > 0;) {
    if (!lines_[i].selected || array_[static_cast<std::size_t>(lines_[i].entry)].category == skipped) continue;
    if (!act(i) || !Paced(app_, ++done, count)) break;
  }
}

void Synchronization::LoseSide(std::size_t line, SyncCategory keptSide) {
  SyncEntry& entry = array_[static_cast<std::size_t>(lines_[line].entry)];
  if (entry.category == (keptSide == SyncCategory::OnlyOnPc ? SyncCategory::OnlyOnNjb : SyncCategory::OnlyOnPc)) {
    entry.category = SyncCategory::Removed;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    return;
  }
  entry.category = keptSide;
  if (keptSide == SyncCategory::OnlyOnPc) {
    entry.player = {};
    entry.deviceEntry = -1;
  } else {
    entry.pc = {};
    entry.filesRow = -1;
  }
}

void Synchronization::EndAction() {
  ShowSyncCount(app_, lines_.size());
  app_.frontend.SetStatusPanel(1, "");
  Refill();
}

void Synchronization::DeleteOnNjb() {
  {
    SyncBusy busy(app_);
    const bool ready = session_.StartDevice(true);
    session_.SetDeviceReady(ready);
    const std::size_t count = ready ? CountSelected(SyncCategory::OnlyOnPc) : 0;
    if (ready && count == 0) {
      Inform(app_, Sound::Hand, "No files to delete on NJB selected.");
    } else if (ready && Confirm(app_, Sound::Question,
                                "Do you really want to delete\n\r" + std::to_string(count) + "  tracks on the NJB ?")) {
      WalkSelected(SyncCategory::OnlyOnPc, count, [this](std::size_t line) { return DeleteLineOnNjb(line); });
    }
    EndAction();
    session_.SetDeviceReady(session_.StopDevice(false, false));
  }
}

bool Synchronization::DeleteLineOnNjb(std::size_t line) {
  const SyncEntry& entry = array_[static_cast<std::size_t>(lines_[line].entry)];
  DeviceTrackTable& table = content_.Table();
  // The line's own table entry names the track, so of two tracks with the
  // same names the one on this line goes; the names find it when that
  // entry has gone meanwhile.
  const bool ownEntry = entry.deviceEntry >= 0 && static_cast<std::size_t>(entry.deviceEntry) < table.Size() &&
                        table.Entries()[static_cast<std::size_t>(entry.deviceEntry)].id >= 0;
  const int id = ownEntry ? table.Entries()[static_cast<std::size_t>(entry.deviceEntry)].id
                          : table.FindDeviceTrackId(entry.player[kArtist], entry.player[kTitle], entry.player[kAlbum]);
  if (id < 0) {
    ShowError(app_, "Tracknumber on NJB unknown.\n\r\rPress START COMPARE again.");
    return false;
  }
  const Status status = session_.CurrentDevice().DeleteTrack(id);
  session_.PauseDevice();
  if (status != kOk) {
    ShowError(app_, "Cannot delete track on NJB.");
    return false;
  }
  const bool removed = ownEntry ? table.RemoveEntry(static_cast<std::size_t>(entry.deviceEntry))
                                : table.RemoveDeviceTrack(entry.player[kArtist], entry.player[kTitle], entry.player[kAlbum]);
  if (!removed) table.SetDeviceTableStale(true);
  LoseSide(line, SyncCategory::OnlyOnPc);
  changedSinceCompare_ = true;
  return true;
}

void Synchronization::DeleteOnPc() {
  const std::size_t count = CountSelected(SyncCategory::OnlyOnNjb);
  if (count == 0) {
    Inform(app_, Sound::Hand, "No files to delete on PC selected.");
    return;
  }
  if (!Confirm(app_, Sound::Question,
               "Do you really want to \n\rPHYSICALLY delete\n\r" + std::to_string(count) + "  tracks on the PC ?")) {
    return;
  }
  {
    SyncBusy busy(app_);
    std::vector<std::string> deleted;
    WalkSelected(SyncCategory::OnlyOnNjb, count, [&](std::size_t line) { return DeleteLineOnPc(line, deleted); });
    EndAction();
  }
}

bool Synchronization::DeleteLineOnPc(std::size_t line, std::vector<std::string>& deleted) {
  SyncEntry& entry = array_[static_cast<std::size_t>(lines_[line].entry)];
  const std::string path = entry.pc[kFilename];
  // A file on two "Multiple match" lines is deleted once; the second line
  // just follows.
  const bool already = std::find(deleted.begin(), deleted.end(), path) != deleted.end();
  if (!already) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
      return Confirm(app_, Sound::Exclamation, path + "\n\r" + "Not found !\n\r\r" + "Procede with next file(s) ?");
    }
    if (files::RemoveFile(path)) {
      return Confirm(app_, Sound::Question,
                     "Cannot delete " + path + "\n\r" + "(possibly read only)\n\r\r" + "Procede with next file(s) ?");
    }
    deleted.push_back(path);
    pending_.push_back({entry.filesRow, path});
  }
  changedSinceCompare_ = true;
  LoseSide(line, SyncCategory::OnlyOnNjb);
  return true;
}

// --- page change ---

void Synchronization::ApplyPendingDeletions() {
  if (pending_.empty()) return;
  std::vector<catalogue::TrackRecord>& files = app_.files;
  const catalogue::ColumnMap& map = app_.columnMap;
  for (const PendingDeletion& p : pending_) {
    const auto row = static_cast<std::size_t>(p.filesRow);
    if (p.filesRow >= 0 && row < files.size() && catalogue::FileOfRow(files[row], map) == p.path) {
      map.Set(files[row], catalogue::Column::Path, kDeletedMark);
      continue;
    }
    // FILES changed since the compare: every row of the deleted file goes.
    for (catalogue::TrackRecord& r : files) {
      if (!catalogue::IsPlayerPath(map.Get(r, catalogue::Column::Path)) && catalogue::FileOfRow(r, map) == p.path) {
        map.Set(r, catalogue::Column::Path, kDeletedMark);
      }
    }
  }
  // The lines keep pointing at their rows: each row index moves down by the
  // rows removed before it.
  std::vector<int> newIndex(files.size(), -1);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (map.Get(files[i], catalogue::Column::Path) != kDeletedMark) newIndex[i] = static_cast<int>(kept++);
  }
  std::erase_if(files, [&](const catalogue::TrackRecord& r) { return map.Get(r, catalogue::Column::Path) == kDeletedMark; });
  for (SyncEntry& entry : array_) {
    if (entry.filesRow >= 0 && static_cast<std::size_t>(entry.filesRow) < newIndex.size()) {
      entry.filesRow = newIndex[static_cast<std::size_t>(entry.filesRow)];
    }
  }
  pending_.clear();
  catalogue::FilesChanged(app_);
  app_.frontend.ListsChanged();
}

void Synchronization::EnterSync() {
  lines_.clear();
  sortColumn_ = -1;
  NotifyLines();
}

}  // namespace tonvault::device
