#include "device/content/DeviceTrackTable.h"

#include <algorithm>

#include "catalogue/TextCase.h"

namespace tonvault::device {

std::string DeviceTrackTable::KeyOf(std::string_view artist, std::string_view title, std::string_view album) {
  // A separator that cannot occur in a tag text keeps "ab"+"c" apart from "a"+"bc".
  std::string key = catalogue::AsciiLower(artist);
  key += '\x1f';
  key += catalogue::AsciiLower(title);
  key += '\x1f';
  key += catalogue::AsciiLower(album);
  return key;
}

bool DeviceTrackTable::AddDeviceTrack(bool checkDuplicate, const AudioInfo& info, int id) {
  std::vector<std::size_t>& sameKey = byKey_[KeyOf(info.artist, info.title, info.album)];
  if (checkDuplicate && !sameKey.empty()) return false;
  // Storage grows geometrically: growing by a fixed step would copy the
  // whole table again every few entries on a large player.
  entries_.push_back(DeviceTrack{info.title, info.artist, info.album, info.trackNumber, info.length, info.fileSize,
                                 info.year, info.codec, info.genre, info.fileName, info.comment, info.bitrate,
                                 info.isProtected, id});
  sameKey.push_back(entries_.size() - 1);
  byId_.try_emplace(id, entries_.size() - 1);
  return true;
}

bool DeviceTrackTable::RemoveDeviceTrack(std::string_view artist, std::string_view title, std::string_view album) {
  const auto found = byKey_.find(KeyOf(artist, title, album));
  if (found == byKey_.end() || found->second.empty()) return false;
  return RemoveEntry(found->second.front());
}

bool DeviceTrackTable::RemoveEntry(std::size_t index) {
  if (index >= entries_.size()) return false;
  DeviceTrack& entry = entries_[index];
  const auto found = byKey_.find(KeyOf(entry.artist, entry.title, entry.album));
  // A removed entry is in no key's list any more.
  if (found == byKey_.end() || std::erase(found->second, index) == 0) return false;
  const int id = entry.id;
  entry.title.clear();
  entry.artist.clear();
  entry.album.clear();
  entry.id = -1;
  // Another live entry with the same ID (if any) now answers for it.
  const auto byId = byId_.find(id);
  if (byId != byId_.end() && byId->second == index) {
    byId_.erase(byId);
    for (std::size_t i = index + 1; i < entries_.size(); ++i) {
      if (entries_[i].id == id) {
        byId_.emplace(id, i);
        break;
      }
    }
  }
  return true;
}

int DeviceTrackTable::FindDeviceTrackId(std::string_view artist, std::string_view title, std::string_view album) const {
  const auto found = byKey_.find(KeyOf(artist, title, album));
  return found == byKey_.end() || found->second.empty() ? -1 : entries_[found->second.front()].id;
}

std::optional<DeviceTrack> DeviceTrackTable::GetDeviceTrack(int id) const {
  const auto found = byId_.find(id);
  if (found == byId_.end()) return std::nullopt;
  return entries_[found->second];
}

void DeviceTrackTable::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  byKey_.clear();
  byId_.clear();
}

}  // namespace tonvault::device
