#pragma once

#include <cstdint>
#include <string>

#include "audio/ByteSource.h"

namespace tonvault::audio {

inline constexpr std::int64_t kId3v1Size = 128;

// An ID3v1 tag as read from the last 128 bytes of a file. Texts are UTF-8.
struct Id3v1Tag {
  bool present = false;
  int version = 0;  // 10 for ID3v1.0, 11 for ID3v1.1, 0 without a tag
  std::string title, artist, album, comment, year;
  int track = -1;  // 1..255 for ID3v1.1, else -1
  int genre = 255;
  std::int64_t fileSize = 0;
};

// Reads the tag; an unreadable or short file simply has none.
Id3v1Tag ReadId3v1Tag(ByteSource* source);
Id3v1Tag ReadId3v1Tag(const std::string& path);

// What to write. Texts are UTF-8 and are stored in the legacy code page; the field
// widths count the converted bytes.
struct Id3v1Fields {
  std::string title, artist, album, comment, year;
  int genre = 255;
  int track = 0;
};

struct Id3v1WriteResult {
  bool ok = true;
  std::string message;  // why not, for the user
};

// Writes the tag (overwriting an existing one, else appending it) or, with
// `remove`, cuts an existing tag off. `keepFileDate` restores the file's
// modification time afterwards. A file the user may not write and a file
// that is not MPEG audio are refused and left as they are.
Id3v1WriteResult WriteId3v1Tag(const std::string& path, const Id3v1Fields& fields, bool remove, bool keepFileDate);

// The 128 bytes of a tag with these fields, always in the ID3v1.1 layout.
std::string EncodeId3v1Tag(const Id3v1Fields& fields);

// The message shown when the tag cannot be written.
std::string CannotWriteFileText(const std::string& fileName);

}  // namespace tonvault::audio
