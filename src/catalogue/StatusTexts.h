#pragma once

#include <cstddef>
#include <string>

#include "catalogue/Page.h"

namespace tonvault::catalogue {

inline constexpr const char* kProgramTitle = "Tonvault";

// "Tonvault", or "Tonvault    -    NAME" with "*" while the catalogue is
// modified (no leading blank: window lists and task bars show the title as
// it is). Without a name the modified state does not show.
std::string WindowTitle(const std::string& databaseFileName, bool catalogueModified);

struct StatusPanels {
  std::string rows;      // panel 0
  std::string selected;  // panel 1
};

// What the status bar shows for a page whose list has `rows` rows of which
// `selected` are selected (for Playlists: `rows` is the number of playlists).
StatusPanels StatusTextsFor(Page page, std::size_t rows, std::size_t selected);

// Panel 0 while an import or a catalogue load runs (two blanks).
std::string FilesSoFarText(std::size_t rows);

}  // namespace tonvault::catalogue
