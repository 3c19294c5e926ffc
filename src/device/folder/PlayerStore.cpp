#include "device/folder/PlayerStore.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "audio/Id3v2Writer.h"
#include "device/folder/FileAudioInfo.h"
#include "files/Folders.h"
#include "files/CopyFile.h"
#include "files/ReadWholeFile.h"
#include "files/RenameFile.h"
#include "files/ReplaceFile.h"

namespace tonvault::device {
namespace fs = std::filesystem;

namespace {

constexpr const char* kStagingPrefix = "incoming-";

Status StatusOfErrno(int code) {
  switch (code) {
    case EROFS:
    case EACCES:
    case EPERM: return kReadOnly;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case ENOENT: return kNotFound;
    default: return kFileError;
  }
}

Status StatusOf(const files::FileStatus& status) { return status ? StatusOfFileError(*status) : kOk; }

Status MakeFolders(const std::string& path) { return StatusOf(files::MakeFolders(path)); }

std::string LowerExtension(const std::string& path) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

std::string Relative(const fs::path& path, const fs::path& root) { return path.lexically_relative(root).string(); }

// The tag fields a track's info gives; numbers of 0 stay empty.
audio::Id3v2TagFields TagFieldsOf(const AudioInfo& info) {
  audio::Id3v2TagFields fields;
  fields.title = info.title, fields.artist = info.artist, fields.album = info.album;
  fields.comment = info.comment, fields.genre = info.genre;
  if (info.year > 0) fields.year = std::to_string(info.year);
  if (info.trackNumber > 0) fields.track = std::to_string(info.trackNumber);
  return fields;
}

// Writes the player's view of a track into the file's ID3v2 tag, keeping
// the tag's other frames. Only MPEG files carry one.
Status WriteTag(const std::string& path, const AudioInfo& info) {
  const std::string extension = LowerExtension(path);
  if (extension != ".mp3" && extension != ".mp2") return kOk;
  audio::Id3v2WriteOptions options;
  options.keepOldContent = true;
  const audio::Id3v2WriteResult result = audio::WriteId3v2Tag(path, TagFieldsOf(info), options);
  return result.ok ? kOk : kFileError;
}

}  // namespace

Status StatusOfFileError(const files::FileError& error) {
  switch (error.failure) {
    case files::Failure::NotFound: return kNotFound;
    case files::Failure::WriteProtected: return kReadOnly;
    case files::Failure::AlreadyExists: return kFileError;
    case files::Failure::System: return StatusOfErrno(error.code);
    default: return kFileError;
  }
}

PlayerStore::PlayerStore(std::string root) : root_(std::move(root)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::string PlayerStore::IndexPath() const { return root_ + "/" + kLibraryFolder + "/" + kIndexName; }

Status PlayerStore::Open() {
  std::error_code error;
  if (!fs::is_directory(root_, error)) return kNotFound;
  // Files a killed transfer left under their staging name are incomplete
  // copies no index names: they go.
  const fs::path library = fs::path(root_) / kLibraryFolder;
  for (const auto& entry : fs::directory_iterator(library, error)) {
    if (entry.path().filename().string().rfind(kStagingPrefix, 0) == 0) fs::remove(entry.path(), error);
  }
  std::string text;
  std::optional<TrackIndex> read;
  if (!files::ReadWholeFile(IndexPath(), text, std::size_t{1} << 28)) read = ParseTrackIndex(text);
  rebuilt_ = !read;
  if (read) {
    index_ = std::move(*read);
    return kOk;
  }
  const Status status = Rebuild();
  return status == kReadOnly ? kOk : status;
}

Status PlayerStore::Rebuild() {
  TrackIndex index;
  std::vector<fs::path> audioFiles, dataFiles;
  std::error_code error;
  const fs::path root(root_);
  auto walk = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, error);
  if (error) return StatusOfErrno(error.value());
  for (auto it = walk; it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    const std::string name = it->path().filename().string();
    if (!name.empty() && name.front() == '.') {
      if (it->is_directory(error)) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(error)) continue;
    if (Relative(it->path(), root).rfind(std::string(kDataFolder) + "/", 0) == 0) {
      dataFiles.push_back(it->path());
    } else if (IsAudioFileName(name)) {
      audioFiles.push_back(it->path());
    }
  }
  std::sort(audioFiles.begin(), audioFiles.end());
  std::sort(dataFiles.begin(), dataFiles.end());
  for (const fs::path& path : audioFiles) {
    const int id = index.TakeId();
    IndexedTrack track{Relative(path, root), ReadFileAudioInfo(path.string())};
    track.info.id = id;
    index.tracks.emplace(id, std::move(track));
  }
  for (const fs::path& path : dataFiles) {
    const int id = index.TakeId();
    IndexedDataFile data{Relative(path, root), {path.filename().string(), 0, id}};
    data.info.fileSize = static_cast<std::int64_t>(fs::file_size(path, error));
    index.dataFiles.emplace(id, std::move(data));
  }
  index_ = std::move(index);
  return SaveIndex();
}

Status PlayerStore::EnsureLibraryFolder() { return MakeFolders(root_ + "/" + kLibraryFolder); }

Status PlayerStore::SaveIndex() {
  if (const Status status = EnsureLibraryFolder(); status != kOk) return status;
  return StatusOf(files::WriteWholeFile(IndexPath(), FormatTrackIndex(index_)));
}

// Copies `source` to a staging name in the library folder, then renames
// it to the first free name stem[ (n)]extension in `folder` (relative to
// the root).
Status PlayerStore::Place(const std::string& source, const std::string& folder, const std::string& stem,
                          const std::string& extension, std::string& relativePath) {
  if (const Status status = EnsureLibraryFolder(); status != kOk) return status;
  const std::string staging =
      root_ + "/" + kLibraryFolder + "/" + kStagingPrefix + std::to_string(index_.nextId) + extension;
  if (const auto failed = files::CopyFile(source, staging)) {
    return failed->failure == files::Failure::NotFound || failed->failure == files::Failure::NotRegularFile ||
                   failed->failure == files::Failure::ReadFailed
               ? kFileError
               : StatusOfFileError(*failed);
  }
  Status status = MakeFolders(root_ + "/" + folder);
  for (int n = 1; status == kOk && n < 10000; ++n) {
    const std::string candidate = folder + "/" + stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + extension;
    const auto renamed = files::RenameExclusive(staging, PathOf(candidate));
    if (!renamed) {
      relativePath = candidate;
      return kOk;
    }
    if (renamed->failure != files::Failure::AlreadyExists) status = StatusOfFileError(*renamed);
  }
  files::RemoveFile(staging);
  return status == kOk ? kFileError : status;
}

// Names a file that has just been placed in the index. When the index
// cannot be written, the file goes again: no file without its entry.
template <class Entries, class Info>
Status PlayerStore::Admit(Entries& entries, const std::string& relativePath, Info info, int& id) {
  const std::string path = PathOf(relativePath);
  std::error_code error;
  info.fileSize = static_cast<std::int64_t>(fs::file_size(path, error));
  info.fileName = fs::path(relativePath).filename().string();
  id = info.id = index_.TakeId();
  entries[id] = {relativePath, info};
  const Status saved = SaveIndex();
  if (saved != kOk) {
    entries.erase(id);
    files::RemoveFile(path);
  }
  return saved;
}

Status PlayerStore::AddTrack(const std::string& source, AudioInfo info, int& id) {
  const std::string extension = LowerExtension(source);
  const std::string folder = std::string(kMusicFolder) + "/" + SafeFileName(info.artist, "Unknown Artist") + "/" +
                             SafeFileName(info.album, "Unknown Album");
  const std::string nameGiven = info.fileName.empty() ? fs::path(source).filename().string() : info.fileName;
  const std::string stem = SafeFileName(fs::path(nameGiven).stem().string(), "Track");
  std::string relativePath;
  if (const Status status = Place(source, folder, stem, extension, relativePath); status != kOk) return status;
  // The tag is written before the index names the file: a file whose tag
  // cannot be written (not MPEG audio) is still a whole copy and stays.
  WriteTag(PathOf(relativePath), info);
  return Admit(index_.tracks, relativePath, info, id);
}

Status PlayerStore::AddDataFile(const std::string& source, DataInfo info, int& id) {
  const std::string nameGiven = info.fileName.empty() ? fs::path(source).filename().string() : info.fileName;
  const fs::path name(nameGiven);
  // The extension keeps its dot: a safe name drops leading dots.
  const std::string extension = name.extension().string();
  std::string safeExtension;
  if (extension.size() > 1) {
    safeExtension.assign(1, '.');
    safeExtension += SafeFileName(extension.substr(1), "");
  }
  std::string relativePath;
  const Status placed =
      Place(source, kDataFolder, SafeFileName(name.stem().string(), "File"), safeExtension, relativePath);
  if (placed != kOk) return placed;
  return Admit(index_.dataFiles, relativePath, info, id);
}

Status PlayerStore::CopyOut(const std::string& relativePath, const std::string& target) const {
  // A complete copy under a hidden name beside the target, renamed to the
  // target only when the target is still free: never over a file, never a
  // half-written file under the target's name.
  const fs::path targetPath(target);
  const std::string staging =
      (targetPath.parent_path() / (".tonvault-receive-" + targetPath.filename().string())).string();
  if (const auto failed = files::CopyFile(PathOf(relativePath), staging)) {
    return failed->failure == files::Failure::NotFound ? kFileError : StatusOfFileError(*failed);
  }
  if (const auto failed = files::RenameExclusive(staging, target)) {
    files::RemoveFile(staging);
    return StatusOfFileError(*failed);
  }
  return kOk;
}

Status PlayerStore::SetTrackInfo(int id, const AudioInfo& info) {
  const auto found = index_.tracks.find(id);
  if (found == index_.tracks.end()) return kNotFound;
  const IndexedTrack old = found->second;
  AudioInfo& changed = found->second.info;
  changed = info;
  changed.id = id;
  changed.fileName = old.info.fileName;
  changed.fileSize = old.info.fileSize;
  if (const Status saved = SaveIndex(); saved != kOk) {
    found->second = old;
    return saved;
  }
  // The index is the player's own record; a file whose tag cannot be
  // written (not MPEG audio) keeps its old tag.
  WriteTag(PathOf(old.relativePath), changed);
  return kOk;
}

// Takes the entry out of the index first: a file the index no longer names
// is found again by a rebuild, while an index entry without its file would
// be a track that cannot be played or received.
template <class Entries>
Status PlayerStore::DeleteEntry(Entries& entries, int id) {
  const auto found = entries.find(id);
  if (found == entries.end()) return kNotFound;
  const auto old = *found;
  entries.erase(found);
  if (const Status saved = SaveIndex(); saved != kOk) {
    entries.insert(old);
    return saved;
  }
  const auto removed = files::RemoveFile(PathOf(old.second.relativePath));
  if (removed && removed->failure != files::Failure::NotFound) {
    entries.insert(old);
    SaveIndex();
    return StatusOfFileError(*removed);
  }
  return kOk;
}

Status PlayerStore::DeleteTrack(int id) { return DeleteEntry(index_.tracks, id); }
Status PlayerStore::DeleteDataFile(int id) { return DeleteEntry(index_.dataFiles, id); }

Status PlayerStore::Storage(StorageInfo& info) const {
  struct statvfs fsInfo {};
  if (::statvfs(root_.c_str(), &fsInfo) != 0) return StatusOfErrno(errno);
  info.totalKb = static_cast<std::int64_t>(fsInfo.f_blocks) * static_cast<std::int64_t>(fsInfo.f_frsize) / 1024;
  info.freeKb = static_cast<std::int64_t>(fsInfo.f_bavail) * static_cast<std::int64_t>(fsInfo.f_frsize) / 1024;
  info.tracks = static_cast<int>(index_.tracks.size());
  info.dataFiles = static_cast<int>(index_.dataFiles.size());
  info.audioKb = info.dataKb = 0;
  for (const auto& [id, track] : index_.tracks) info.audioKb += track.info.fileSize / 1024;
  for (const auto& [id, file] : index_.dataFiles) info.dataKb += file.info.fileSize / 1024;
  return kOk;
}

}  // namespace tonvault::device
