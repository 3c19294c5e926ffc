#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/analysis/Mp3Analysis.h"
#include "catalogue/Application.h"

namespace tonvault::catalogue {

inline constexpr const char* kFileNotFound = "File not found !";
inline constexpr const char* kValidFrame = "valid frame";

// One delete option of the page: its check box and the label beside it.
struct FixOption {
  bool checked = false;
  bool enabled = false;
  std::string label = kValidFrame;
};

// The MP3 page without its widgets: the last analysed file, the texts the
// page shows and the fix controls with their enabling rules.
struct AnalysisPage {
  audio::Mp3Analysis analysis;
  ListId source = ListId::Files;  // the list the analysis came from
  std::size_t sourceRow = 0;
  bool analysed = false;          // the records describe the file named below

  std::string fileName;
  std::string id3v1Text = "none";
  std::string id3v2LengthText = "none";
  std::string id3v2VersionText = "none";
  std::string firstFrameText = "not found";
  std::string badFramesText;
  std::string endSpaceText;

  FixOption spaceBefore;  // "Delete space before first"
  FixOption spaceAfter;   // "Delete space after last"
  FixOption frames;       // "Delete frames checked on"
  bool keepCopy = true;   // "Keep a copy "

  // "&Fix MP3" is enabled while one of the delete options is checked.
  bool FixEnabled() const { return spaceBefore.checked || spaceAfter.checked || frames.checked; }
  bool AnyGroupChecked() const;
  // Checks or unchecks a row of the frame list: "Delete frames checked on"
  // is enabled only while a row is checked, and unchecking the last row
  // unchecks it too.
  void CheckGroup(std::size_t group, bool checked);
  void Reset();
};

// "Version  1.0", "Version  1.1" or "none".
std::string Id3v1VersionText(int version);

// Fills the page's texts and fix options from a finished analysis.
void ShowFigures(AnalysisPage& page);

// "Analyze / Fix  MP3": analyses the file of row `row` of `source` and
// shows it on the MP3 page; a confirmed stop returns to `returnPage`.
void AnalyzeRow(Application& app, AnalysisPage& page, ListId source, std::size_t row, Page returnPage);

// The same for a file named by its path (the page keeps its source row).
void AnalyzeFile(Application& app, AnalysisPage& page, const std::string& path, Page returnPage);

// Analyses `path` into `page` inside the busy state, without showing a
// page or running the page change: the part the batch shares. Returns false
// when the user stopped the scan.
bool AnalyzeInto(Application& app, AnalysisPage& page, const std::string& path);

}  // namespace tonvault::catalogue
