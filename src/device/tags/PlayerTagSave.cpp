#include "device/tags/PlayerTagSave.h"

#include <charconv>
#include <ctime>

#include "catalogue/Frontend.h"
#include "device/content/DeviceRow.h"
#include "device/tags/PlayerTagFields.h"

namespace tonvault::device {

using catalogue::Button;
using catalogue::Column;
using catalogue::MessageKind;
using catalogue::Sound;
using catalogue::TrackRecord;

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
  return text;
}

std::int64_t SlotNumber(const TrackRecord& row, int slot) {
  const std::string_view text = row.texts[slot];
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

AudioInfo InfoOf(const TrackRecord& row, const catalogue::ColumnMap& map, const PlayerTagValues& values) {
  AudioInfo info;
  info.album = values.album;
  info.artist = values.artist;
  info.title = values.title;
  info.genre = values.genre;
  info.comment = values.comment;
  info.trackNumber = TrackNumberOf(values.track);
  info.year = WholeNumberOr0(values.year);
  info.length = static_cast<int>(SlotNumber(row, catalogue::kPlayerLengthSlot));
  info.fileSize = SlotNumber(row, catalogue::kPlayerSizeSlot);
  info.codec = map.Get(row, Column::Codec);
  info.bitrate = map.Get(row, Column::Bitrate);
  info.fileName = map.Get(row, Column::Filename);
  info.isProtected = row.icon == catalogue::StatusIcon::ProtectedJukeboxTrack;
  return info;
}

void ShowError(catalogue::Application& app, const std::string& text) {
  catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error, text, {Button::Ok});
}

std::string DuplicateText(const PlayerTagValues& values) {
  return "A file with\n\r\rAlbum:\t" + values.album + "\n\r" + "Artist:\t" + values.artist + "\n\r" +
         "Title:\t" + values.title + "\n\r\r" + "already exists on NJB";
}

void WriteFields(TrackRecord& row, const catalogue::ColumnMap& map, const PlayerTagValues& values) {
  map.Set(row, Column::Title, values.title);
  map.Set(row, Column::Artist, values.artist);
  map.Set(row, Column::Album, values.album);
  map.Set(row, Column::Year, values.year);
  map.Set(row, Column::Comment, values.comment);
  map.Set(row, Column::Track, values.track);
  map.Set(row, Column::Genre, values.genre);
}

// Sends the new values; the table follows when the player took them.
bool WriteToPlayer(catalogue::Application& app, DeviceSession& session, DeviceTrackTable& table,
                   const TrackRecord& row, int id, const AudioInfo& info) {
  if (session.CurrentDevice().SetTrackInfo(id, info) != kOk) {
    ShowError(app, "Problem changing Tags on NJB");
    return false;
  }
  session.PauseDevice();
  const auto& map = app.columnMap;
  table.RemoveDeviceTrack(map.Get(row, Column::Artist), map.Get(row, Column::Title), map.Get(row, Column::Album));
  table.AddDeviceTrack(true, info, id);
  return true;
}

}  // namespace

void CompletePlayerTagValues(PlayerTagValues& values) {
  for (std::string* value : {&values.title, &values.artist, &values.album, &values.year, &values.comment,
                             &values.track, &values.genre}) {
    *value = Trimmed(*value);
  }
  if (values.title.empty()) values.title = NowText();
  if (values.album.empty()) values.album = kUnknownName;
  if (values.artist.empty()) values.artist = kUnknownName;
  if (values.genre.empty()) values.genre = kNoGenreName;
}

bool SavePlayerTags(catalogue::Application& app, DeviceSession& session, PlayerContent& content,
                    catalogue::ListId source, std::size_t rowIndex, PlayerTagValues& values) {
  auto& rows = catalogue::Rows(app, source);
  if (rowIndex >= rows.size() || DeviceRowId(rows[rowIndex]) <= 0) return session.DeviceReady();
  if (!session.DeviceReady()) session.SetDeviceReady(session.StartDevice(true));
  if (!session.DeviceReady() || !content.EnsureDeviceTable()) return false;

  TrackRecord& row = rows[rowIndex];
  const int rowId = DeviceRowId(row);
  CompletePlayerTagValues(values);
  const AudioInfo info = InfoOf(row, app.columnMap, values);
  const int found = content.Table().FindDeviceTrackId(info.artist, info.title, info.album);
  bool ready = false;
  if (found == -1 || found == rowId) {
    ready = WriteToPlayer(app, session, content.Table(), row, rowId, info);
  } else {
    ShowError(app, DuplicateText(values));
  }
  session.SetDeviceReady(ready);
  if (!ready) return false;

  auto& others = catalogue::Rows(app, source == catalogue::ListId::Files ? catalogue::ListId::Results
                                                                         : catalogue::ListId::Files);
  const std::ptrdiff_t twin = catalogue::FindEqualRow(others, row);
  WriteFields(row, app.columnMap, values);
  if (twin >= 0) WriteFields(others[static_cast<std::size_t>(twin)], app.columnMap, values);
  app.filesSort.Clear();
  app.resultsSort.Clear();
  catalogue::FilesChanged(app);
  app.frontend.ListsChanged();
  return true;
}

}  // namespace tonvault::device
