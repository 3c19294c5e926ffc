#pragma once

#include <string>

namespace tonvault::catalogue {

// "/music/Pop/" gives "/music/Pop"; "/" stays "/".
std::string WithoutTrailingSeparator(std::string path);

// A remembered folder as the start of a folder dialog: without its trailing
// separator, cut back folder by folder until it names one that exists.
std::string ExistingStartFolder(const std::string& remembered);

}  // namespace tonvault::catalogue
