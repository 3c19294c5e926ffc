#pragma once

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Copies or moves the files of the selected rows of the Files or Results
// page to a folder the user chooses (with `withSubfolder`, into a subfolder
// named like the last folder of each file's own path). A moved file's row
// leaves the list. Nothing is overwritten without the user's Yes or All, and
// a failed copy leaves no partial file behind.
void CopyOrMoveFiles(Application& app, bool copy, bool withSubfolder);

// Deletes the files of the selected rows from the disk after asking twice.
void DeleteFiles(Application& app);

}  // namespace tonvault::catalogue
