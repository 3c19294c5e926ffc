#pragma once

#include <cstdint>
#include <string>

namespace tonvault::device {

// The kinds a player reports (GetDeviceKind, CountDevices).
inline constexpr int kKindJukebox = 8;
inline constexpr int kKindNomadII = 4;

// What the player keeps about a track. Texts are UTF-8.
struct AudioInfo {
  std::string album, artist, title, genre, comment;
  std::string codec;    // "MP3", "WMA", "WAV"
  std::string bitrate;  // kbit/s as text
  std::string fileName;
  std::int64_t fileSize = 0;  // bytes
  int length = 0;             // seconds
  int trackNumber = 0;
  int year = 0;
  bool isProtected = false;
  int id = 0;  // given by the player, read only

  bool operator==(const AudioInfo&) const = default;
};

// A data (non-audio) file on the player.
struct DataInfo {
  std::string fileName;
  std::int64_t fileSize = 0;
  int id = 0;

  bool operator==(const DataInfo&) const = default;
};

// The player's disk, in kilobytes.
struct StorageInfo {
  std::int64_t totalKb = 0;
  std::int64_t freeKb = 0;
  int tracks = 0;
  int dataFiles = 0;
};

// What the About box and the headless tool say about a player.
struct DeviceInfo {
  std::string backend;   // "folder player", "simulated player", "libnjb"
  std::string version;   // of the backend
  std::string name;      // the player found: its model or folder
  int kind = 0;          // kKindJukebox or kKindNomadII
  std::string firmware;  // where the player tells it
};

}  // namespace tonvault::device
