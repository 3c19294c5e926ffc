#include "device/playlists/PlaylistRows.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "catalogue/TextFormats.h"
#include "device/content/DeviceRow.h"

namespace tonvault::device {
namespace {

constexpr const char* kNotFound = "NOT FOUND";

long long NumberOf(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// "HH:mm:ss" (or any a:b:c) as seconds; texts without colons count as
// plain numbers.
long long DurationOf(const std::string& text) {
  long long total = 0, part = 0;
  for (char c : text) {
    if (c == ':') {
      total = total * 60 + part;
      part = 0;
    } else if (c >= '0' && c <= '9') {
      part = part * 10 + (c - '0');
    }
  }
  return total * 60 + part;
}

std::string PositiveText(int value) { return value > 0 ? std::to_string(value) : ""; }

int CodecIcon(const std::string& codec) {
  if (codec == "MP3") return kMp3TrackIcon;
  if (codec == "WMA") return catalogue::StatusIcon::Wma;
  if (codec == "WAV") return catalogue::StatusIcon::Wav;
  return -1;
}

using Key = std::function<bool(const ListRow&, const ListRow&)>;

Key TextKey(std::size_t text, long long (*value)(const std::string&)) {
  if (value == nullptr) return [text](const ListRow& a, const ListRow& b) { return a.texts[text] < b.texts[text]; };
  return [text, value](const ListRow& a, const ListRow& b) { return value(a.texts[text]) < value(b.texts[text]); };
}

void SortRows(std::vector<ListRow>& rows, catalogue::SortState& sort, int displayColumn, const Key& less) {
  sort.descending = sort.column == displayColumn && !sort.descending;
  sort.column = displayColumn;
  if (sort.descending) {
    std::stable_sort(rows.begin(), rows.end(), [&less](const ListRow& a, const ListRow& b) { return less(b, a); });
  } else {
    std::stable_sort(rows.begin(), rows.end(), less);
  }
}

Key IconKey() {
  return [](const ListRow& a, const ListRow& b) { return a.icon < b.icon; };
}

}  // namespace

ListRow MakePlaylistRow(const std::string& name, int tracks, int seconds, int id) {
  return {{name, std::to_string(tracks), catalogue::FormatLength(seconds), std::to_string(id)}, kPlaylistIcon, false};
}

ListRow MakeTrackRow(const std::optional<DeviceTrack>& track, int id) {
  if (!track) return {{"", kNotFound, kNotFound, "", kNotFound, "", "0", kNotFound, "0", "-2"}, -1, false};
  const DeviceTrack& t = *track;
  return {{t.title, t.artist, t.album, PositiveText(t.trackNumber), t.genre, PositiveText(t.year),
           catalogue::FormatLength(t.length), t.codec, std::to_string(KilobytesHalfEven(t.fileSize)),
           std::to_string(id)},
          CodecIcon(t.codec),
          false};
}

int RowId(const ListRow& row) {
  if (row.texts.empty()) return kUnknownId;
  const std::string& text = row.texts.back();
  int id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? id : kUnknownId;
}

std::optional<std::size_t> FirstSelected(const std::vector<ListRow>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].selected) return i;
  }
  return std::nullopt;
}

std::size_t CountSelectedRows(const std::vector<ListRow>& rows) {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [](const ListRow& r) { return r.selected; }));
}

void SelectOnly(std::vector<ListRow>& rows, std::size_t index) {
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].selected = i == index;
}

bool MoveRow(std::vector<ListRow>& rows, std::size_t from, std::size_t target) {
  if (from >= rows.size() || target >= rows.size() || from == target) return false;
  ListRow moved = std::move(rows[from]);
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(from));
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(target), std::move(moved));
  return true;
}

void ShuffleRows(std::vector<ListRow>& rows, std::mt19937& random) {
  if (rows.size() < 2) return;
  std::uniform_int_distribution<std::size_t> position(0, rows.size() - 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::size_t j = position(random);
    while (j == i) j = position(random);
    std::swap(rows[i], rows[j]);
  }
}

void SortPlaylistRows(std::vector<ListRow>& rows, catalogue::SortState& sort, int displayColumn) {
  const int text = displayColumn - 1;
  const Key less = displayColumn == 0                 ? IconKey()
                   : text == kPlaylistTracks          ? TextKey(kPlaylistTracks, NumberOf)
                   : text == kPlaylistLength          ? TextKey(kPlaylistLength, DurationOf)
                   : text >= 0 && text < kPlaylistId ? TextKey(static_cast<std::size_t>(text), nullptr)
                                                      : Key();
  if (less) SortRows(rows, sort, displayColumn, less);
}

void SortTrackRows(std::vector<ListRow>& rows, catalogue::SortState& sort, int displayColumn) {
  const int text = displayColumn - 1;
  const bool numeric = text == kTrackNumber || text == kTrackYear || text == kTrackFilesize;
  const Key less = displayColumn == 0           ? IconKey()
                   : numeric                    ? TextKey(static_cast<std::size_t>(text), NumberOf)
                   : text >= 0 && text < kTrackId ? TextKey(static_cast<std::size_t>(text), nullptr)
                                                 : Key();
  if (less) SortRows(rows, sort, displayColumn, less);
}

}  // namespace tonvault::device
