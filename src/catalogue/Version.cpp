#include "catalogue/Version.h"

#include "catalogue/BuildInfo.h"

namespace tonvault::catalogue {

std::string VersionText(int major, int minor, int release, int build) {
  std::string text = std::to_string(major) + "." + std::to_string(minor) + std::to_string(release) +
                     std::to_string(build);
  if (text.back() == '0') text.pop_back();
  return text;
}

std::string ProgramVersionText() {
  return VersionText(kVersionMajor, kVersionMinor, kVersionRelease, kVersionBuild);
}

std::string LegalNotice() { return kLegalNotice; }
std::string ContactAddress() { return kContactAddress; }

}  // namespace tonvault::catalogue
