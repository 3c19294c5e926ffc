#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace tonvault::testing {

// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("tonvault-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace tonvault::testing
