#pragma once

#include <string>

#include "tagging/editor/TagEditor.h"

namespace tonvault::tagging {

// The full name the file of the entry on display gets from the editor's
// current values (saved or not) and the renaming options.
std::string NewNameOfEntry(TagEditor& editor);

// The text of the box that refuses a rename.
std::string CannotRenameText(const std::string& oldName, const std::string& newName);

// Renames the file of the entry on display. Another file is never replaced:
// a taken name, an empty name, a name the file system refuses (too long,
// invalid) or a failing system call shows the "Cannot rename" box and
// changes nothing. A file that already has its new name counts as
// renamed, and nothing changes. On success the rows of the file are filled
// from the new name and the catalogue is marked modified.
bool RenameEntry(TagEditor& editor);

// "&Rename single file": renames the entry on display, then moves on as a
// save does.
void RenameSingleFile(TagEditor& editor);

// "Rename &all files": every entry in turn, as one long operation; the
// first refusal ends the run.
void RenameAllFiles(TagEditor& editor);

}  // namespace tonvault::tagging
