#include "device/quickcopy/PcFolder.h"

#include <algorithm>
#include <filesystem>

#include "catalogue/AudioHost.h"
#include "catalogue/Import.h"
#include "catalogue/TextFormats.h"
#include "catalogue/TrackRecord.h"

namespace tonvault::device {

namespace fs = std::filesystem;
using catalogue::StatusIcon::Corrupt;

namespace {

bool FitsMode(const std::string& path, bool audio, const catalogue::ImportOptions& types) {
  return audio ? catalogue::MatchesFileType(path, types) : IsDataFileName(fs::path(path).filename().string());
}

void GatherBelow(const std::string& folder, bool audio, const catalogue::ImportOptions& types,
                 std::vector<std::string>& paths) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && FitsMode(it->path().string(), audio, types)) paths.push_back(it->path().string());
  }
}

QuickRow PcDataRow(const std::string& name, std::int64_t bytes) {
  QuickRow row = SizedRow(name, bytes / 1024, QuickIcon::DataFile);
  row.bytes = bytes;
  return row;
}

}  // namespace

std::int64_t FileBytes(const std::string& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : static_cast<std::int64_t>(size);
}

int PcFileIcon(const QuickCopyFile& file) {
  namespace Icon = catalogue::StatusIcon;
  if (file.codec == "WMA") return Icon::Wma;
  if (file.codec == "WAV") return Icon::Wav;
  if (file.corrupt) return Corrupt;
  if (file.hasId3v1 && file.hasId3v2) return Icon::Id3v1AndV2;
  if (file.hasId3v2) return Icon::Id3v2;
  return file.hasId3v1 ? Icon::Id3v1 : Icon::NoTag;
}

QuickRow PcFileRow(const std::string& name, const QuickCopyFile& file) {
  QuickRow row = SizedRow(name, file.size / 1024, PcFileIcon(file));
  row.texts[1] = file.title, row.texts[2] = file.artist, row.texts[3] = file.album;
  row.texts[4] = catalogue::FormatLength(file.length);
  row.bytes = file.size;
  return row;
}

void ListFolder(const std::string& folder, std::vector<std::string>& subfolders, std::vector<std::string>& names) {
  std::error_code error;
  for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
       !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    const std::string name = it->path().filename().string();
    // Hidden entries stay hidden, as in the desktop's file manager.
    if (name.starts_with('.')) continue;
    if (it->is_directory(typeError)) {
      subfolders.push_back(name);
    } else if (it->is_regular_file(typeError)) {
      names.push_back(name);
    }
  }
  std::sort(subfolders.begin(), subfolders.end());
  std::sort(names.begin(), names.end());
}

std::vector<QuickRow> ListPcRows(catalogue::Application& app, const std::string& folder, bool audio,
                                 const std::function<bool(std::size_t done, std::size_t total)>& done) {
  std::vector<std::string> subfolders, names;
  ListFolder(folder, subfolders, names);
  std::vector<QuickRow> rows;
  for (const std::string& name : subfolders) rows.push_back(FolderRow(name));
  catalogue::FrontendScanHost host(app);
  const catalogue::Options& options = app.options;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (!audio) {
      if (IsDataFileName(name)) rows.push_back(PcDataRow(name, FileBytes(folder + name)));
      continue;
    }
    QuickCopyFile file;
    if (catalogue::MatchesFileType(name, options.import) &&
        ReadQuickCopyFile(folder + name, options.mp3.errorsTolerated, options.mp3.fullScan, options, host, file)) {
      rows.push_back(PcFileRow(name, file));
    }
    if (!done(i + 1, names.size())) break;
  }
  return rows;
}

std::vector<std::string> GatherFiles(const std::vector<std::string>& selected, bool audio,
                                     const catalogue::ImportOptions& types) {
  std::vector<std::string> paths;
  for (const std::string& path : selected) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
      GatherBelow(path, audio, types, paths);
    } else if (FitsMode(path, audio, types)) {
      paths.push_back(path);
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace tonvault::device
