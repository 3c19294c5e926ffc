#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"
#include "device/DeviceTypes.h"

namespace tonvault::device {

// What the player shows for a missing artist or album, and for no genre.
inline constexpr const char* kUnknownName = "<Unknown>";
inline constexpr const char* kNoGenreName = "(None)";

// How far a catalogue row may stand from a player track and still be the
// same file: its size (kB × 1024) in bytes and its length in seconds.
inline constexpr std::int64_t kSizeTolerance = 1535;
inline constexpr int kLengthTolerance = 9;

// A whole decimal number, or 0 when `text` is empty or not a number.
int WholeNumberOr0(std::string_view text);
// A Track text as a number: "3/12" (track of a set) is 3.
int TrackNumberOf(std::string_view text);

// The player's codec name for a row's Codec text: "MP3" for MPEG layer 3
// ("L3") or any "MP" text, else "WMA" or "WAV" where the text holds them,
// else the text itself.
std::string PlayerCodecOf(std::string_view rowCodec);

// A Length text ("HH:mm:ss") as seconds of the day, or -1 when it does not
// read as a time.
int LengthTextSeconds(std::string_view text);

// Whether `row` describes the file the player keeps as `info`: size, length
// and codec within the tolerances.
bool SameFileOnPlayer(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, const AudioInfo& info);

// Which of the player's fields a catalogue row changes.
struct TagChanges {
  bool genre = false, trackNumber = false, year = false, fileName = false, bitrate = false, comment = false;
  bool Any() const { return genre || trackNumber || year || fileName || bitrate || comment; }
};

// Sets Genre, TrackNumber, Year, FileName (lower-cased), Bitrate and Comment
// of `info` from `row` and reports which of them differed. Title, artist and
// album are the key of the match and stay.
TagChanges TakeRowTags(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, AudioInfo& info);

}  // namespace tonvault::device
