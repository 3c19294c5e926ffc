#pragma once

#include <string>

namespace tonvault::catalogue {

// The version as the About box shows it: major "." minor, then the release
// and build digits, with one trailing "0" removed (5.4.3.0 -> "5.43").
std::string VersionText(int major, int minor, int release, int build);

// The version of this build.
std::string ProgramVersionText();
std::string LegalNotice();
std::string ContactAddress();

}  // namespace tonvault::catalogue
