#pragma once

#include <cstddef>
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
// How many tracks DecodePlaylistFile takes from `bytes`, counted without
// taking the file apart.
std::size_t CountPlaylistFileTracks(std::string_view bytes);

// The largest playlist file read: 10 MB.
inline constexpr std::size_t kMaxPlaylistFileBytes = std::size_t{10} << 20;

enum class PlaylistFileRead {
  Read,        // the content was read
  Unreadable,  // missing, not a regular file, or a read error
  TooLarge,    // more than kMaxPlaylistFileBytes or more than kMaxPlaylistTracks tracks
};

// Writes the file, replacing an existing one atomically.
files::FileStatus WritePlaylistFile(const std::string& path, const PlaylistFileContent& content);
// Reads the file into `content`. A file larger than kMaxPlaylistFileBytes
// is refused before it is read, one with more than kMaxPlaylistTracks
// tracks before they are taken apart; `content` is then left as it was.
PlaylistFileRead ReadPlaylistFile(const std::string& path, PlaylistFileContent& content);

// The file name a playlist is saved under: its name with every character a
// file name cannot hold replaced by `substitute`, and ".TVP".
std::string PlaylistFileName(std::string_view name, std::string_view substitute);

}  // namespace tonvault::device
