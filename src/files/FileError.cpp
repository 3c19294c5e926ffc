#include "files/FileError.h"

#include <cerrno>
#include <cstring>

namespace tonvault::files {

std::string FileError::Text() const {
  switch (failure) {
    case Failure::NotFound: return "No such file";
    case Failure::NotRegularFile: return "Not a regular file";
    case Failure::WriteProtected: return "Write protected";
    case Failure::AlreadyExists: return "File exists";
    case Failure::ReadFailed: return "Read error";
    case Failure::Unsafe: return "Leads outside its folder or through a link";
    case Failure::System: break;
  }
  return code != 0 ? std::strerror(code) : "Unknown error";
}

FileError ErrorFromErrno(int code) {
  if (code == ENOENT || code == ENOTDIR) return {Failure::NotFound, code};
  return {Failure::System, code};
}

}  // namespace tonvault::files
