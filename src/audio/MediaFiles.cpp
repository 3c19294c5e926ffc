#include "audio/MediaFiles.h"

#include <filesystem>

#include "audio/WavHeader.h"
#include "audio/WmaHeader.h"

namespace tonvault::audio {

std::optional<MediaHeader> ReadMediaHeader(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (extension == ".wma") return ReadWmaHeader(path);
  if (extension == ".wav") return ReadWavHeader(path);
  return std::nullopt;
}

}  // namespace tonvault::audio
