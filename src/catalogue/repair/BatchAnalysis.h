#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "catalogue/Application.h"
#include "catalogue/repair/ProblemTests.h"

namespace tonvault::catalogue {

inline constexpr const char* kAutoFixQuestion =
    "Automatic deletion of space at\n\rbegin and/or end of file is enabled.\n\r\rProceed ?\n\r\r"
    "(No = Analysis without automatic fix)";
// A file is analysed (and auto-fixed) at most this many times.
inline constexpr int kAutoFixPasses = 4;

struct BatchCounts {
  std::size_t analysed = 0;
  std::size_t problems = 0;
  std::size_t notFound = 0;
  std::size_t fixed = 0;
};

// The closing report of the batch.
std::string BatchReportText(const BatchCounts& counts);

// One file of the batch after its last pass.
struct FileVerdict {
  ProblemVerdict verdict;
  bool unreadable = false;  // the file could not be read: a problem too
  bool fixed = false;       // the first pass repaired it
  bool stopped = false;     // the user stopped the scan

  bool HasProblem() const { return unreadable || verdict.HasProblem(); }
};

// Analyses one file, tests it and, where the tests mark its head or tail
// and that part's auto fix is on, repairs it (after a backup) and
// analyses it again, up to kAutoFixPasses analyses in all. `row` of `list`
// is refilled after a repair.
FileVerdict AnalyzeAndAutoFix(Application& app, const std::string& path, ListId list, std::size_t row);

// "Analyze all &MP3s  (in FILES)": analyses every MP3 of FILES, lists the
// files with problems in RESULTS (and selects them in FILES), and reports.
// Returns nothing when the user cancelled at the start.
std::optional<BatchCounts> BatchAnalyze(Application& app);

}  // namespace tonvault::catalogue
