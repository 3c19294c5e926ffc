#pragma once

#include <string>
#include <string_view>

// File names are bytes: a name may hold CR, LF or bytes that are not UTF-8,
// and the catalogue must give back exactly the name it was given, or a
// command would act on a look-alike file. The catalogue file is line based
// and UTF-8, so such bytes are written as characters of a private-use
// block: byte b becomes U+F700 + b. A reader that does not know the escape
// sees ordinary (if odd-looking) characters, never a broken line. So that
// the escape is unambiguous, a name's own characters from that block are
// escaped byte by byte too. Catalogues written in a single-byte code page
// never hold such characters, so they read as before.
namespace tonvault::catalogue {

std::string EscapeName(std::string_view name);
std::string UnescapeName(std::string_view stored);

// True when EscapeName would change the name (most names need nothing).
bool NameNeedsEscape(std::string_view name);

}  // namespace tonvault::catalogue
