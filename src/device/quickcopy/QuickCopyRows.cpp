#include "device/quickcopy/QuickCopyRows.h"

#include <algorithm>
#include <set>

#include "catalogue/FillRow.h"
#include "catalogue/TextCase.h"
#include "catalogue/TextFormats.h"
#include "device/content/DeviceRow.h"

namespace tonvault::device {

namespace {

constexpr const char* kAudioExtensions[] = {".mp2", ".mp3", ".wma", ".wav"};

// The extension as written ("" without one).
std::string ExtensionOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return name.substr(dot);
}

bool ContainsAny(const std::string& text) {
  return std::any_of(std::begin(kAudioExtensions), std::end(kAudioExtensions),
                     [&](const char* part) { return text.find(part) != std::string::npos; });
}

const std::string& GroupText(const DeviceTrack& track, QuickGroup group) {
  switch (group) {
    case QuickGroup::Albums: return track.album;
    case QuickGroup::Artists: return track.artist;
    case QuickGroup::Genres: break;
  }
  return track.genre;
}

// "." and the lower-cased codec.
std::string CodecExtension(const std::string& codec) {
  std::string extension(1, '.');
  extension += catalogue::AsciiLower(codec);
  return extension;
}

bool Live(const DeviceTrack& track) { return track.id >= 0; }

std::int64_t SizeNumber(const std::string& text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

QuickRow FolderRow(const std::string& name) {
  QuickRow row;
  row.icon = QuickIcon::Folder;
  row.texts[0] = name;
  row.folder = true;
  return row;
}

QuickRow SizedRow(const std::string& name, std::int64_t sizeKb, int icon) {
  QuickRow row;
  row.icon = icon;
  row.texts[0] = name;
  row.texts[static_cast<std::size_t>(QuickColumn::Size)] = catalogue::FormatThousands(sizeKb);
  return row;
}

bool IsDataFileName(const std::string& name) { return !ContainsAny(ExtensionOf(name)); }

bool SentAsAudio(const std::string& name) { return ContainsAny(catalogue::LowerExtension(name)); }

const char* GroupCaption(QuickGroup group) {
  switch (group) {
    case QuickGroup::Albums: return "Albums";
    case QuickGroup::Artists: return "Artists";
    case QuickGroup::Genres: break;
  }
  return "Genres";
}

std::string PlayerPathText(QuickLevel level, QuickGroup group, const std::string& name) {
  switch (level) {
    case QuickLevel::Data: return "NJB  -  Data-Files";
    case QuickLevel::Groups: return "NJB  -  Audio-Files";
    case QuickLevel::Names: return std::string("NJB  -  ") + GroupCaption(group);
    case QuickLevel::Tracks: break;
  }
  return std::string("NJB  -  ") + GroupCaption(group) + "  -  " + name;
}

int TrackIcon(bool isProtected, const std::string& extension) {
  if (isProtected) return QuickIcon::Protected;
  if (extension.find(".mp") != std::string::npos) return QuickIcon::Mpeg;
  if (extension.find(".wma") != std::string::npos) return QuickIcon::Wma;
  if (extension.find(".wav") != std::string::npos) return QuickIcon::Wav;
  if (extension.find(".nvf") != std::string::npos) return QuickIcon::Video;
  return QuickIcon::DataFile;
}

bool InGroup(const DeviceTrack& track, QuickGroup group, const std::string& name) {
  return Live(track) && GroupText(track, group) == name;
}

std::vector<QuickRow> GroupRows() {
  return {FolderRow("Albums"), FolderRow("Artists"), FolderRow("Genres")};
}

std::vector<QuickRow> NameRows(const DeviceTrackTable& table, QuickGroup group) {
  std::set<std::string> names;
  for (const DeviceTrack& track : table.Entries()) {
    if (Live(track) && !GroupText(track, group).empty()) names.insert(GroupText(track, group));
  }
  std::vector<QuickRow> rows;
  for (const std::string& name : names) rows.push_back(FolderRow(name));
  return rows;
}

std::vector<QuickRow> TrackRows(const DeviceTrackTable& table, QuickGroup group, const std::string& name) {
  std::vector<QuickRow> rows;
  for (const DeviceTrack& track : table.Entries()) {
    if (!InGroup(track, group, name)) continue;
    const std::string extension =
        group == QuickGroup::Artists ? catalogue::LowerExtension(track.fileName) : CodecExtension(track.codec);
    QuickRow row = SizedRow(track.fileName, KilobytesHalfEven(track.fileSize), TrackIcon(track.isProtected, extension));
    row.texts[1] = track.title, row.texts[2] = track.artist, row.texts[3] = track.album;
    row.texts[4] = catalogue::FormatLength(track.length);
    row.id = track.id;
    rows.push_back(std::move(row));
  }
  return rows;
}

bool DataRow(const DataInfo& info, bool jukebox, QuickRow& row) {
  if (!jukebox && catalogue::LowerExtension(info.fileName) == ".aux") return false;
  row = SizedRow(info.fileName, KilobytesHalfEven(info.fileSize), QuickIcon::DataFile);
  row.id = info.id;
  row.bytes = info.fileSize;
  return true;
}

std::vector<int> TrackIdsOf(const DeviceTrackTable& table, QuickGroup group, const std::string& name) {
  std::vector<int> ids;
  for (const DeviceTrack& track : table.Entries()) {
    if (InGroup(track, group, name)) ids.push_back(track.id);
  }
  return ids;
}

void SortQuickRows(std::vector<QuickRow>& rows, int displayColumn, bool ascending) {
  const auto less = [displayColumn](const QuickRow& a, const QuickRow& b) {
    if (displayColumn <= 0) return a.icon < b.icon;
    const auto column = static_cast<std::size_t>(displayColumn - 1);
    if (column >= kQuickTextColumns) return false;
    if (column == static_cast<std::size_t>(QuickColumn::Size)) return SizeNumber(a.texts[column]) < SizeNumber(b.texts[column]);
    return a.texts[column] < b.texts[column];
  };
  if (ascending) {
    std::stable_sort(rows.begin(), rows.end(), less);
  } else {
    std::stable_sort(rows.begin(), rows.end(), [&](const QuickRow& a, const QuickRow& b) { return less(b, a); });
  }
}

}  // namespace tonvault::device
