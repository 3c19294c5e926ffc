#pragma once

#include <array>
#include <string_view>

namespace tonvault::catalogue {

// The pages of the main window, in tab order; Mp3 has no tab and is reached
// only by program command.
enum class Page : int {
  Files,
  Albums,
  Artists,
  Genres,
  Search,
  Results,
  Synchronize,
  Playlists,
  Statistics,
  Id3Editor,
  QuickCopy,
  Player,
  Settings,
  Mp3,
};

inline constexpr int kPageCount = 14;
inline constexpr int kTabbedPageCount = 13;

inline constexpr std::array<std::string_view, kPageCount> kPageCaptions = {
    "Files",      "Albums",       "Artists",    "Genres",     "Search",   "Results", "Synchronize",
    "Playlists",  "Statistics",   "ID3 - Editor", "Quick Copy", "NJB Player", "Settings", "MP3"};

inline std::string_view PageCaption(Page page) { return kPageCaptions[static_cast<std::size_t>(page)]; }

}  // namespace tonvault::catalogue
