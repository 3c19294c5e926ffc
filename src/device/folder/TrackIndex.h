#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "device/DeviceTypes.h"

namespace tonvault::device {

// One track of a player folder: where its file lies (relative to the
// player's root) and what the player keeps about it.
struct IndexedTrack {
  std::string relativePath;
  AudioInfo info;
};

struct IndexedDataFile {
  std::string relativePath;
  DataInfo info;
};

// The library of a player folder: every track and data file by its ID.
// IDs are never reused: `nextId` only grows.
struct TrackIndex {
  std::map<int, IndexedTrack> tracks;
  std::map<int, IndexedDataFile> dataFiles;
  int nextId = 1;

  int TakeId() { return nextId++; }
};

// The index as text: a header line, one line per entry with tab-separated,
// escaped fields, and an end line with the number of entries, so a cut-off
// file is noticed.
std::string FormatTrackIndex(const TrackIndex& index);

// Reads the text FormatTrackIndex writes; nothing when it is damaged in
// any way (wrong header, a malformed line, a missing or wrong end line,
// duplicate IDs), which makes the caller rebuild it from the files.
std::optional<TrackIndex> ParseTrackIndex(const std::string& text);

// What can still be read of a damaged index: every well-formed entry line
// (the first of two with one ID), and a next ID above every ID found. A
// rebuild keeps these IDs for the files it finds again.
TrackIndex SalvageTrackIndex(const std::string& text);

// A text field of the library's files with backslash, tab, line feed and
// carriage return escaped, and back (nothing for a malformed escape).
std::string EscapeLibraryField(std::string_view text);
std::optional<std::string> UnescapeLibraryField(std::string_view text);

}  // namespace tonvault::device
