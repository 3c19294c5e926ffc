#include "files/Folders.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "files/RenameFile.h"

namespace tonvault::files {

FileStatus MakeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) return ErrorFromErrno(error.value());
  // create_directories is content when the last name exists as anything.
  if (!std::filesystem::is_directory(path, error)) return ErrorFromErrno(ENOTDIR);
  return std::nullopt;
}

FileStatus RemoveFolder(const std::string& path) {
  if (const FileStatus emptied = RemoveFolderContents(path)) return emptied;
  if (::rmdir(path.c_str()) != 0) return ErrorFromErrno(errno);
  return std::nullopt;
}

}  // namespace tonvault::files
