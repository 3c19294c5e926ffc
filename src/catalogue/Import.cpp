#include "catalogue/Import.h"

#include <algorithm>
#include <deque>
#include <filesystem>

#include "audio/TextEncoding.h"
#include "catalogue/AudioHost.h"
#include "catalogue/CommandLine.h"
#include "catalogue/FillRow.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PathText.h"
#include "catalogue/PageChange.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/StatusTexts.h"
#include "catalogue/TextCase.h"
#include "files/OpenFile.h"

namespace tonvault::catalogue {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxDroppedNameCharacters = 512;

std::string ImportStartFolder(const Application& app) {
  return app.options.import.rememberImportPath ? ExistingStartFolder(app.importFolder) : std::string();
}

// At most `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == count) return text.substr(0, i);
  }
  return text;
}

void StartCollecting(Application& app) {
  app.notRead.clear();
  FilesChanged(app);
  SetCommandState(app, 0);
  app.frontend.PumpEvents();
}

void ImportCandidates(Application& app, std::vector<std::string>& candidates) {
  if (candidates.empty()) {
    app.frontend.Beep(Sound::Default);
  } else {
    SortCandidates(candidates);
    BuildRows(app, candidates);
  }
  ReportNotRead(app);
}

constexpr std::size_t kNotReadNamed = 10;
constexpr std::size_t kFilesAnnounced = 8;

// What the readers of an ordinary file read first: the tag and the frames
// up to the constant-bitrate decision, and the ID3v1 tag at the end.
constexpr std::int64_t kAnnouncedHead = 64 * 1024;
constexpr std::int64_t kAnnouncedTail = 128;

// Opens a file whose row comes later and has the system fetch its head and
// tail in the background; the row is then filled from this descriptor, so
// each file is opened once.
OpenedAudioFile OpenAhead(const std::string& path) {
  OpenedAudioFile opened = OpenAudioFile(path);
  if (opened.source) {
    const std::int64_t size = opened.source->Size();
    const std::int64_t head = std::min(kAnnouncedHead, size);
    opened.source->WillRead(0, head);
    const std::int64_t tailStart = std::max(head, size - kAnnouncedTail);
    opened.source->WillRead(tailStart, size - tailStart);
  }
  return opened;
}

}  // namespace

bool MatchesFileType(const std::string& path, const ImportOptions& options) {
  const std::string extension = LowerExtension(path);
  const std::pair<bool, const char*> types[] = {
      {options.mp3, ".mp3"}, {options.mp2, ".mp2"}, {options.wma, ".wma"}, {options.wav, ".wav"}};
  return std::any_of(std::begin(types), std::end(types), [&](const auto& type) {
    return type.first && extension.find(type.second) != std::string::npos;
  });
}

void CollectFile(const std::string& path, const ImportOptions& options, std::vector<std::string>& candidates,
                 std::vector<NotReadFile>& notRead) {
  if (!MatchesFileType(path, options)) return;
  if (const files::FileStatus problem = files::CheckRegularFile(path)) {
    notRead.push_back({path, problem->Text()});
  } else {
    candidates.push_back(path);
  }
}

void CollectFiles(const std::string& folder, bool withSubfolders, const ImportOptions& options,
                  std::vector<std::string>& candidates, std::vector<NotReadFile>& notRead) {
  std::error_code error;
  for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code statusError;
    const bool link = it->is_symlink(statusError);
    const bool directory = it->is_directory(statusError);
    const std::string path = WithoutTrailingSeparator(folder) + kPathSeparator + name;
    if (directory) {
      if (withSubfolders && !link) CollectFiles(path, true, options, candidates, notRead);
    } else {
      CollectFile(path, options, candidates, notRead);
    }
  }
}

std::string NotReadText(const std::vector<NotReadFile>& notRead) {
  std::string text = notRead.size() == 1 ? "1 file could not be read and was not imported:"
                                         : std::to_string(notRead.size()) + " files could not be read and were not imported:";
  for (std::size_t i = 0; i < notRead.size() && i < kNotReadNamed; ++i) {
    text += "\n\r\r" + notRead[i].path + "\n\r(" + notRead[i].reason + ")";
  }
  if (notRead.size() > kNotReadNamed) text += "\n\r\r... and " + std::to_string(notRead.size() - kNotReadNamed) + " more";
  return text;
}

void ReportNotRead(Application& app) {
  if (app.notRead.empty()) return;
  Ask(app.frontend, Sound::Exclamation, MessageKind::Warning, NotReadText(app.notRead), {Button::Ok});
}

void SortCandidates(std::vector<std::string>& candidates) {
  std::stable_sort(candidates.begin(), candidates.end(), [](const std::string& a, const std::string& b) {
    return AsciiLower(a) < AsciiLower(b);
  });
}

void BuildRows(Application& app, const std::vector<std::string>& candidates) {
  const std::size_t total = candidates.size();
  LongOperation operation(app, {10, [&app](std::size_t) { return FilesSoFarText(app.files.size()); }});
  operation.EndOnPage(Page::Files);
  operation.ClearEstimateAtEnd();
  VolumeLabels labels;
  FrontendScanHost host(app);
  FillContext context{app.columnMap, app.options, labels, host};
  app.files.reserve(app.files.size() + total);
  app.filesSort.Clear();
  // The next files are opened and their heads and tails fetched while this
  // one is read, so a cold disk works on several files at once.
  std::deque<OpenedAudioFile> ahead;
  for (std::size_t i = 0; i < std::min(total, kFilesAnnounced); ++i) ahead.push_back(OpenAhead(candidates[i]));
  for (std::size_t i = 0; i < total; ++i) {
    if (i + kFilesAnnounced < total) ahead.push_back(OpenAhead(candidates[i + kFilesAnnounced]));
    OpenedAudioFile opened = std::move(ahead.front());
    ahead.pop_front();
    app.files.emplace_back();
    const FillDetails details = FillRow(app.files.back(), candidates[i], context, std::move(opened));
    if (details.openError) {
      app.files.pop_back();
      app.notRead.push_back({candidates[i], details.openError->Text()});
    } else if (details.scanCorrupt) {
      app.frontend.Beep(Sound::Default);
    }
    if (!operation.ItemDone(i + 1, total)) break;
  }
  app.frontend.ListsChanged();
}

void ImportFolder(Application& app, bool withSubfolders) {
  const std::string caption = withSubfolders ? "Select Folder with Audio files\n\r(including Subfolders):"
                                             : "Select Folder with Audio files:";
  if (!app.files.empty()) {
    const Button answer =
        app.frontend.ShowMessage(MessageKind::Confirmation, kAppendQuestion, {Button::Yes, Button::No, Button::Cancel});
    if (answer == Button::Cancel) return;
    if (answer == Button::No) {
      app.files.clear();
      app.frontend.ListsChanged();
    }
  }
  if (const auto chosen = app.frontend.ChooseFolder(caption, ImportStartFolder(app))) {
    const std::string folder = WithoutTrailingSeparator(*chosen);
    app.importFolder = folder == "/" ? folder : folder + kPathSeparator;
    StartCollecting(app);
    std::vector<std::string> candidates;
    CollectFiles(folder, withSubfolders, app.options.import, candidates, app.notRead);
    ImportCandidates(app, candidates);
  }
  ChangePage(app, Page::Files);
}

void ImportDropped(Application& app, const std::vector<std::string>& names) {
  if (names.size() == 1 && LowerExtension(names[0]) == ".tvd") {
    ReadDatabase(app, names[0], false);
    return;
  }
  if (!names.empty()) {
    StartCollecting(app);
    std::vector<std::string> candidates;
    for (const std::string& dropped : names) {
      const std::string name = WithoutTrailingSeparator(FirstCharacters(dropped, kMaxDroppedNameCharacters));
      std::error_code error;
      if (fs::is_directory(name, error)) {
        CollectFiles(name, true, app.options.import, candidates, app.notRead);
      } else if (fs::exists(fs::symlink_status(name, error))) {
        CollectFile(name, app.options.import, candidates, app.notRead);
      }
    }
    ImportCandidates(app, candidates);
  }
  ChangePage(app, Page::Files);
}

}  // namespace tonvault::catalogue
