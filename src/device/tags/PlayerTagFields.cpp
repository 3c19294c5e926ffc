#include "device/tags/PlayerTagFields.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace tonvault::device {

using catalogue::Column;

int WholeNumberOr0(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

int TrackNumberOf(std::string_view text) { return WholeNumberOr0(text.substr(0, text.find('/'))); }

std::string PlayerCodecOf(std::string_view rowCodec) {
  if (rowCodec.find("L3") != std::string_view::npos || rowCodec.find("MP") != std::string_view::npos) return "MP3";
  if (rowCodec.find("WMA") != std::string_view::npos) return "WMA";
  if (rowCodec.find("WAV") != std::string_view::npos) return "WAV";
  return std::string(rowCodec);
}

int LengthTextSeconds(std::string_view text) {
  // "mm:ss" or "HH:mm:ss", each part a whole number.
  long long seconds = 0;
  int parts = 0;
  for (std::size_t start = 0; start <= text.size(); ++parts) {
    const std::size_t colon = std::min(text.find(':', start), text.size());
    const std::string_view part = text.substr(start, colon - start);
    int value = -1;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (parts == 3 || part.empty() || error != std::errc() || end != part.data() + part.size() || value < 0) return -1;
    seconds = seconds * 60 + value;
    start = colon + 1;
  }
  return parts < 2 ? -1 : static_cast<int>(seconds % 86400);
}

bool SameFileOnPlayer(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, const AudioInfo& info) {
  const std::int64_t bytes = static_cast<std::int64_t>(WholeNumberOr0(map.Get(row, Column::Size))) * 1024;
  if (std::llabs(bytes - info.fileSize) > kSizeTolerance) return false;
  const int length = LengthTextSeconds(map.Get(row, Column::Length));
  if (length < 0 || std::abs(length - info.length) > kLengthTolerance) return false;
  return PlayerCodecOf(map.Get(row, Column::Codec)) == info.codec;
}

namespace {

template <class T>
bool Take(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

std::string LowerCased(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return lower;
}

}  // namespace

TagChanges TakeRowTags(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, AudioInfo& info) {
  TagChanges changes;
  changes.genre = Take(info.genre, std::string(map.Get(row, Column::Genre)));
  changes.trackNumber = Take(info.trackNumber, TrackNumberOf(map.Get(row, Column::Track)));
  changes.year = Take(info.year, WholeNumberOr0(map.Get(row, Column::Year)));
  const std::string fileName = LowerCased(map.Get(row, Column::Filename));
  changes.fileName = LowerCased(info.fileName) != fileName;
  info.fileName = fileName;
  changes.bitrate = Take(info.bitrate, std::string(map.Get(row, Column::Bitrate)));
  changes.comment = Take(info.comment, std::string(map.Get(row, Column::Comment)));
  return changes;
}

}  // namespace tonvault::device
