#pragma once

#include "tagging/editor/TagEditor.h"

namespace tonvault::tagging {

// The tag version the extracting options fill.
Version ExtractVersion(const catalogue::RenameOptions& options);

// Puts the items of the entry's file name into the fields of the extracting
// version, as the item list assigns them; with "Override existing items"
// off a field that holds text keeps it. Nothing is written.
void FillFieldsFromFileName(TagEditor& editor);

// Fills the fields from the file name and writes that version (and the
// other one when its "Save changes" is down). False when a writer failed;
// it has said why.
bool ExtractEntry(TagEditor& editor);

// "&Extract filename to ID3  (single file)": the entry on display, then
// moves on as a save does.
void ExtractSingleFile(TagEditor& editor);

// "Extract &filenames to ID3  (all files)": every entry in turn, as one
// long operation; the first failed write ends the run.
void ExtractAllFiles(TagEditor& editor);

}  // namespace tonvault::tagging
