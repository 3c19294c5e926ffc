#pragma once

#include <cstdint>

#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"
#include "device/DeviceTypes.h"

namespace tonvault::device {

// Path texts of player rows: a Jukebox track, a Nomad II track.
inline constexpr const char* kJukeboxPathText = "--- NJB ---";
inline constexpr const char* kNomadIIPathText = "--- N II ---";

// Size in kilobytes as a player row shows it: bytes / 1024 rounded to the
// nearest whole number, a tie to the even one.
std::int64_t KilobytesHalfEven(std::int64_t bytes);

// The Bitrate text of a player row: worked out from size and length when
// the player gives a length but no bitrate, otherwise the player's text, or
// "0" when there is neither.
std::string PlayerBitrateText(const AudioInfo& info);

// The status icon of a player track: a Jukebox track, or a Nomad II track in
// the internal or external memory (`activeMemory` 0 or 1); a protected track
// has its own icon on either player.
int PlayerTrackIcon(const AudioInfo& info, int deviceKind, int activeMemory);

// A row of FILES for one track of the player (`deviceKind` 1 Jukebox, 2
// Nomad II): the columns through `map`, slot 16 the track's ID, slot 17 the
// length in seconds, slot 18 the size in bytes.
catalogue::TrackRecord MakeDeviceRow(const AudioInfo& info, int id, int deviceKind, int activeMemory,
                                     const catalogue::ColumnMap& map);

// Whether the player can still act on a row: it has the player's slots (a
// row loaded from a catalogue file has not) and a player Path.
bool IsLoadedDeviceRow(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map);

// The track ID in slot 16 of a loaded player row, or -1.
int DeviceRowId(const catalogue::TrackRecord& row);

}  // namespace tonvault::device
