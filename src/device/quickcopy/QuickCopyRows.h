#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/DeviceTypes.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// The icons of the Quick Copy page's rows beyond the import's status icons.
namespace QuickIcon {
inline constexpr int Folder = 32;
inline constexpr int DataFile = 33;
inline constexpr int Mpeg = 28;
inline constexpr int Wma = 21;
inline constexpr int Wav = 29;
inline constexpr int Protected = 35;
inline constexpr int Video = 39;
}  // namespace QuickIcon

// The columns of both panes after the icon.
enum class QuickColumn { Filename = 0, Title, Artist, Album, Length, Size };
inline constexpr std::size_t kQuickTextColumns = 6;

// One row of either pane: a folder (a PC folder or a player group), a file
// or a player track or data file with its ID.
struct QuickRow {
  int icon = QuickIcon::DataFile;
  std::array<std::string, kQuickTextColumns> texts;
  int id = -1;
  bool folder = false;
  std::int64_t bytes = 0;  // a data file's size

  const std::string& Name() const { return texts[0]; }
  bool operator==(const QuickRow&) const = default;
};

QuickRow FolderRow(const std::string& name);
// A file or data file row with only its name and size.
QuickRow SizedRow(const std::string& name, std::int64_t sizeKb, int icon);

// A data file shown or sent in Data mode: its extension, as written,
// contains none of ".mp2", ".mp3", ".wma" and ".wav".
bool IsDataFileName(const std::string& name);
// A file sent as audio: its lower-cased extension contains one of them.
bool SentAsAudio(const std::string& name);

// The level of the player pane: the three groups, the names of one group,
// the tracks of one name, or the data files.
enum class QuickLevel { Data = -1, Groups = 0, Names = 1, Tracks = 2 };
enum class QuickGroup { Albums = 0, Artists = 1, Genres = 2 };

// "Albums", "Artists" or "Genres".
const char* GroupCaption(QuickGroup group);
// The path text above the player pane.
std::string PlayerPathText(QuickLevel level, QuickGroup group, const std::string& name);

// The icon of a player track: protected, else by the extension.
int TrackIcon(bool isProtected, const std::string& extension);
// Whether a table entry belongs to a name of the group (exact text).
bool InGroup(const DeviceTrack& track, QuickGroup group, const std::string& name);

// Level 0: the three group folders.
std::vector<QuickRow> GroupRows();
// Level 1: the distinct non-empty names of the group, sorted.
std::vector<QuickRow> NameRows(const DeviceTrackTable& table, QuickGroup group);
// Level 2: the tracks of one name, in table order. The album and genre
// lists take the icon from the codec, the artist list from the file name.
std::vector<QuickRow> TrackRows(const DeviceTrackTable& table, QuickGroup group, const std::string& name);
// A data file of the player; nothing for a ".aux" file unless `jukebox`.
bool DataRow(const DataInfo& info, bool jukebox, QuickRow& row);

// The IDs of every live table entry of a name.
std::vector<int> TrackIdsOf(const DeviceTrackTable& table, QuickGroup group, const std::string& name);

// Sorts by a display column (0 the icon, 1.. the texts): the size column as
// whole numbers without the thousands separators, the others by exact
// text. Equal rows keep their order.
void SortQuickRows(std::vector<QuickRow>& rows, int displayColumn, bool ascending);

}  // namespace tonvault::device
