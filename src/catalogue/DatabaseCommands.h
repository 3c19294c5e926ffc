#pragma once

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// "Save database": beeps with FILES empty, asks for a name when the
// catalogue has none, otherwise writes it under its name.
void SaveDatabase(Application& app);

// "Save database as": asks for a name, then writes FILES under it.
void SaveDatabaseAs(Application& app);

// Loads a catalogue from the recent list; a failed load removes the entry.
void OpenRecentDatabase(Application& app, const std::string& path);

}  // namespace tonvault::catalogue

namespace tonvault::catalogue {

// "Clear TVD-file list": forgets every recent catalogue.
void ClearRecentList(Application& app);

// "Check TVD-file list": removes the entries whose file is gone and reports
// how many.
void CheckRecentList(Application& app);

}  // namespace tonvault::catalogue
