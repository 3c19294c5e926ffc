#include "device/content/DeviceRow.h"

#include <algorithm>
#include <array>
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
  // The texts are gathered by slot and set at once: setting slots one by
  // one would rebuild the row's block each time.
  std::array<std::string, catalogue::kPlayerRowSlots> texts;
  const auto put = [&](Column column, std::string text) {
    texts[static_cast<std::size_t>(map.SlotOf(column))] = std::move(text);
  };
  put(Column::Album, info.album);
  put(Column::Artist, info.artist);
  put(Column::Title, info.title);
  put(Column::Genre, info.genre);
  put(Column::Comment, info.comment);
  put(Column::Track, PositiveOrEmpty(info.trackNumber));
  put(Column::Year, PositiveOrEmpty(info.year));
  put(Column::Size, std::to_string(KilobytesHalfEven(info.fileSize)));
  put(Column::Bitrate, PlayerBitrateText(info));
  put(Column::Length, catalogue::FormatLength(info.length));
  put(Column::Codec, info.codec);
  put(Column::Filename, info.fileName);
  put(Column::Path, deviceKind == 1 ? kJukeboxPathText : kNomadIIPathText);
  texts[catalogue::kTrackIdSlot] = std::to_string(id);
  texts[catalogue::kPlayerLengthSlot] = std::to_string(info.length);
  texts[catalogue::kPlayerSizeSlot] = std::to_string(info.fileSize);
  std::array<std::string_view, catalogue::kPlayerRowSlots> views;
  std::copy(texts.begin(), texts.end(), views.begin());
  catalogue::TrackRecord row;
  row.icon = PlayerTrackIcon(info, deviceKind, activeMemory);
  row.texts.Assign(views);
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
