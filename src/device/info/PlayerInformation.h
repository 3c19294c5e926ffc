#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"

namespace tonvault::device {

// What the player told about itself at the last refresh, as the page shows
// it. A field the player cannot report shows kNotSupportedText.
struct PlayerInformationTexts {
  std::string owner;
  PlayerDateTime clock;
  bool clockKnown = false;  // the player told its clock
  std::string libraryVersion, serialNumber, firmware, hardware, deviceName, powerSource;
  std::string totalBytes, totalMBytes, freeBytes, freeMBytes;
  int usedPercent = 0;
  std::string audioLine, dataLine, playlistLine;
  std::string formats;  // one line per format, joined with "\n\r"
  bool fmShown = false;
  FmPresets presets{};
};

inline constexpr const char* kNotSupportedText = "Not supported";

// The power source as the page names it.
std::string PowerSourceText(int source);
// Sizes in kilobytes as the storage lines show them: "1.234  MBytes".
std::string MBytesText(std::int64_t kilobytes);
// The lines of the storage counts.
std::string AudioLine(const StorageInfo& storage);
std::string DataLine(const StorageInfo& storage);
std::string PlaylistLine(int playlists, int tracks);

// Counts the playlists on the player and the tracks in them; a player
// without playlists answers kNotSupported.
Status CountPlaylists(Device& device, int& playlists, int& tracks);

// The player's own settings and information: the refresh of the page, the
// owner and clock, the radio presets of a Nomad II and formatting its
// memory. Each read or write step reports its own error and ends the
// remaining steps; a step the player cannot do at all is shown as such and
// the others go on.
class PlayerInformation {
 public:
  PlayerInformation(catalogue::Application& app, DeviceSession& session, PlayerContent& content);

  // Reads the sound settings of the player page (a Jukebox); kOk when every
  // read succeeded. Unset: nothing to read.
  std::function<Status()> readSoundSettings;
  // Counts the playlists on the player and the tracks in them
  // (CountPlaylists unless a test sets another).
  std::function<Status(Device& device, int& playlists, int& tracks)> countPlaylists = CountPlaylists;
  // The computer's date and time ("Sync with &PC"); local time by default.
  std::function<PlayerDateTime()> pcClock;

  // "&Load / Refresh", and opening the page.
  void Refresh();
  // "&Save": the owner name, then the clock.
  void Save(const std::string& owner, const PlayerDateTime& clock);
  // "Sync with &PC": the computer's clock, then the owner name. The page
  // shows the clock sent.
  void SyncWithPc(const std::string& owner);
  // "Save F&M".
  void SaveFm(const FmPresets& presets);
  // "&Format Nomad II": the memory chosen, after a question.
  void FormatNomadII();

  const PlayerInformationTexts& Texts() const { return texts_; }
  // The free space of the last refresh, in MB.
  std::int64_t RememberedFreeMb() const { return freeMb_; }

 private:
  // Whether a step may fill its fields: kOk. A player that cannot do it
  // leaves the session ready; any other failure shows `error` and ends the
  // remaining steps.
  bool Step(Status status, const char* error);
  bool Ready() const { return session_.DeviceReady(); }
  void ReadOwnerAndClock(Device& device);
  void ReadDeviceInfo(Device& device);
  void ReadSpace(Device& device);
  void ReadFormats(Device& device);
  void ReadCounts(Device& device);
  void ReadPresets(Device& device);
  void Write(const std::string& owner, const PlayerDateTime& clock, bool clockFirst);

  catalogue::Application& app_;
  DeviceSession& session_;
  PlayerContent& content_;
  PlayerInformationTexts texts_;
  std::int64_t freeMb_ = 0;
};

}  // namespace tonvault::device
