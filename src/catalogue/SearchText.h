#pragma once

#include <string>
#include <string_view>

#include "catalogue/TrackRecord.h"

namespace tonvault::catalogue {

// The text search of the Search page's upper half: the text, how it
// matches, and which columns are searched.
struct SearchOptions {
  std::string text;
  bool matchCase = false;        // "Match case"
  bool onlyAtBeginning = false;  // "Only at beginning of line"
  bool appendResults = false;    // "Append results"
  bool onlySelected = false;     // "Only in selected lines"
  bool album = true, artist = true, title = true;
  bool genre = false, year = false, comment = false, filename = false, path = false, label = false, track = false;

  // The searched columns, in the order the check boxes stand.
  bool Searches(Column column) const;
};

// True when `field` holds `text` as the options say: anywhere or at the
// start, with ASCII letter case ignored unless "Match case" is on. An empty
// search text matches nothing.
bool FieldMatches(std::string_view field, std::string_view text, bool matchCase, bool onlyAtBeginning);

}  // namespace tonvault::catalogue
