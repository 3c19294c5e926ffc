#pragma once

#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "files/ReplaceFile.h"

namespace tonvault::catalogue {

// Writes `rows` as a catalogue file. The old file stays whole until the new
// one is complete. When `rows` is FILES, success names the catalogue in the
// title and clears CatalogueModified. A failure beeps and says so; returns
// false then.
bool WriteDatabase(Application& app, const std::string& path, const std::vector<TrackRecord>& rows,
                   const files::WriteFault* fault = nullptr);

// Loads a catalogue file into FILES (asking whether to append when FILES has
// rows). `selective` keeps only the rows the Search page's text search finds.
// Returns false when the file could not be read or has the wrong version.
bool ReadDatabase(Application& app, const std::string& path, bool selective);

// The menu commands.
void OpenDatabase(Application& app, bool selective);
void SaveDatabase(Application& app);
void SaveDatabaseAs(Application& app);
void SaveResultsToDatabase(Application& app);

// Loads a catalogue from the recent list; a failed load removes the entry.
void OpenRecentDatabase(Application& app, const std::string& path);

// "Clear TVD-file list": forgets every recent catalogue.
void ClearRecentList(Application& app);

// "Check TVD-file list": removes the entries whose file is gone and reports
// how many.
void CheckRecentList(Application& app);

std::string CannotWriteDatabaseText(const std::string& path);
std::string CannotReadDatabaseText(const std::string& path);
std::string WrongFileversionText(const std::string& path);

}  // namespace tonvault::catalogue
