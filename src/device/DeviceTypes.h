#pragma once

#include <array>
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
  std::int64_t audioKb = 0;  // taken by the audio tracks
  std::int64_t dataKb = 0;   // taken by the data files
};

// What the About box and the headless tool say about a player.
struct DeviceInfo {
  std::string backend;   // "folder player", "simulated player", "libnjb"
  std::string version;   // of the backend
  std::string name;      // the player found: its model or folder
  int kind = 0;          // kKindJukebox or kKindNomadII
  std::string firmware;  // where the player tells it
  std::string hardware;      // hardware version, where the player tells it
  std::string serialNumber;  // where the player tells it
  int powerSource = -1;      // kPowerBattery, kPowerExternal, kPowerCharging; -1 unknown
};

// --- owner, clock and presets ---

// Where the player takes its power from (DeviceInfo::powerSource).
inline constexpr int kPowerBattery = 0;
inline constexpr int kPowerExternal = 1;
inline constexpr int kPowerCharging = 3;

// The player's clock: a date and a time of day, without a time zone.
struct PlayerDateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;

  bool operator==(const PlayerDateTime&) const = default;
};

// A sound format the player can play.
struct SoundFormat {
  std::string codec;
  int maxSampleRate = 0;  // Hz
  int channels = 0;
};

// The radio presets of a Nomad II: 32 frequencies in units of 10 kHz
// (MHz x 100).
inline constexpr int kFmPresetCount = 32;
using FmPresets = std::array<int, kFmPresetCount>;

// --- playback ---

// The sound settings of a Jukebox. Sliders hold a value (EaxAmount and
// Volume 0..100 percent, Bass, Midrange and Treble -12..12 dB, EqActive 0
// or 1); choices hold the index of one of their texts.
enum class SoundSetting {
  EaxEffect,      // choice: the environmental effect
  EaxAmount,      // slider
  Volume,         // slider
  Bass,           // slider
  Midrange,       // slider
  Treble,         // slider
  MidFrequency,   // choice: the texts are frequencies in Hz
  EqActive,       // on or off
  HeadphoneMode,  // choice
  SpeakerMode,    // choice
};

// PlayerMode values the events report.
inline constexpr int kModeStopped = 1;
inline constexpr int kModePlaying = 5;
inline constexpr int kModePaused = 6;

}  // namespace tonvault::device
