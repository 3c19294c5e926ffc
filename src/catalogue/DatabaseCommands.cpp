#include "catalogue/DatabaseCommands.h"

#include <filesystem>
#include <fstream>

#include "catalogue/DatabaseFormat.h"
#include "catalogue/Import.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/SearchText.h"
#include "catalogue/StatusTexts.h"
#include "files/ReadWholeFile.h"

namespace tonvault::catalogue {

namespace {

constexpr std::size_t kReadPacing = 25;

FileDialogRequest OpenDialog(const Application& app, bool selective) {
  return {selective ? " Open Tonvault Database (only items from Search)" : " Open Tonvault Database",
          app.databaseFolder, app.databaseFileName, "TVD", "Tonvault Database   (*.TVD)|*.TVD"};
}

FileDialogRequest SaveDialog(const Application& app, const char* title) {
  return {title, app.databaseFolder, app.databaseFileName, "TVD", "Tonvault Database (*.TVD)|*.TVD"};
}

std::string FolderWithSeparator(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string NameOfPath(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (files::ReadWholeFile(path, bytes)) return std::nullopt;
  return bytes;
}

// Whether a record (its lines in file order) passes the selective load.
bool KeepRecord(const std::vector<std::string_view>& lines, const SearchOptions& search) {
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    const auto column = static_cast<Column>(c);
    const auto index = static_cast<std::size_t>(c) + 1;
    if (!search.Searches(column) || index >= lines.size()) continue;
    if (FieldMatches(lines[index], search.text, search.matchCase, search.onlyAtBeginning)) return true;
  }
  return false;
}

void FailRead(Application& app, const std::string& text, bool pageChangeFirst) {
  app.frontend.Beep(Sound::Exclamation);
  if (pageChangeFirst) ChangePage(app, Page::Files);
  app.frontend.ShowMessage(MessageKind::Error, text, {Button::Ok});
}

// Reads the records of `text` into FILES under the long-operation protocol.
void LoadRecords(Application& app, std::string_view text, bool selective) {
  LineReader lines(text);
  const std::size_t expected = std::max<std::size_t>(1, lines.CountLines() / kLinesPerRecord);
  (void)lines.Next();  // the version line
  LongOperation operation(app, {kReadPacing, [&app](std::size_t) { return FilesSoFarText(app.files.size()); }});
  operation.EndOnPage(Page::Files);
  std::vector<std::string_view> record(kLinesPerRecord);
  app.files.reserve(app.files.size() + expected);
  app.filesSort.Clear();
  std::size_t added = 0;
  while (!lines.AtEnd()) {
    for (auto& line : record) line = lines.Next();
    if (!selective || KeepRecord(record, app.options.search)) {
      app.files.push_back(RecordToRow(record, app.columnMap));
      ++added;
    }
    if (!operation.ItemDone(added, expected)) break;
  }
}

}  // namespace

std::string CannotWriteDatabaseText(const std::string& path) { return "Cannot write File\n\r\"" + path + "\" !"; }
std::string CannotReadDatabaseText(const std::string& path) { return "Cannot read File\n\r\"" + path + "\" !"; }
std::string WrongFileversionText(const std::string& path) {
  return "Cannot read File\n\r\"" + path + "\".\n\r\rWrong Fileversion !";
}

bool WriteDatabase(Application& app, const std::string& path, const std::vector<TrackRecord>& rows,
                   const files::WriteFault* fault) {
  SetCommandState(app, 0);
  app.frontend.PumpEvents();
  if (files::WriteWholeFile(path, EncodeDatabase(rows, app.columnMap), fault)) {
    app.frontend.Beep(Sound::Exclamation);
    RefreshPage(app);
    app.frontend.ShowMessage(MessageKind::Error, CannotWriteDatabaseText(path), {Button::Ok});
    return false;
  }
  if (&rows == &app.files) SetCatalogueModified(app, false);
  return true;
}

bool ReadDatabase(Application& app, const std::string& path, bool selective) {
  const std::string previousFolder = app.databaseFolder, previousName = app.databaseFileName;
  auto keepPreviousName = [&] {
    app.databaseFolder = previousFolder;
    app.databaseFileName = previousName;
    SetCatalogueModified(app, app.catalogueModified);
  };
  app.recentDatabases.Add(path);
  app.databaseFolder = FolderWithSeparator(path);
  app.databaseFileName = NameOfPath(path);
  SetCatalogueModified(app, app.catalogueModified);
  if (!app.files.empty()) {
    switch (app.frontend.ShowMessage(MessageKind::Confirmation, kAppendQuestion,
                                     {Button::Yes, Button::No, Button::Cancel})) {
      case Button::No:
        app.files.clear();
        app.frontend.ListsChanged();
        break;
      case Button::Yes: SetCatalogueModified(app, true); break;
      default: keepPreviousName(); return true;
    }
  }
  app.viewRebuildNeeded.SetAll();
  bool ok = false;
  if (auto bytes = ReadWholeFile(path); !bytes) {
    FailRead(app, CannotReadDatabaseText(path), true);
  } else if (const std::string text = DecodeDatabaseText(std::move(*bytes));
             !IsValidVersionLine(LineReader(text).Next())) {
    FailRead(app, WrongFileversionText(path), false);
  } else {
    LoadRecords(app, text, selective);
    ok = true;
  }
  if (!ok) keepPreviousName();
  app.frontend.ListsChanged();
  app.frontend.SetStatusPanel(0, FilesSoFarText(app.files.size()));
  ChangePage(app, Page::Files);
  app.frontend.SetProgress(0, 0);
  return ok;
}

void OpenDatabase(Application& app, bool selective) {
  if (const auto chosen = app.frontend.ChooseOpenFile(OpenDialog(app, selective))) {
    ReadDatabase(app, *chosen, selective);
  }
}

void SaveDatabaseAs(Application& app) {
  if (app.files.empty()) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  if (const auto chosen = app.frontend.ChooseSaveFile(SaveDialog(app, " Save Tonvault Database"))) {
    app.recentDatabases.Add(*chosen);
    app.databaseFolder = FolderWithSeparator(*chosen);
    app.databaseFileName = NameOfPath(*chosen);
    WriteDatabase(app, *chosen, app.files);
  }
  RefreshPage(app);
}

void SaveDatabase(Application& app) {
  if (app.files.empty()) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  if (app.databaseFileName.empty()) {
    SaveDatabaseAs(app);
    return;
  }
  WriteDatabase(app, app.databaseFolder + app.databaseFileName, app.files);
  RefreshPage(app);
}

void SaveResultsToDatabase(Application& app) {
  if (app.results.empty()) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  if (const auto chosen = app.frontend.ChooseSaveFile(SaveDialog(app, " Save RESULTS as Tonvault Database"))) {
    app.recentDatabases.Add(*chosen);
    // "Save database" writes to folder + name: once the catalogue has a name,
    // its folder stays with it, so the RESULTS file never redirects it.
    if (app.databaseFileName.empty()) app.databaseFolder = FolderWithSeparator(*chosen);
    WriteDatabase(app, *chosen, app.results);
  }
  RefreshPage(app);
}

void OpenRecentDatabase(Application& app, const std::string& path) {
  if (!ReadDatabase(app, path, false)) app.recentDatabases.Remove(path);
}

void ClearRecentList(Application& app) { app.recentDatabases.Clear(); }

void CheckRecentList(Application& app) {
  const std::size_t removed = app.recentDatabases.RemoveMissing([](const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
  });
  const std::string text = removed == 0 ? "All entries are OK" : std::to_string(removed) + " not more valid lines removed";
  app.frontend.ShowMessage(MessageKind::Information, text, {Button::Ok});
}

}  // namespace tonvault::catalogue
