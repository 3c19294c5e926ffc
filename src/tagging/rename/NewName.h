#pragma once

#include <array>
#include <string>
#include <string_view>

#include "catalogue/Options.h"
#include "tagging/editor/EditFields.h"

namespace tonvault::tagging {

// One value per field (indexed by Field), as a new file name uses them.
using FieldValues = std::array<std::string, kFieldCount>;

// A track text read as a number: "07" is 7, "3/12" (track of total) is 3;
// 0 when it is not a number.
int TrackTextNumber(std::string_view text);

// The values of one version of the editor: the texts as they stand (V1
// Genre the chosen entry), the track as a decimal number with "0" in front
// up to `trackDigits` characters.
FieldValues NameValues(const VersionState& state, Version version, int trackDigits);

// The standard name: the values of the rows above the separator row, in row
// order, joined by `separator`.
std::string NameFromItems(const FieldValues& values, const std::array<std::string, catalogue::kItemRows>& rows,
                          const std::string& separator);

// The advanced name: the format with each placeholder replaced at every
// occurrence, one after the other, in the order %t %T %a %A %y %c %g.
std::string NameFromFormat(const FieldValues& values, std::string format);

// Every character a FAT file name cannot hold (: * ? \ / < > |) becomes
// `substitute`, a double quote a single quote.
std::string ReplaceIllegalCharacters(std::string_view name, std::string_view substitute);

// The full new name: the folder of `oldFullName` (up to its last "/"), the
// name the options build from `values`, and ".mp3".
std::string NewFullName(const std::string& oldFullName, const FieldValues& values,
                        const catalogue::RenameOptions& options);

}  // namespace tonvault::tagging
