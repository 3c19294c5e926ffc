#pragma once

#include <string>

#include "audio/analysis/Mp3Analysis.h"
#include "catalogue/Options.h"

namespace tonvault::catalogue {

// What the batch's problem tests found in one analysed file.
struct ProblemVerdict {
  bool headMarked = false;  // space before the first frame, and it counts
  bool tailMarked = false;  // space after the last frame, and it counts
  // The first test that held: "Space at beginning", "Space at end of file",
  // "Change of MPEG version", "Cange of MPEG layer", "Sample frequency
  // change", "Mode change", "\"Bad\" MP3-frames"; empty when none did.
  std::string problem;

  bool HasProblem() const { return !problem.empty(); }
};

// The problem tests in their order under the current settings. Both space
// tests are made; only when neither holds and there is more than one row
// do the others follow, stopping at the first that holds.
ProblemVerdict TestProblems(const audio::Mp3Analysis& analysis, const AnalyzeOptions& options);

}  // namespace tonvault::catalogue
