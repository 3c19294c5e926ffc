#include "device/content/DeviceRow.h"

#include <charconv>
#include <string>

#include "catalogue/TextFormats.h"

namespace tonvault::device {

using catalogue::Column;

std::int64_t KilobytesHalfEven(std::int64_t bytes) {
  if (bytes <= 0) return 0;
  std::int64_t quotient = bytes / 1024;
  const std::int64_t remainder = bytes % 1024;
  if (remainder > 512 || (remainder == 512 && quotient % 2 == 1)) ++quotient;
  return quotient;
}

std::string PlayerBitrateText(const AudioInfo& info) {
  if (info.length > 0 && info.bitrate.empty()) {
    return std::to_string(info.fileSize / info.length / 125);
  }
  return info.bitrate.empty() ? std::string("0") : info.bitrate;
}

int PlayerTrackIcon(const AudioInfo& info, int deviceKind, int activeMemory) {
  namespace Icon = catalogue::StatusIcon;
  if (info.isProtected) return Icon::ProtectedJukeboxTrack;
  if (deviceKind == 1) return Icon::JukeboxTrack;
  return activeMemory != 0 ? Icon::NomadExternal : Icon::NomadInternal;
}

namespace {
std::string PositiveOrEmpty(int value) { return value > 0 ? std::to_string(value) : std::string(); }
}  // namespace

catalogue::TrackRecord MakeDeviceRow(const AudioInfo& info, int id, int deviceKind, int activeMemory,
                                     const catalogue::ColumnMap& map) {
  catalogue::TrackRecord row = catalogue::TrackRecord::ForPlayer();
  row.icon = PlayerTrackIcon(info, deviceKind, activeMemory);
  map.Set(row, Column::Album, info.album);
  map.Set(row, Column::Artist, info.artist);
  map.Set(row, Column::Title, info.title);
  map.Set(row, Column::Genre, info.genre);
  map.Set(row, Column::Comment, info.comment);
  map.Set(row, Column::Track, PositiveOrEmpty(info.trackNumber));
  map.Set(row, Column::Year, PositiveOrEmpty(info.year));
  map.Set(row, Column::Size, std::to_string(KilobytesHalfEven(info.fileSize)));
  map.Set(row, Column::Bitrate, PlayerBitrateText(info));
  map.Set(row, Column::Length, catalogue::FormatLength(info.length));
  map.Set(row, Column::Codec, info.codec);
  map.Set(row, Column::Filename, info.fileName);
  map.Set(row, Column::Path, deviceKind == 1 ? kJukeboxPathText : kNomadIIPathText);
  row.texts.Set(catalogue::kTrackIdSlot, std::to_string(id));
  row.texts.Set(catalogue::kPlayerLengthSlot, std::to_string(info.length));
  row.texts.Set(catalogue::kPlayerSizeSlot, std::to_string(info.fileSize));
  return row;
}

bool IsLoadedDeviceRow(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map) {
  return row.texts.size() >= static_cast<std::size_t>(catalogue::kPlayerRowSlots) && catalogue::IsPlayerRow(row, map);
}

int DeviceRowId(const catalogue::TrackRecord& row) {
  if (row.texts.size() < static_cast<std::size_t>(catalogue::kPlayerRowSlots)) return -1;
  const std::string_view text = row.texts[catalogue::kTrackIdSlot];
  int id = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  return error == std::errc() && end == text.data() + text.size() ? id : -1;
}

}  // namespace tonvault::device
