#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/FileError.h"

namespace tonvault::device {

// A track of a playlist file: it is found on the player again by these
// three texts alone.
struct PlaylistFileTrack {
  std::string title, artist, album;
  bool operator==(const PlaylistFileTrack&) const = default;
};

// A playlist file (.TVP): line 1 the playlist's name, then per track a
// group of four lines: an empty line, the title, the artist and the album.
struct PlaylistFileContent {
  std::string name;
  std::vector<PlaylistFileTrack> tracks;
};

// The file's bytes: UTF-8 with a byte-order mark, lines ending in CR LF.
// Line feeds in the texts are dropped and carriage returns become " - ",
// so every text stays on its line.
std::string EncodePlaylistFile(const PlaylistFileContent& content);

// Reads the bytes of a playlist file, UTF-8 (with or without a byte-order
// mark) or else Windows-1252. (lines - 1) / 4 tracks are taken, the first
// line of each group ignored; a file of fewer than 5 lines has no tracks.
PlaylistFileContent DecodePlaylistFile(std::string bytes);

// Writes the file, replacing an existing one atomically.
files::FileStatus WritePlaylistFile(const std::string& path, const PlaylistFileContent& content);
// Reads the file; files larger than 64 MB are refused.
files::FileStatus ReadPlaylistFile(const std::string& path, PlaylistFileContent& content);

// The file name a playlist is saved under: its name with every character a
// file name cannot hold replaced by `substitute`, and ".TVP".
std::string PlaylistFileName(std::string_view name, std::string_view substitute);

}  // namespace tonvault::device
