#include "catalogue/PathText.h"

#include <filesystem>

#include "catalogue/Platform.h"

namespace tonvault::catalogue {

std::string WithoutTrailingSeparator(std::string path) {
  if (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
  return path;
}

std::string ExistingStartFolder(const std::string& remembered) {
  std::string folder = WithoutTrailingSeparator(remembered);
  std::error_code error;
  while (!folder.empty() && !std::filesystem::exists(folder, error) && folder.find(kPathSeparator) != std::string::npos) {
    folder.erase(folder.rfind(kPathSeparator));
  }
  return folder;
}

}  // namespace tonvault::catalogue
