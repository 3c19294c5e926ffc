#pragma once

#include <string>
#include <vector>

#include "audio/Id3v2Tag.h"
#include "files/ReplaceFile.h"

namespace tonvault::audio {

// The seven values an ID3v2.3 tag is written with (UTF-8).
struct Id3v2TagFields {
  std::string title, artist, album, comment, year, track, genre;
};

struct Id3v2WriteOptions {
  bool keepOldContent = false;  // carry over the old tag's other frames
  bool remove = false;          // take the tag off instead (wins over keepOldContent)
  int extraSpace = 100;         // padding of a new tag, bytes
  bool keepFileDate = false;
  const files::WriteFault* fault = nullptr;  // tests only
};

struct Id3v2WriteResult {
  bool ok = true;
  std::string message;  // what went wrong, for the user; may be empty
  files::FileStatus fileError;  // the file operation that failed, when one did
};

// The largest tag the 28-bit size field of the header can describe (the
// header's 10 bytes and 256 MB less one byte), so a large cover picture is
// carried over.
inline constexpr std::size_t kMaxId3v2TagLength = 10 + 0x0FFFFFFF;

// The frames of a new tag: TPE1, TALB, TIT2, COMM, TCON, TRCK, TYER for the
// non-empty values, then the kept frames with four-character ids other than
// those seven. A value that fits one byte per character is written as
// single-byte text, any other as UTF-16 with a byte-order mark.
std::vector<std::uint8_t> BuildId3v2Frames(const Id3v2TagFields& fields, const std::vector<KeptFrame>& kept);

// A whole tag (header, frames, padding) for an old tag of `oldTotal` bytes:
// the old length when the new frames leave less than 5 × extraSpace to
// spare, else extraSpace bytes of padding.
std::vector<std::uint8_t> BuildId3v2Tag(const std::vector<std::uint8_t>& frames, std::int64_t oldTotal, int extraSpace);

// Writes an ID3v2.3 tag at the start of an MPEG file, in place when the old
// tag has the room, otherwise through files::ReplaceFile, so a failure never
// harms the original and links, owner and permissions stay. A file the user
// may not write and a file that is not MPEG audio are refused unchanged.
Id3v2WriteResult WriteId3v2Tag(const std::string& path, const Id3v2TagFields& fields,
                               const Id3v2WriteOptions& options);

// Writes a new file `target` (which must not exist yet; created as
// files::WriteFileExclusive does) holding the MPEG file `source` with the
// tag WriteId3v2Tag would give it: one pass over the audio instead of a
// copy and a rewrite. `source` is refused as WriteId3v2Tag refuses a file;
// `target` takes its permissions (less the umask) and its dates.
Id3v2WriteResult CopyWithId3v2Tag(const std::string& source, const std::string& target, const Id3v2TagFields& fields,
                                  const Id3v2WriteOptions& options);

}  // namespace tonvault::audio
