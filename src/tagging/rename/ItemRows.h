#pragma once

#include <optional>
#include <string_view>

#include "tagging/editor/EditFields.h"

namespace tonvault::tagging {

// The rows of the renaming and extracting item lists: each row names one
// field (" Track ", " Artist ", ...); the separator row ends the items that
// are used.

// True for the separator row: the rows from it on are not used.
bool EndsItems(std::string_view row);

// The field a row names, tested in the order Title, Artist, Album, Year,
// Comment, Track, Genre; none for a row that names no field.
std::optional<Field> FieldOfRow(std::string_view row);

}  // namespace tonvault::tagging
