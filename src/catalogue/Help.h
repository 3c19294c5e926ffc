#pragma once

#include <optional>
#include <string>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Where the manual is: "manual.html" next to the program, else in
// "../share/tonvault/" from it (an installed program).
std::optional<std::string> ManualPath(const std::string& programFolder);

// Help context `context`: opens the manual there in the web browser. When
// there is no manual or no browser to show it, beeps and says so, naming
// the file.
void ShowHelp(Application& app, int context);

}  // namespace tonvault::catalogue
