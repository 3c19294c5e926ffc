#pragma once

#include <string>
#include <vector>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

inline constexpr const char* kAppendQuestion = "Files list is not empty.\n\r\rAppend to list ?";

// "Import audio files" and "Import audio files  (including subfolders)":
// asks for a folder, collects its audio files and adds a row for each.
void ImportFolder(Application& app, bool withSubfolders);

// Files and folders dropped on the window or named on the command line.
// One ".tvd" file opens that catalogue instead.
void ImportDropped(Application& app, const std::vector<std::string>& names);

// Adds the files under `folder` whose extension matches a checked file type
// to `candidates` (unsorted). Names starting with "." are skipped; symbolic
// links to folders are not followed, so a link loop cannot recurse forever.
void CollectFiles(const std::string& folder, bool withSubfolders, const ImportOptions& options,
                  std::vector<std::string>& candidates);

// True when the lower-case extension contains the text of a checked type.
bool MatchesFileType(const std::string& path, const ImportOptions& options);

// Sorts candidates by whole path, ignoring ASCII letter case; equal paths stay.
void SortCandidates(std::vector<std::string>& candidates);

// Appends one FILES row per candidate under the long-operation protocol.
// A stop keeps the rows built so far.
void BuildRows(Application& app, const std::vector<std::string>& candidates);

}  // namespace tonvault::catalogue
