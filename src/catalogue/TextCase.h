#pragma once

#include <string>
#include <string_view>

namespace tonvault::catalogue {

// Case changes touch the ASCII letters A-Z / a-z only, so they are safe on
// UTF-8 text and never depend on the locale.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

}  // namespace tonvault::catalogue
