#include "device/sync/SyncValues.h"

#include <algorithm>

#include "catalogue/TextCase.h"
#include "device/content/DeviceRow.h"
#include "device/tags/PlayerTagFields.h"
#include "views/TextsMatch.h"

namespace tonvault::device {

using catalogue::Column;

namespace {

constexpr const char* kUnknown = "<Unknown>";

std::string OrDefault(std::string_view text, std::string_view fallback) {
  return std::string(text.empty() ? fallback : text);
}

std::string_view WithoutExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string ReducedCodec(std::string_view codec) {
  if (codec.find("MP3") != std::string_view::npos || codec.find("M1") != std::string_view::npos ||
      codec.find("M2") != std::string_view::npos) {
    return "MP3";
  }
  if (codec.find("WMA") != std::string_view::npos) return "WMA";
  if (codec.find("WAV") != std::string_view::npos) return "WAV";
  return std::string(codec);
}

bool Within(std::int64_t a, std::int64_t b, int tolerance) { return (a > b ? a - b : b - a) <= tolerance; }

void AddPart(std::string& key, std::string_view part) {
  key += std::to_string(part.size());
  key += ':';
  key.append(part);
}

// The key part of a text criterion in an equality mode; false for the
// similarity modes, which have none.
bool AddTextPart(std::string& key, std::string_view text, int mode) {
  if (mode != 0 && mode != 1) return false;
  AddPart(key, views::EqualityKey(text, mode));
  return true;
}

}  // namespace

SyncValues PcValues(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, bool reduceCodec) {
  SyncValues v;
  v.album = OrDefault(map.Get(row, Column::Album), kUnknown);
  v.artist = OrDefault(map.Get(row, Column::Artist), kUnknown);
  v.fileName = std::string(map.Get(row, Column::Filename));
  v.title = OrDefault(map.Get(row, Column::Title), WithoutExtension(v.fileName));
  v.genre = OrDefault(map.Get(row, Column::Genre), kNoGenreName);
  v.comment = std::string(map.Get(row, Column::Comment));
  v.codec = reduceCodec ? ReducedCodec(map.Get(row, Column::Codec)) : std::string(map.Get(row, Column::Codec));
  v.track = TrackNumberOf(map.Get(row, Column::Track));
  v.year = WholeNumberOr0(map.Get(row, Column::Year));
  v.sizeKb = WholeNumberOr0(map.Get(row, Column::Size));
  v.length = std::max(LengthTextSeconds(map.Get(row, Column::Length)), 0);
  return v;
}

SyncValues PlayerValues(const DeviceTrack& track) {
  SyncValues v;
  // A track the program sent never has these empty; one a folder player
  // found on its card may, and takes the same stand-ins as a catalogue row.
  v.album = OrDefault(track.album, kUnknown), v.artist = OrDefault(track.artist, kUnknown);
  v.fileName = track.fileName, v.title = OrDefault(track.title, WithoutExtension(track.fileName));
  v.genre = OrDefault(track.genre, kNoGenreName), v.comment = track.comment, v.codec = track.codec;
  v.track = track.trackNumber, v.year = track.year, v.length = track.length;
  v.sizeKb = KilobytesHalfEven(track.fileSize);
  return v;
}

bool ValuesMatch(const SyncValues& pc, const SyncValues& player, const catalogue::SyncOptions& o) {
  using views::TextsMatch;
  return (!o.album || TextsMatch(pc.album, player.album, o.albumMode)) &&
         (!o.artist || TextsMatch(pc.artist, player.artist, o.artistMode)) &&
         (!o.title || TextsMatch(pc.title, player.title, o.titleMode)) &&
         (!o.fileName || TextsMatch(pc.fileName, player.fileName, o.fileNameMode)) &&
         (!o.track || pc.track == player.track) && (!o.length || Within(pc.length, player.length, o.lengthTolerance)) &&
         (!o.fileSize || Within(pc.sizeKb, player.sizeKb, o.fileSizeTolerance)) &&
         (!o.codec || pc.codec == player.codec) && (!o.genre || pc.genre == player.genre) &&
         (!o.year || pc.year == player.year) && (!o.comment || pc.comment == player.comment);
}

std::string ExactKey(const SyncValues& v, const catalogue::SyncOptions& o) {
  std::string key;
  bool any = false;
  if (o.album) any |= AddTextPart(key, v.album, o.albumMode);
  if (o.artist) any |= AddTextPart(key, v.artist, o.artistMode);
  if (o.title) any |= AddTextPart(key, v.title, o.titleMode);
  if (o.fileName) any |= AddTextPart(key, v.fileName, o.fileNameMode);
  if (o.genre) any |= AddTextPart(key, v.genre, 0);
  if (o.comment) any |= AddTextPart(key, v.comment, 0);
  if (o.codec) any |= AddTextPart(key, v.codec, 0);
  const std::pair<bool, std::int64_t> numbers[] = {{o.track, v.track},
                                                   {o.year, v.year},
                                                   {o.length && o.lengthTolerance == 0, v.length},
                                                   {o.fileSize && o.fileSizeTolerance == 0, v.sizeKb}};
  for (const auto& [checked, value] : numbers) {
    if (!checked) continue;
    AddPart(key, std::to_string(value));
    any = true;
  }
  return any ? key : std::string();
}

}  // namespace tonvault::device
