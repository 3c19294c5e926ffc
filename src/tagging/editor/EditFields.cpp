#include "tagging/editor/EditFields.h"

#include <algorithm>
#include <charconv>

#include "audio/Genres.h"
#include "audio/TextEncoding.h"
#include "catalogue/TextCase.h"

namespace tonvault::tagging {

std::string_view TrackBoxCaption(TrackBox box) {
  switch (box) {
    case TrackBox::Take: return "auto / clear";
    case TrackBox::Clear: return "clear";
    case TrackBox::Auto: return "auto number";
  }
  return {};
}

std::size_t V1Width(Field field) {
  switch (field) {
    case Field::Title:
    case Field::Artist:
    case Field::Album: return 30;
    case Field::Year: return 4;
    case Field::Comment: return 28;
    case Field::Track:
    case Field::Genre: break;
  }
  return 0;
}

bool FitsV1Field(Field field, std::string_view text) {
  const std::size_t width = V1Width(field);
  return width == 0 || audio::Utf8ToLegacy(text).size() <= width;
}

const std::vector<std::string>& V1GenreEntries() {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> names;
    for (std::string_view name : audio::GenreTable()) names.emplace_back(name);
    std::sort(names.begin(), names.end());
    names.insert(names.begin(), std::string());
    return names;
  }();
  return entries;
}

std::string TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size(); ++end) {
    // A character starts at every byte that is not a continuation byte.
    if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && seen++ == count) break;
  }
  return std::string(text.substr(0, end));
}

std::string V1TrackText(int number) { return number >= 1 && number <= 127 ? std::to_string(number) : std::string(); }

namespace {

// A whole text read as a number with an optional sign; 0 when it is not one.
int NumberOrZero(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return number;
}

}  // namespace

int V1TrackNumber(std::string_view text) {
  const int number = NumberOrZero(TrimBlanks(text));
  return number >= 1 && number <= 127 ? number : 0;
}

std::string V2ToV1(Field field, std::string_view v2Value) {
  switch (field) {
    case Field::Title:
    case Field::Artist:
    case Field::Album: return FirstCharacters(TrimBlanks(v2Value), 30);
    case Field::Year: return FirstCharacters(v2Value, 4);
    case Field::Comment: return FirstCharacters(v2Value, 28);
    case Field::Track: return V1TrackText(V1TrackNumber(v2Value));
    case Field::Genre: {
      const std::string wanted = catalogue::AsciiLower(TrimBlanks(v2Value));
      for (const std::string& entry : V1GenreEntries()) {
        if (catalogue::AsciiLower(entry) == wanted) return entry;
      }
      return {};
    }
  }
  return {};
}

std::string V1ToV2(Field, std::string_view v1Value) { return TrimBlanks(v1Value); }

std::string PaddedTrack(int number, int digits) {
  std::string text = std::to_string(number);
  if (text.size() < static_cast<std::size_t>(digits)) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

}  // namespace tonvault::tagging
