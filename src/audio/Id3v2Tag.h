#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/ByteSource.h"

namespace tonvault::audio {

// The values of an ID3v2 tag at the start of a file. Texts are UTF-8.
struct Id3v2Values {
  bool present = false;
  int version = 0;             // major × 10 + revision: 30 for 2.3.0
  std::int64_t totalLength = 0;  // size + 10; 0 without a tag
  std::int64_t usedLength = 0;   // where the padding begins
  std::string title, artist, album, year, comment, track, genre;
};

Id3v2Values ReadId3v2Tag(ByteSource* source);
Id3v2Values ReadId3v2Tag(const std::string& path);

// One frame of a tag as the editor's frame grid lists it.
struct Id3v2FrameRow {
  std::string id;
  std::string frameName;   // description from the published frame lists, or "<unknown>"
  std::string lengthText;  // content length, or "(n) Error" when the frame runs past the tag
  std::string content;
};

// A frame's bytes without its id (size field, flags, content), kept so a
// writer can carry the frame over. Frames of a 2.4 tag are kept in 2.3 form:
// plain size, 2.3 status flags, no format flags, decoded content (empty for a
// compressed or encrypted frame, which is then not carried).
struct KeptFrame {
  std::string id;
  std::vector<std::uint8_t> bytes;
};

struct Id3v2FrameList {
  bool present = false;
  int version = 0;
  std::vector<Id3v2FrameRow> rows;
  std::vector<KeptFrame> keptFrames;
};

Id3v2FrameList ListId3v2Frames(ByteSource* source);
Id3v2FrameList ListId3v2Frames(const std::string& path);

// "ID description" entries of the published frame lists: 63 for ID3v2.2,
// 84 for ID3v2.4.0 followed by "TYER Year".
const std::vector<std::string>& Id3v22FrameNames();
const std::vector<std::string>& Id3v24FrameNames();

}  // namespace tonvault::audio
