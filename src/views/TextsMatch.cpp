#include "views/TextsMatch.h"

#include "catalogue/TextCase.h"
#include "catalogue/Utf8Characters.h"
#include "catalogue/VolumeLabels.h"

namespace tonvault::views {

namespace {

constexpr std::size_t kChunk = 5;

bool EitherContains(std::string_view a, std::string_view b) {
  auto contains = [](std::string_view text, std::string_view part) {
    return !part.empty() && text.find(part) != std::string_view::npos;
  };
  return contains(a, b) || contains(b, a);
}

int ThresholdOf(CompareMode mode) { return 90 - 10 * (mode - 4); }

}  // namespace

std::vector<std::string_view> Chunks(std::string_view text) {
  std::vector<std::string_view> chunks;
  std::size_t start = 0, at = 0, characters = 0;
  while (at < text.size()) {
    at += catalogue::Utf8CharacterLength(text, at);
    if (++characters == kChunk) {
      chunks.push_back(text.substr(start, at - start));
      start = at;
      characters = 0;
    }
  }
  if (start < text.size()) chunks.push_back(text.substr(start));
  return chunks;
}

int ChunkSimilarity(std::string_view a, std::string_view b) {
  const auto chunksA = Chunks(a), chunksB = Chunks(b);
  const std::size_t all = chunksA.size() + chunksB.size();
  if (all == 0) return 100;
  std::size_t hits = 0;
  for (std::string_view chunk : chunksA) hits += b.find(chunk) != std::string_view::npos;
  for (std::string_view chunk : chunksB) hits += a.find(chunk) != std::string_view::npos;
  return static_cast<int>(hits * 100 / all);
}

std::string_view LastDirectory(std::string_view path) {
  const char separator = path.find('/') != std::string_view::npos ? '/' : '\\';
  std::string_view remembered;
  bool found = false;
  while (true) {
    const std::size_t at = path.find(separator);
    if (at == std::string_view::npos) break;
    remembered = path;
    found = true;
    path.remove_prefix(at + 1);
  }
  return found ? remembered : std::string_view();
}

std::string DrivePart(std::string_view path, const catalogue::VolumeLabels* mounts) {
  // A native absolute path may hold a colon in a folder name ("Live: 1999");
  // only texts from Windows catalogues have a drive letter before one.
  if (!path.empty() && path[0] == '/') return mounts != nullptr ? mounts->MountPointOf(std::string(path)) : std::string(path);
  if (const std::size_t colon = path.find(':'); colon != std::string_view::npos) return std::string(path.substr(0, colon + 1));
  return std::string(path);
}

bool IsEqualityMode(CompareMode mode) { return mode == 0 || mode == 1 || mode == -1 || mode == -2 || mode > 8 || mode < -2; }

std::string EqualityKey(std::string_view text, CompareMode mode, const catalogue::VolumeLabels* mounts) {
  switch (mode) {
    case 1: return catalogue::AsciiLower(text);
    case -1: return catalogue::AsciiLower(LastDirectory(text));
    case -2: return catalogue::AsciiLower(DrivePart(text, mounts));
    default: return std::string(text);
  }
}

bool TextsMatch(std::string_view first, std::string_view second, CompareMode mode,
                const catalogue::VolumeLabels* mounts) {
  if (first == second) return true;
  switch (mode) {
    case 0: return false;
    case 2: return EitherContains(first, second);
    case -2:
    case -1: return EqualityKey(first, mode, mounts) == EqualityKey(second, mode, mounts);
    default: break;
  }
  const std::string a = catalogue::AsciiLower(first), b = catalogue::AsciiLower(second);
  if (mode == 1) return a == b;
  if (mode == 3) return EitherContains(a, b);
  if (mode >= 4 && mode <= 8) return ChunkSimilarity(a, b) >= ThresholdOf(mode);
  return false;
}

}  // namespace tonvault::views
