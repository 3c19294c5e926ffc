#pragma once

#include <array>

namespace tonvault::catalogue {

// The "Duplicate search options" of the Search page.
struct DuplicateOptions {
  bool appendResults = false;
  bool onlySelected = false;
  bool emptyLines = true;
  bool removeDuplicates = false;
  // The thirteen criteria, in their fixed order of evaluation.
  bool album = true, artist = true, title = true, genre = false, year = false, comment = false, filename = false,
       path = false, drive = false, label = false, track = false, fileSize = false, length = false;
  int albumMode = 0, artistMode = 0, titleMode = 0;  // 0..8, the items of the mode lists

  bool AnyCriterion() const {
    return album || artist || title || genre || year || comment || filename || path || drive || label || track ||
           fileSize || length;
  }
};

}  // namespace tonvault::catalogue
