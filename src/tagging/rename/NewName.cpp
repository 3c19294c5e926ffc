#include "tagging/rename/NewName.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "catalogue/FillRow.h"
#include "tagging/rename/ItemRows.h"

namespace tonvault::tagging {

namespace {

std::size_t Index(Field field) { return static_cast<std::size_t>(field); }

// Longer than any file system takes as a name: building further only costs
// memory (tag texts full of placeholders would multiply it), and the rename
// of such a name is refused anyway.
constexpr std::size_t kLongestName = 4096;

void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
  for (std::size_t at = text.find(placeholder); at != std::string::npos && text.size() <= kLongestName;
       at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
}

}  // namespace

int TrackTextNumber(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  std::string_view number = trimmed;
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc()) return 0;
  const std::string_view rest(end, static_cast<std::size_t>(number.data() + number.size() - end));
  // The total after a "/" must be a number too, or the text is not a track.
  if (!rest.empty()) {
    int total = 0;
    const std::string_view tail = rest.substr(1);
    const auto [totalEnd, totalError] = std::from_chars(tail.data(), tail.data() + tail.size(), total);
    if (rest.front() != '/' || totalError != std::errc() || totalEnd != tail.data() + tail.size()) return 0;
  }
  return value;
}

FieldValues NameValues(const VersionState& state, Version version, int trackDigits) {
  FieldValues values = state.value;
  const std::string& track = state.Value(Field::Track);
  const int number = version == Version::V1 ? V1TrackNumber(track) : TrackTextNumber(track);
  values[Index(Field::Track)] = PaddedTrack(number, std::clamp(trackDigits, 1, 4));
  return values;
}

std::string NameFromItems(const FieldValues& values, const std::array<std::string, catalogue::kItemRows>& rows,
                          const std::string& separator) {
  std::string name;
  for (const std::string& row : rows) {
    if (EndsItems(row)) break;
    const std::optional<Field> field = FieldOfRow(row);
    if (!field) continue;
    name += values[Index(*field)];
    name += separator;
  }
  if (!name.empty()) name.resize(name.size() - separator.size());
  return name;
}

std::string NameFromFormat(const FieldValues& values, std::string format) {
  static constexpr std::array<std::pair<std::string_view, Field>, kFieldCount> kPlaceholders = {{
      {"%t", Field::Title},
      {"%T", Field::Track},
      {"%a", Field::Artist},
      {"%A", Field::Album},
      {"%y", Field::Year},
      {"%c", Field::Comment},
      {"%g", Field::Genre},
  }};
  for (const auto& [placeholder, field] : kPlaceholders) ReplaceAll(format, placeholder, values[Index(field)]);
  return format;
}

std::string ReplaceIllegalCharacters(std::string_view name, std::string_view substitute) {
  std::string result;
  result.reserve(name.size());
  for (const char c : name) {
    switch (c) {
      case ':': case '*': case '?': case '\\': case '/': case '<': case '>': case '|': result += substitute; break;
      case '"': result += '\''; break;
      default: result += c; break;
    }
  }
  return result;
}

std::string NewFullName(const std::string& oldFullName, const FieldValues& values,
                        const catalogue::RenameOptions& options) {
  const std::string name = options.advanced ? NameFromFormat(values, options.format)
                                            : NameFromItems(values, options.order, options.separator);
  const std::string substitute = catalogue::IsValidSubstitute(options.substitute) ? options.substitute : "_";
  return catalogue::FolderOf(oldFullName) + ReplaceIllegalCharacters(name, substitute) + ".mp3";
}

}  // namespace tonvault::tagging
