#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tonvault::audio {

inline constexpr int kGenreCount = 126;
inline constexpr int kNoGenre = 255;

// The extended ID3v1 genre list: the 80 names of ID3v1 and the 46 common
// extensions, indices 0 to 125, spelled as published.
const std::array<std::string_view, kGenreCount>& GenreTable();

// The name of genre number `number`; empty outside 0..125.
std::string_view GenreName(int number);

// The number of the first entry equal to `name` (case-sensitive).
std::optional<int> GenreNumber(std::string_view name);

}  // namespace tonvault::audio
