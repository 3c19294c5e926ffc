#pragma once

#include <string>

#include "audio/Id3v1.h"
#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Writes (or with `remove`, takes off) the ID3v1 tag of one file, keeping its
// date when the option says so. A failure beeps and says which file could
// not be written; returns false then.
bool WriteId3v1(Application& app, const std::string& path, const audio::Id3v1Fields& fields, bool remove);

}  // namespace tonvault::catalogue
