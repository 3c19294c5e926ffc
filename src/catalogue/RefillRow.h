#pragma once

#include <cstddef>
#include <string>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Reads a file again into its row after the file changed on disk (new tags,
// a repaired stream, a new name), and into the row's twin in the other list.
// The lists' sort marks are cleared: the new texts may no longer stand where
// the sort put them.
void RefillRowAndTwin(Application& app, ListId list, std::size_t row, const std::string& path);

}  // namespace tonvault::catalogue
