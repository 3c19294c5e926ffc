#include "catalogue/DiskOperations.h"

#include <algorithm>
#include <filesystem>

#include "catalogue/ListOperations.h"
#include "catalogue/PathText.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "files/CopyFile.h"
#include "files/Folders.h"
#include "files/RenameFile.h"

namespace tonvault::catalogue {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProceed = "Procede with next file(s) ?";

std::string SourceOf(const Application& app, const TrackRecord& row) { return FileOfRow(row, app.columnMap); }

bool AnyPlayerRowSelected(const Application& app, const std::vector<TrackRecord>& rows) {
  return std::any_of(rows.begin(), rows.end(),
                     [&](const TrackRecord& r) { return r.selected && IsPlayerRow(r, app.columnMap); });
}

// Asks whether to go on after one file failed; false ends the command.
bool ProceedAfter(Application& app, const std::string& text) {
  return Ask(app.frontend, Sound::Question, MessageKind::Confirmation, text + "\n\r\r" + kProceed,
             {Button::Yes, Button::No}) == Button::Yes;
}

// The last folder name of a Path text ("/music/Pop/" gives "Pop").
std::string LastFolderName(const std::string& path) {
  const std::string trimmed = WithoutTrailingSeparator(path);
  const std::size_t slash = trimmed.rfind(kPathSeparator);
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

enum class Replace { Ask, All };

struct Transfer {
  Application& app;
  bool copy;
  bool withSubfolder;
  std::string folder;  // chosen, without trailing separator
  Replace replace = Replace::Ask;
  bool ended = false;
};

struct RowOutcome {
  bool removeRow = false;  // moved away
  bool counted = true;     // counts as done (a missing source does not)
};

// Copies or moves the file of one selected row.
RowOutcome TransferRow(Transfer& t, const TrackRecord& row) {
  Application& app = t.app;
  std::string targetFolder = t.folder + kPathSeparator;
  if (t.withSubfolder) targetFolder += LastFolderName(app.columnMap.Get(row, Column::Path)) + kPathSeparator;
  std::error_code error;
  if (files::MakeFolders(targetFolder) &&
      !ProceedAfter(app, "Cannot create directory\n\r" + targetFolder)) {
    t.ended = true;
    return {false, false};
  }
  const std::string source = SourceOf(app, row);
  const std::string target = targetFolder + std::string(app.columnMap.Get(row, Column::Filename));
  if (!fs::exists(fs::symlink_status(source, error))) {
    t.ended = !ProceedAfter(app, source + "\n\r\rNot found !");
    return {false, false};
  }
  bool replacing = false;
  if (fs::exists(fs::symlink_status(target, error))) {
    if (t.replace == Replace::All) {
      replacing = true;
    } else {
      switch (app.frontend.ShowMessage(MessageKind::Confirmation,
                                       target + "\n\ralready exists in the target folder.\n\r\rReplace ?",
                                       {Button::Yes, Button::No, Button::Cancel, Button::All})) {
        case Button::Cancel: t.ended = true; return {false, false};
        case Button::No: return {};
        case Button::All: t.replace = Replace::All; [[fallthrough]];
        default: replacing = true;
      }
    }
  }
  if (fs::exists(fs::symlink_status(target, error)) && !replacing) return {};
  const files::FileStatus failed = t.copy ? files::CopyFile(source, target) : files::MoveFile(source, target, replacing);
  if (failed) {
    t.ended = !ProceedAfter(app, (t.copy ? "Cannot copy " : "Cannot move ") + source);
    return {};
  }
  return {!t.copy, true};
}

// The list whose selected files a disk command works on: that of the Files
// or Results page, with a selection and no player row in it. Otherwise the
// command beeps (and names the refusal) and gets nothing.
std::optional<ListId> DiskCommandList(Application& app, const char* playerRefusal) {
  const auto list = ListOfCurrentPage(app);
  if (!list || CountSelected(Rows(app, *list)) == 0) {
    app.frontend.Beep(Sound::Default);
    return std::nullopt;
  }
  if (AnyPlayerRowSelected(app, Rows(app, *list))) {
    Ask(app.frontend, Sound::Hand, MessageKind::Information, playerRefusal, {Button::Ok});
    app.frontend.Beep(Sound::Default);
    return std::nullopt;
  }
  return list;
}

}  // namespace

void CopyOrMoveFiles(Application& app, bool copy, bool withSubfolder) {
  const auto list = DiskCommandList(app, "Files on NJB can not be copied/moved that way.");
  if (!list) return;
  std::vector<TrackRecord>& rows = Rows(app, *list);
  std::string caption = copy ? "Select destination folder to COPY files:" : "Select destination folder to MOVE files:";
  if (withSubfolder) caption += "\n\r(Subdirectories will be created automatically)";
  const auto chosen = app.frontend.ChooseFolder(caption, ExistingStartFolder(app.copyMoveFolder));
  if (!chosen) {
    app.frontend.Beep(Sound::Default);
    return;
  }
  Transfer transfer{app, copy, withSubfolder, WithoutTrailingSeparator(*chosen)};
  app.copyMoveFolder = transfer.folder == "/" ? transfer.folder : transfer.folder + kPathSeparator;
  const std::size_t selected = CountSelected(rows);
  std::size_t done = 0;
  std::vector<bool> remove(rows.size(), false);
  {
    LongOperation operation(app, {100,
                                  [&](std::size_t) {
                                    return std::string(copy ? "Copy:  " : "Move:  ") + std::to_string(selected - done);
                                  },
                                  1});
    for (std::size_t i = 0; i < rows.size() && !transfer.ended; ++i) {
      if (rows[i].selected) {
        const RowOutcome outcome = TransferRow(transfer, rows[i]);
        remove[i] = outcome.removeRow;
        done += outcome.counted ? 1 : 0;
      }
      if (!operation.ItemDone(done, selected)) break;
    }
    std::size_t index = 0;
    const std::size_t removed = std::erase_if(rows, [&](const TrackRecord&) { return remove[index++]; });
    if (removed > 0 && *list == ListId::Files) FilesChanged(app);
    if (removed > 0) app.frontend.ListsChanged();
  }
}

void DeleteFiles(Application& app) {
  const auto list = DiskCommandList(app, "Files on NJB or from cache file can not be deleted that way.");
  if (!list) return;
  std::vector<TrackRecord>& rows = Rows(app, *list);
  const std::size_t selected = CountSelected(rows);
  const std::string question = "Do you really want to delete\n\rthe " + std::to_string(selected) +
                               " selected files\n\rfrom your harddisk ?";
  if (app.frontend.ShowMessage(MessageKind::Confirmation, question, {Button::Yes, Button::No}) != Button::Yes ||
      app.frontend.ShowMessage(MessageKind::Confirmation, "Are you sure ?", {Button::Yes, Button::No}) != Button::Yes) {
    return;
  }
  std::vector<bool> remove(rows.size(), false);
  std::size_t done = 0;
  {
    LongOperation operation(app, {100, {}, 1});
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (!rows[i].selected) continue;
      const std::string file = SourceOf(app, rows[i]);
      std::error_code error;
      bool proceed = true;
      const fs::file_status status = fs::symlink_status(file, error);
      if (fs::is_regular_file(status) || fs::is_symlink(status)) {
        remove[i] = !files::RemoveFile(file);
        if (!remove[i]) proceed = ProceedAfter(app, "Cannot delete " + file + "\n\r(possibly read only)");
      } else {
        proceed = ProceedAfter(app, file + "\n\r\rNot found !");
      }
      ++done;
      if (!proceed || !operation.ItemDone(done, selected)) break;
    }
    std::size_t index = 0;
    const std::size_t removed = std::erase_if(rows, [&](const TrackRecord&) { return remove[index++]; });
    if (removed > 0 && *list == ListId::Files) FilesChanged(app);
    app.frontend.ListsChanged();
  }
}

}  // namespace tonvault::catalogue
