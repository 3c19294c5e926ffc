#pragma once

#include <string>
#include <vector>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// The program's arguments: exactly one ".tvd" file opens that catalogue (a
// name without folder is looked up in the current folder, then in the
// program's folder; a missing file does nothing); anything else is imported
// as dropped files.
void HandleCommandLine(Application& app, const std::vector<std::string>& arguments);

// True when the name's extension, in lower case, is ".tvd".
bool IsCatalogueFileName(const std::string& name);

}  // namespace tonvault::catalogue
