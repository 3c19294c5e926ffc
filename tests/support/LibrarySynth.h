#pragma once

#include <string>
#include <vector>

namespace tonvault::testing {

// Writes a small music library under `root` in which every kind of file
// the readers meet stands at least once: CBR and VBR streams (with and
// without a Xing header), ID3v1 and ID3v2.2/2.3/2.4 tags, a tag with a
// 2 MB picture before the first frame, frames the rows never use (lyrics,
// private data), an unsynchronised tag, a tag whose size points past the
// end, a file cut in the middle of a frame, stray bytes before the first
// frame, MPEG-2 and MPEG-2.5 streams, and the WMA and WAV files of the
// test data. The content depends on nothing but this code, so the rows
// read from it can be compared across versions. Returns the files.
std::vector<std::string> MakeLibrary(const std::string& root);

}  // namespace tonvault::testing
