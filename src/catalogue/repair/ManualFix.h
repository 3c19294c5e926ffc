#pragma once

#include "catalogue/repair/AnalysisPage.h"

namespace tonvault::catalogue {

inline constexpr const char* kNothingToFix = "Nothing selected to fix";
// From this many marked frames on, the fix asks first.
inline constexpr std::int64_t kFramesAskedAbout = 51;

std::string ManyFramesQuestion(std::int64_t count);
std::string BackupFailedQuestion(const std::string& backupPath);

// "&Fix MP3": marks the frames of the checked rows, asks before deleting
// many, keeps a backup when asked, rebuilds the file and analyses it again.
// Returns true when the file was rebuilt.
bool FixMp3(Application& app, AnalysisPage& page);

}  // namespace tonvault::catalogue
