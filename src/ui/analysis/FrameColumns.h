#pragma once

#include <cstdint>
#include <vector>

#include "audio/analysis/FrameRecords.h"

namespace tonvault::ui {

// What one pixel column of the frame picture shows: the highest bitrate of
// the frames that fall on it (with that frame's mode), and whether a bad
// place falls on it.
struct FrameColumn {
  std::int32_t bitrate = 0;
  audio::FrameMode mode = audio::FrameMode::Bad;
  bool hasFrame = false;
  bool bad = false;
};

// Record i falls on column i × width / count, so a file with fewer records
// than pixels gets one line per record and a long file one summary per
// pixel: painting then costs the picture's width, not the record count.
std::vector<FrameColumn> SummarizeFrames(const std::vector<audio::FrameRecord>& records, int width);

}  // namespace tonvault::ui
