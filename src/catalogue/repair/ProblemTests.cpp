#include "catalogue/repair/ProblemTests.h"

#include <algorithm>
#include <vector>

namespace tonvault::catalogue {

namespace {

using audio::FrameGroup;

// True when a row other than the bad-place row differs from the first row
// in the value `of` picks.
template <class Value>
bool ValidRowsDiffer(const std::vector<FrameGroup>& rows, Value of) {
  return std::any_of(rows.begin(), rows.end(),
                     [&](const FrameGroup& row) { return !row.IsBad() && of(row) != of(rows.front()); });
}

// The mode test leaves out the bad-place row and a first row of a single
// frame (an encoder's header frame often differs), and compares the others
// with the first of them.
bool ModesDiffer(const std::vector<FrameGroup>& rows) {
  const FrameGroup* reference = nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].IsBad() || (i == 0 && rows[i].count == 1)) continue;
    if (reference == nullptr) {
      reference = &rows[i];
    } else if (rows[i].mode != reference->mode) {
      return true;
    }
  }
  return false;
}

std::string OtherProblem(const std::vector<FrameGroup>& rows, const AnalyzeOptions& options) {
  if (options.mpegChange && ValidRowsDiffer(rows, [](const FrameGroup& r) { return r.version; })) {
    return "Change of MPEG version";
  }
  if (options.layerChange && ValidRowsDiffer(rows, [](const FrameGroup& r) { return r.layer; })) {
    return "Cange of MPEG layer";
  }
  if (options.frequencyChange && ValidRowsDiffer(rows, [](const FrameGroup& r) { return r.sampleRate; })) {
    return "Sample frequency change";
  }
  if (options.modeChange && ModesDiffer(rows)) return "Mode change";
  if (options.badFrames && std::any_of(rows.begin(), rows.end(), [](const FrameGroup& r) { return r.IsBad(); })) {
    return "\"Bad\" MP3-frames";
  }
  return {};
}

}  // namespace

ProblemVerdict TestProblems(const audio::Mp3Analysis& analysis, const AnalyzeOptions& options) {
  ProblemVerdict verdict;
  verdict.headMarked = options.beginSpace && analysis.SpaceBefore() > 0;
  verdict.tailMarked = options.endSpace && analysis.SpaceAfter() > 0;
  if (verdict.headMarked) {
    verdict.problem = "Space at beginning";
  } else if (verdict.tailMarked) {
    verdict.problem = "Space at end of file";
  } else if (analysis.frames.Groups().size() > 1) {
    verdict.problem = OtherProblem(analysis.frames.Groups(), options);
  }
  return verdict;
}

}  // namespace tonvault::catalogue
