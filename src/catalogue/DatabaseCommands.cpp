#include "catalogue/DatabaseCommands.h"

#include <filesystem>

#include "catalogue/PageChange.h"
#include "catalogue/PendingCommands.h"

namespace tonvault::catalogue {

namespace {

FileDialogRequest SaveDialog(const Application& app) {
  return {" Save Tonvault Database", app.databaseFolder, app.databaseFileName, "TVD",
          "Tonvault Database (*.TVD)|*.TVD"};
}

std::string FolderWithSeparator(const std::filesystem::path& path) {
  std::string folder = path.parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

}  // namespace

void SaveDatabaseAs(Application& app) {
  if (app.files.empty()) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  if (const auto chosen = app.frontend.ChooseSaveFile(SaveDialog(app))) {
    const std::filesystem::path path(*chosen);
    app.recentDatabases.Add(*chosen);
    app.databaseFolder = FolderWithSeparator(path);
    app.databaseFileName = path.filename().string();
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

void OpenRecentDatabase(Application& app, const std::string& path) {
  if (!ReadDatabase(app, path, false)) app.recentDatabases.Remove(path);
}

}  // namespace tonvault::catalogue

namespace tonvault::catalogue {

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
