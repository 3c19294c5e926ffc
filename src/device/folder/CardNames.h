#pragma once

#include <string>
#include <string_view>

namespace tonvault::device {

// A name as a case-insensitive card (FAT, exFAT, most phones) compares it:
// UTF-8 with the letters of the Latin, Greek and Cyrillic alphabets folded
// to lower case (simple case folding), every other byte as it is. Names
// on a card are made unique under this comparison on every card, so a card
// copied to another file system keeps every file.
std::string FoldedName(std::string_view name);

}  // namespace tonvault::device
