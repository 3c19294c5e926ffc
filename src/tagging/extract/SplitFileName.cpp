#include "tagging/extract/SplitFileName.h"

#include "catalogue/FillRow.h"
#include "tagging/editor/EditFields.h"

namespace tonvault::tagging {

std::vector<std::string> SplitFileName(std::string_view baseName, std::string_view separator1,
                                       std::string_view separator2, std::string_view separator3) {
  const std::array<std::string_view, 3> separators = {separator1, separator2, separator3};
  std::vector<std::string> items;
  std::string_view rest = baseName;
  for (;;) {
    std::size_t earliest = std::string_view::npos;
    std::size_t length = 0;
    for (const std::string_view separator : separators) {
      if (separator.empty()) continue;
      const std::size_t at = rest.find(separator);
      // Strictly earlier only: on a tie the lower-numbered separator stays.
      if (at < earliest) {
        earliest = at;
        length = separator.size();
      }
    }
    if (earliest == std::string_view::npos) break;
    items.push_back(TrimBlanks(rest.substr(0, earliest)));
    rest.remove_prefix(earliest + length);
  }
  items.push_back(TrimBlanks(rest));
  return items;
}

std::string BaseNameForItems(const std::string& fullName) {
  std::string name = catalogue::NameOf(fullName);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(name.find(name.substr(dot)));
  return TrimBlanks(name);
}

}  // namespace tonvault::tagging
