#include "tagging/rename/ItemRows.h"

#include <array>
#include <utility>

namespace tonvault::tagging {

bool EndsItems(std::string_view row) { return row.find("---") != std::string_view::npos; }

std::optional<Field> FieldOfRow(std::string_view row) {
  static constexpr std::array<std::pair<std::string_view, Field>, kFieldCount> kNames = {{
      {"Title", Field::Title},
      {"Artist", Field::Artist},
      {"Album", Field::Album},
      {"Year", Field::Year},
      {"Comment", Field::Comment},
      {"Track", Field::Track},
      {"Genre", Field::Genre},
  }};
  for (const auto& [name, field] : kNames) {
    if (row.find(name) != std::string_view::npos) return field;
  }
  return std::nullopt;
}

}  // namespace tonvault::tagging
