#include "catalogue/VolumeLabels.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tonvault::catalogue {

namespace fs = std::filesystem;

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

std::string Canonical(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved.string();
}

void SortLongestFirst(std::vector<std::pair<std::string, std::string>>& mounts) {
  std::stable_sort(mounts.begin(), mounts.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
}

bool Holds(const std::string& mountPoint, const std::string& path) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
         (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

}  // namespace

std::string UnescapeMountText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && HexValue(text[i + 2]) >= 0 &&
        HexValue(text[i + 3]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
      i += 3;
    } else if (text[i] == '\\' && i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2]) &&
               IsOctal(text[i + 3])) {
      out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

VolumeLabels::VolumeLabels() {
  std::ifstream table("/proc/self/mounts");
  for (std::string line; std::getline(table, line);) {
    std::istringstream fields(line);
    std::string device, mountPoint;
    if (fields >> device >> mountPoint) mounts_.emplace_back(UnescapeMountText(mountPoint), Canonical(device));
  }
  SortLongestFirst(mounts_);
  std::error_code error;
  for (fs::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end; it.increment(error)) {
    deviceLabels_[Canonical(it->path().string())] = UnescapeMountText(it->path().filename().string());
  }
}

VolumeLabels::VolumeLabels(std::vector<std::pair<std::string, std::string>> mounts,
                           std::map<std::string, std::string> labels)
    : mounts_(std::move(mounts)), deviceLabels_(std::move(labels)) {
  SortLongestFirst(mounts_);
}

const std::string& VolumeLabels::MountPointOf(const std::string& path) const {
  static const std::string none;
  for (const auto& [mountPoint, device] : mounts_) {
    if (Holds(mountPoint, path)) return mountPoint;
  }
  return none;
}

const std::string& VolumeLabels::LabelOf(const std::string& path) {
  const std::string& mountPoint = MountPointOf(path);
  if (auto cached = cache_.find(mountPoint); cached != cache_.end()) return cached->second;
  std::string label;
  for (const auto& [point, device] : mounts_) {
    if (point != mountPoint) continue;
    if (auto found = deviceLabels_.find(device); found != deviceLabels_.end()) label = found->second;
    break;
  }
  return cache_.emplace(mountPoint, std::move(label)).first->second;
}

}  // namespace tonvault::catalogue
