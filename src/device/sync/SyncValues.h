#pragma once

#include <cstdint>
#include <string>

#include "catalogue/ColumnMap.h"
#include "catalogue/Options.h"
#include "catalogue/TrackRecord.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// What the compare reads of one side, a catalogue row or a player track.
struct SyncValues {
  std::string album, artist, title, fileName, genre, comment, codec;
  int track = 0;
  int year = 0;
  std::int64_t length = 0;  // seconds
  std::int64_t sizeKb = 0;
};

// The values of a FILES row: an empty Album or Artist is "<Unknown>", an
// empty Title the file name without its extension, an empty Genre "(None)".
// With `reduceCodec` the Codec text becomes "MP3", "WMA" or "WAV" where it
// names one of them.
SyncValues PcValues(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map, bool reduceCodec);

// The values of a player track, with the same stand-ins for empty texts;
// its size in kB rounded half to even.
SyncValues PlayerValues(const DeviceTrack& track);

// Whether a catalogue row and a player track match under every checked
// criterion of `options` (the pairwise definition).
bool ValuesMatch(const SyncValues& pc, const SyncValues& player, const catalogue::SyncOptions& options);

// A key that two sides share whenever they match: built from the checked
// criteria that compare for equality (texts in "Case sen." or "Case insen.",
// track, year, codec, genre, comment, and length and size without
// tolerance). Empty when no such criterion is checked.
std::string ExactKey(const SyncValues& values, const catalogue::SyncOptions& options);

}  // namespace tonvault::device
