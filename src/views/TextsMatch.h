#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tonvault::catalogue {
class VolumeLabels;
}

namespace tonvault::views {

// How two texts are compared: 0 equal, 1 equal ignoring ASCII case, 2 one
// contains the other, 3 the same ignoring case, 4..8 chunk similarity of at
// least 90, 80, 70, 60, 50 %; -1 the last folder of a path, -2 its drive,
// both ignoring case.
using CompareMode = int;

inline constexpr const char* kCompareModeTexts[] = {"Case sen.", "Case insen.", "In (c sens)", "In (c insens)", "90 %",
                                                   "80 %",      "70 %",        "60 %",        "50 %"};

// `mounts` gives native paths their drive (the mount point); without it a
// native path is its own drive.
bool TextsMatch(std::string_view first, std::string_view second, CompareMode mode,
                const catalogue::VolumeLabels* mounts = nullptr);

// The 5-character chunks of a UTF-8 text (the last one 1 to 5 characters).
std::vector<std::string_view> Chunks(std::string_view text);

// Hits of chunks of each text inside the other, × 100 / all chunks.
int ChunkSimilarity(std::string_view a, std::string_view b);

// The key two texts share exactly when they match in an equality mode
// (0, 1, -1, -2); other modes have no key.
std::string EqualityKey(std::string_view text, CompareMode mode, const catalogue::VolumeLabels* mounts = nullptr);
bool IsEqualityMode(CompareMode mode);

// The last tail that still holds a separator ("D:\MyMP3s\ABBA\" gives
// "ABBA\", "/music/Pop/" gives "Pop/"); a text without one gives "".
// Paths holding "/" are cut at "/", others at "\".
std::string_view LastDirectory(std::string_view path);
// A native absolute path (starting with "/") gives its mount point when
// `mounts` is given, else itself; any other text with a colon gives the text
// up to and including it ("C:\a\" gives "C:"); else the whole text.
std::string DrivePart(std::string_view path, const catalogue::VolumeLabels* mounts);

}  // namespace tonvault::views
