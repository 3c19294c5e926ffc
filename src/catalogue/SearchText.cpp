#include "catalogue/SearchText.h"

#include "catalogue/TextCase.h"

namespace tonvault::catalogue {

bool SearchOptions::Searches(Column column) const {
  switch (column) {
    case Column::Album: return album;
    case Column::Artist: return artist;
    case Column::Title: return title;
    case Column::Genre: return genre;
    case Column::Year: return year;
    case Column::Comment: return comment;
    case Column::Filename: return filename;
    case Column::Path: return path;
    case Column::Label: return label;
    case Column::Track: return track;
    default: return false;
  }
}

bool FieldMatches(std::string_view field, std::string_view text, bool matchCase, bool onlyAtBeginning) {
  if (text.empty()) return false;
  if (matchCase) return onlyAtBeginning ? field.substr(0, text.size()) == text : field.find(text) != std::string_view::npos;
  const std::string loweredField = AsciiLower(field);
  const std::string loweredText = AsciiLower(text);
  return onlyAtBeginning ? loweredField.compare(0, loweredText.size(), loweredText) == 0
                         : loweredField.find(loweredText) != std::string::npos;
}

}  // namespace tonvault::catalogue
