#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "device/DeviceTypes.h"

namespace tonvault::device {

// One track of the player as the table keeps it.
struct DeviceTrack {
  std::string title, artist, album;
  int trackNumber = 0;
  int length = 0;
  std::int64_t fileSize = 0;
  int year = 0;
  std::string codec, genre, fileName, comment;
  std::string bitrate;
  bool isProtected = false;
  int id = -1;
  // Working columns of the synchronisation: a mark and a number it keeps.
  bool syncFlag = false;
  int syncValue = 0;

  bool operator==(const DeviceTrack&) const = default;
};

// Every track on the player, looked up by artist, title and album (compared
// lower-cased) or by ID. Entries are appended; a removed entry keeps its
// place with its names emptied and ID -1. Where several entries share a key
// or an ID, the first one answers.
class DeviceTrackTable {
 public:
  // False only when `checkDuplicate` is set and an entry with the same key
  // exists (nothing is added then).
  bool AddDeviceTrack(bool checkDuplicate, const AudioInfo& info, int id);
  // Clears the first entry with this key; false when there is none.
  bool RemoveDeviceTrack(std::string_view artist, std::string_view title, std::string_view album);
  // Clears the entry at `index` (one of several with the same key, say);
  // false when it is out of range or already removed.
  bool RemoveEntry(std::size_t index);
  // The ID of the first entry with this key, or -1.
  int FindDeviceTrackId(std::string_view artist, std::string_view title, std::string_view album) const;
  std::optional<DeviceTrack> GetDeviceTrack(int id) const;
  bool HasDeviceTrack(int id) const { return byId_.contains(id); }

  void Clear();
  // Entries, removed ones included.
  std::size_t Size() const { return entries_.size(); }
  std::vector<DeviceTrack>& Entries() { return entries_; }
  const std::vector<DeviceTrack>& Entries() const { return entries_; }

  // The player's content changed in a way the table did not follow: its
  // users rebuild it before the next look-up. Set at start.
  bool DeviceTableStale() const { return stale_; }
  void SetDeviceTableStale(bool stale) { stale_ = stale; }

 private:
  static std::string KeyOf(std::string_view artist, std::string_view title, std::string_view album);

  bool stale_ = true;
  std::vector<DeviceTrack> entries_;
  // Key → indices of the live entries with it, in the order they were added.
  std::unordered_map<std::string, std::vector<std::size_t>> byKey_;
  // ID → index of the first live entry with it.
  std::unordered_map<int, std::size_t> byId_;
};

}  // namespace tonvault::device
