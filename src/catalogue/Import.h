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
// A matching name that is not a regular file (a FIFO, a device, a link that
// leads nowhere or in a circle) goes to `notRead` instead: opening it could
// block the import forever, and it holds no music.
void CollectFiles(const std::string& folder, bool withSubfolders, const ImportOptions& options,
                  std::vector<std::string>& candidates, std::vector<NotReadFile>& notRead);

// Adds one named file as CollectFiles would add it.
void CollectFile(const std::string& path, const ImportOptions& options, std::vector<std::string>& candidates,
                 std::vector<NotReadFile>& notRead);

// Tells the user which files the import could not read (at most ten by
// name), with the exclamation sound; nothing when every file was read.
void ReportNotRead(Application& app);
std::string NotReadText(const std::vector<NotReadFile>& notRead);

// True when the lower-case extension contains the text of a checked type.
bool MatchesFileType(const std::string& path, const ImportOptions& options);

// Sorts candidates by whole path, ignoring ASCII letter case; equal paths stay.
void SortCandidates(std::vector<std::string>& candidates);

// Appends one FILES row per candidate under the long-operation protocol.
// A stop keeps the rows built so far. A file that cannot be opened gets no
// row; it is added to `app.notRead`.
void BuildRows(Application& app, const std::vector<std::string>& candidates);

}  // namespace tonvault::catalogue
