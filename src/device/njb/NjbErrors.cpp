#include "device/njb/NjbErrors.h"

#include <libnjb.h>

#include <array>
#include <utility>

namespace tonvault::device {
namespace {

std::string Lower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

Status StatusFromNjbMessages(const std::vector<std::string>& messages) {
  // The first rule any message matches decides; the order puts the
  // specific causes before the general ones.
  static constexpr std::array<std::pair<const char*, Status>, 12> kRules = {{
      {"no space", kDiskFull},        {"disk full", kDiskFull},     {"full", kDiskFull},
      {"denied", kCopyProtected},     {"protected", kCopyProtected}, {"busy", kBusy},
      {"try again", kBusy},           {"timeout", kBusy},           {"timed out", kBusy},
      {"no such device", kRemoved},   {"could not open", kFileError}, {"file", kFileError},
  }};
  for (const auto& [needle, status] : kRules) {
    for (const std::string& message : messages) {
      if (Lower(message).find(needle) != std::string::npos) return status;
    }
  }
  return kFailed;
}

std::vector<std::string> TakeNjbMessages(njb_struct* njb) {
  std::vector<std::string> messages;
  if (njb == nullptr) return messages;
  NJB_Error_Reset_Geterror(njb);
  while (const char* message = NJB_Error_Geterror(njb)) messages.emplace_back(message);
  return messages;
}

}  // namespace tonvault::device
