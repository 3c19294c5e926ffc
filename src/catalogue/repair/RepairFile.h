#pragma once

#include <string>

#include "audio/analysis/Mp3Rebuild.h"
#include "catalogue/Application.h"

namespace tonvault::catalogue {

enum class BackupOutcome { Made, Exists, Failed };

// base + ".bak", base being the file name without its extension.
std::string BackupPath(const std::string& path);

// Copies the file to its backup name, complete and flushed before the
// rebuild starts. An existing backup is never overwritten.
BackupOutcome MakeBackup(const std::string& path);

// Rebuilds the analysed file and, when that worked, fills its row of
// `list` (and the equal row of the other list) from the new file.
audio::RebuildResult RepairFile(Application& app, const audio::Mp3Analysis& analysis,
                                const audio::RebuildRequest& request, ListId list, std::size_t row);

// What the user reads when a rebuild failed; it always says that the file
// was not changed, since a failure never touches it.
std::string RebuildFailureText(const audio::RebuildResult& result, const std::string& path);

}  // namespace tonvault::catalogue
