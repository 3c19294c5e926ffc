#include "catalogue/ListOperations.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <unordered_set>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/RowKey.h"

namespace tonvault::catalogue {

namespace {

bool HasSelection(const std::vector<TrackRecord>& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const TrackRecord& r) { return r.selected; });
}

void RowsRemoved(Application& app, bool filesChanged) {
  if (filesChanged) FilesChanged(app);
  app.frontend.ListsChanged();
}

// The number the sort compares for a text: the whole text as an integer, 0
// when it is not one.
long long IntegerOf(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// One sort key per row, computed once: the comparison then costs little.
struct SortKey {
  long long number = 0;
  std::string_view text;  // a view into the row's own texts
};

enum class KeyKind { Icon, Integer, Bitrate, Text };

KeyKind KindOf(const ColumnMap& map, int displayColumn) {
  if (displayColumn == 0) return KeyKind::Icon;
  const int column = map.ColumnInSlot(displayColumn - 1);
  switch (static_cast<Column>(column)) {
    case Column::Track:
    case Column::Year:
    case Column::Size:
    case Column::Freq: return KeyKind::Integer;
    case Column::Bitrate: return KeyKind::Bitrate;
    default: return KeyKind::Text;
  }
}

SortKey KeyOf(const TrackRecord& row, KeyKind kind, int displayColumn) {
  SortKey key;
  if (kind == KeyKind::Icon) {
    key.number = row.icon;
    return key;
  }
  const auto slot = static_cast<std::size_t>(displayColumn - 1);
  const std::string_view text = row.texts[slot];
  if (kind == KeyKind::Integer) key.number = IntegerOf(text);
  else if (kind == KeyKind::Bitrate) key.number = IntegerOf(std::string_view(text).substr(0, text.find(' ')));
  else key.text = text;
  return key;
}

}  // namespace

std::optional<ListId> ListOfCurrentPage(const Application& app) {
  if (app.currentPage == Page::Files) return ListId::Files;
  if (app.currentPage == Page::Results) return ListId::Results;
  return std::nullopt;
}

void SelectAll(Application& app, ListId list) {
  for (TrackRecord& row : Rows(app, list)) row.selected = true;
  app.frontend.ListsChanged();
  SelectionChanged(app);
}

void SelectNone(Application& app, ListId list) {
  for (TrackRecord& row : Rows(app, list)) row.selected = false;
  app.frontend.ListsChanged();
  SelectionChanged(app);
}

void InvertSelection(Application& app, ListId list) {
  SetCommandState(app, 0);
  for (TrackRecord& row : Rows(app, list)) row.selected = !row.selected;
  app.frontend.ListsChanged();
  SetCommandState(app, list == ListId::Files ? 1 : 6);
  SelectionChanged(app);
}

void DeleteSelectedLines(Application& app) {
  const auto list = ListOfCurrentPage(app);
  if (!list || !HasSelection(Rows(app, *list))) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  std::vector<TrackRecord>& rows = Rows(app, *list);
  const std::string question =
      "Do you really want to delete\n\rthe " + std::to_string(CountSelected(rows)) + " selected lines ?";
  if (app.frontend.ShowMessage(MessageKind::Confirmation, question, {Button::Yes, Button::No}) != Button::Yes) return;
  SetCommandState(app, 0);
  std::erase_if(rows, [](const TrackRecord& r) { return r.selected; });
  SortOf(app, *list).Clear();
  RowsRemoved(app, *list == ListId::Files);
  RefreshPage(app);
}

void CopySelectedLinesToResults(Application& app) {
  if (!HasSelection(app.files)) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  LongOperation operation(app, {10, {}});
  operation.EndOnPage(Page::Results);
  if (!app.results.empty() &&
      app.frontend.ShowMessage(MessageKind::Confirmation, "RESULTS list is not empty.\n\r\rAppend to RESULTS list ?",
                               {Button::Yes, Button::No}) == Button::No) {
    app.results.clear();
  }
  const std::size_t total = app.files.size();
  for (std::size_t i = 0; i < total; ++i) {
    if (app.files[i].selected) {
      app.results.push_back(app.files[i]);
      app.results.back().checked = false;
    }
    if (!operation.ItemDone(i + 1, total)) break;
  }
  for (TrackRecord& row : app.results) row.checked = false;
  app.resultsSort.Clear();
  app.frontend.ListsChanged();
}

void DeleteSelectedLinesAlsoInFiles(Application& app) {
  const std::size_t count = CountSelected(app.results);
  if (!ListOfCurrentPage(app) || app.results.empty() || count == 0) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  const std::string question = "Do you really want to delete\n\rthe " + std::to_string(count) +
                               " selected lines\n\rin RESULTS and in FILES ?";
  if (app.frontend.ShowMessage(MessageKind::Confirmation, question, {Button::Yes, Button::No}) != Button::Yes) return;
  std::unordered_set<std::string> deleted;
  std::vector<bool> removeResult(app.results.size(), false);
  {
    LongOperation operation(app, {1, {}});
    app.filesSort.Clear();
    app.resultsSort.Clear();
    const std::size_t total = app.results.size();
    for (std::size_t handled = 1; handled <= total; ++handled) {
      const std::size_t i = total - handled;  // from the bottom up
      if (app.results[i].selected) {
        deleted.insert(RowKey(app.results[i], kLogicalColumnCount));
        removeResult[i] = true;
      }
      if (!operation.ItemDone(handled, total)) break;
    }
    const std::size_t before = app.files.size();
    std::erase_if(app.files, [&](const TrackRecord& r) { return deleted.count(RowKey(r, kLogicalColumnCount)) != 0; });
    std::size_t index = 0;
    std::erase_if(app.results, [&](const TrackRecord&) { return removeResult[index++]; });
    RowsRemoved(app, app.files.size() != before);
  }
}

void DeleteAllExceptResults(Application& app) {
  if (app.results.empty()) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  if (app.frontend.ShowMessage(MessageKind::Confirmation,
                               "This deletes all lines in FILES\n\rwitch not match to RESULTS.\n\r\rContinue ?",
                               {Button::Yes, Button::No}) != Button::Yes) {
    return;
  }
  std::unordered_set<std::string> kept;
  for (const TrackRecord& row : app.results) kept.insert(RowKey(row, kTrackIdSlot + 1));
  LongOperation operation(app, {10, {}});
  app.filesSort.Clear();
  app.resultsSort.Clear();
  const std::size_t total = app.files.size();
  std::vector<bool> remove(total, false);
  for (std::size_t handled = 1; handled <= total; ++handled) {
    const std::size_t i = total - handled;
    remove[i] = kept.count(RowKey(app.files[i], kTrackIdSlot + 1)) == 0;
    if (!operation.ItemDone(handled, total)) break;
  }
  std::size_t index = 0;
  const std::size_t removed = std::erase_if(app.files, [&](const TrackRecord&) { return remove[index++]; });
  RowsRemoved(app, removed > 0);
}

std::string NoPlayerText(const std::string& first, std::size_t failed) {
  std::string text = "No program to play this file was found:\n\r" + first;
  if (failed > 1) text += "\n\r(and " + std::to_string(failed - 1) + " more)";
  return text + "\n\r\rChoose a default program for audio files in the settings of your desktop.";
}

void PlaySelectedFiles(Application& app) {
  const auto list = ListOfCurrentPage(app);
  if (!list || !HasSelection(Rows(app, *list))) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  const std::vector<TrackRecord>& rows = Rows(app, *list);
  std::size_t started = 0;
  std::size_t failed = 0;
  std::string firstFailed;
  bool nomadII = false;
  bool queuing = false;      // the player takes the Jukebox rows
  bool playerAsked = false;  // asked once, so a player that cannot play says so once
  {
    LongOperation operation(app, {10, [&started](std::size_t) { return "Queue:  " + std::to_string(started); }});
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TrackRecord& row = rows[i];
      if (row.selected) {
        if (row.icon == StatusIcon::NomadInternal || row.icon == StatusIcon::NomadExternal) {
          nomadII = true;
        } else if (row.icon == StatusIcon::JukeboxTrack) {
          if (!playerAsked && app.playerPlayback != nullptr) queuing = app.playerPlayback->BeginQueueing();
          playerAsked = true;
          if (queuing) {
            app.playerPlayback->PlayOrQueueRow(row);
            ++started;
          }
        } else {
          const std::string file = FileOfRow(row, app.columnMap);
          std::error_code error;
          if (std::filesystem::is_regular_file(file, error)) {
            if (app.frontend.OpenWithDefaultProgram(file)) {
              ++started;
            } else if (failed++ == 0) {
              firstFailed = file;
            }
          }
        }
      }
      if (!operation.ItemDone(i + 1, rows.size())) break;
    }
    if (nomadII) Ask(app.frontend, Sound::Hand, MessageKind::Information, "Nomad II cannot play songs.", {Button::Ok});
    if (started == 0) app.frontend.Beep(Sound::Default);
    if (failed > 0) app.frontend.ShowMessage(MessageKind::Error, NoPlayerText(firstFailed, failed), {Button::Ok});
    app.frontend.SetStatusPanel(0, "");
    if (queuing) {
      app.playerPlayback->EndQueueing();
      operation.EndOnPage(Page::Player);
    }
  }
}

void SortRows(std::vector<TrackRecord>& rows, const ColumnMap& map, int sortCode) {
  const bool descending = sortCode >= 100;
  const int column = sortCode % 100;
  const KeyKind kind = KindOf(map, column);
  std::vector<std::pair<SortKey, std::size_t>> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) keys.emplace_back(KeyOf(rows[i], kind, column), i);
  auto less = [kind, descending](const auto& a, const auto& b) {
    int order = 0;
    if (kind == KeyKind::Text) order = a.first.text.compare(b.first.text);
    else order = a.first.number < b.first.number ? -1 : a.first.number > b.first.number ? 1 : 0;
    return descending ? order > 0 : order < 0;
  };
  std::stable_sort(keys.begin(), keys.end(), less);
  std::vector<TrackRecord> sorted;
  sorted.reserve(rows.size());
  for (const auto& key : keys) sorted.push_back(std::move(rows[key.second]));
  rows = std::move(sorted);
}

void SortByColumn(Application& app, ListId list, int displayColumn) {
  if (displayColumn < 0 || displayColumn > kLogicalColumnCount) return;
  SortState& sort = SortOf(app, list);
  const bool descending = sort.column == displayColumn && !sort.descending;
  SortRows(Rows(app, list), app.columnMap, displayColumn + (descending ? 100 : 0));
  sort.column = displayColumn;
  sort.descending = descending;
  app.frontend.ListsChanged();
}

}  // namespace tonvault::catalogue
