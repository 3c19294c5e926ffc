#pragma once

#include <string>

#include "audio/Id3v1.h"
#include "audio/Id3v2Writer.h"
#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Writes (or with `remove`, takes off) the ID3v1 tag of one file, keeping its
// date when the option says so. A failure beeps and says which file could
// not be written; returns false then.
bool WriteId3v1(Application& app, const std::string& path, const audio::Id3v1Fields& fields, bool remove);

// Writes (or takes off) the ID3v2.3 tag of one file with the tag options; a
// failure beeps and says what went wrong. Returns false then.
bool WriteId3v2(Application& app, const std::string& path, const audio::Id3v2TagFields& fields, bool remove);

}  // namespace tonvault::catalogue
