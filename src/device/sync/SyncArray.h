#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tonvault::device {

// The category of a line of the compare, as the "=" column shows it.
enum class SyncCategory : std::uint8_t { Removed = 0, OnlyOnPc = 1, OnlyOnNjb = 2, PcAndNjb = 3, MultipleMatch = 4 };

// The texts of one side of a line: Album, Artist, Title, Track, Length,
// Filesize, Codec, Genre, Year, Comment, Filename.
inline constexpr int kSideColumns = 11;
using SideTexts = std::array<std::string, kSideColumns>;
enum SideColumn : int { kAlbum, kArtist, kTitle, kTrack, kLength, kFilesize, kCodec, kGenre, kYear, kComment, kFilename };

// One line of the compare's outcome. The side texts are taken when the line
// is made, so the list stays what was compared whatever happens to FILES.
struct SyncEntry {
  SyncCategory category = SyncCategory::Removed;
  int filesRow = -1;     // index into FILES, -1 when none
  int deviceEntry = -1;  // index into the DeviceTrackTable, -1 when none
  SideTexts pc;
  SideTexts player;
  std::string bitrate;   // of the FILES row, sent along when the file is copied
};

using SyncArray = std::vector<SyncEntry>;

// The caption of a category's show button, and the symbol of its "=" column.
const char* CategoryCaption(SyncCategory category);
const char* CategorySymbol(SyncCategory category);

}  // namespace tonvault::device
