#pragma once

#include <map>
#include <string>
#include <vector>

namespace tonvault::catalogue {

// The label of the file system that holds a file, for the Label column.
// The mount table and the labels are read once; each mount point's label is
// then looked up once, however many files it holds.
class VolumeLabels {
 public:
  // Reads /proc/self/mounts and /dev/disk/by-label.
  VolumeLabels();
  // For tests: mount points with their devices, and devices with labels.
  VolumeLabels(std::vector<std::pair<std::string, std::string>> mounts, std::map<std::string, std::string> labels);

  // The label of the file system holding `path` (absolute); empty when it
  // has none.
  const std::string& LabelOf(const std::string& path);

  // The mount point holding `path`: the longest one that prefixes it.
  const std::string& MountPointOf(const std::string& path) const;

 private:
  std::vector<std::pair<std::string, std::string>> mounts_;  // mount point, device; longest first
  std::map<std::string, std::string> deviceLabels_;
  std::map<std::string, std::string> cache_;  // mount point -> label
};

// "\040" and "\x20" escapes as the mount table and /dev/disk/by-label write them.
std::string UnescapeMountText(const std::string& text);

}  // namespace tonvault::catalogue
