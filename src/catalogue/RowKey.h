#pragma once

#include <string>

#include "catalogue/TrackRecord.h"

namespace tonvault::catalogue {

// The first `slots` text slots of a row joined into one text that two rows
// share exactly when those slots are equal byte for byte: each slot is
// preceded by its length, so no choice of separator can make two different
// rows collide. Used to find equal rows by hashing instead of comparing
// every pair.
inline std::string RowKey(const TrackRecord& row, int slots) {
  std::string key;
  for (int s = 0; s < slots; ++s) {
    const std::string_view text = row.texts[static_cast<std::size_t>(s)];
    key += std::to_string(text.size());
    key += ':';
    key += text;
  }
  return key;
}

}  // namespace tonvault::catalogue
