#pragma once

#include <string>
#include <vector>

#include "catalogue/Application.h"

// Commands whose full behaviour is not in this version yet. Each one tells
// the user so in the status bar instead of silently doing nothing; callers
// already route to them so that only these bodies change when they arrive.
namespace tonvault::catalogue {

// Writes a catalogue file. Returns false (nothing written) in this version.
bool WriteDatabase(Application& app, const std::string& path, const std::vector<TrackRecord>& rows);

// Loads a catalogue file into FILES. Returns false in this version.
bool ReadDatabase(Application& app, const std::string& path, bool selective);

// The status-bar text the pending commands show.
std::string NotAvailableText(const std::string& what);

}  // namespace tonvault::catalogue
