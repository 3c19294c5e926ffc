#include "tagging/transform/TextTransforms.h"

#include "catalogue/TextCase.h"
#include "tagging/editor/EditFields.h"
#include "tagging/extract/SplitFileName.h"

namespace tonvault::tagging {

namespace {

void UpperFirst(std::string& text) {
  if (!text.empty()) text.front() = catalogue::AsciiUpper(text.substr(0, 1)).front();
}

}  // namespace

bool ReplaceAllowed(std::string_view search, std::string_view replaceBy) {
  return !search.empty() && replaceBy.find(search) == std::string_view::npos;
}

Replaced ReplaceText(std::string_view text, std::string_view search, std::string_view replaceBy) {
  Replaced result{std::string(text), 0};
  if (!search.empty()) {
    std::size_t at = result.text.find(search);
    while (at != std::string::npos && result.count < kMaxReplacements) {
      result.text.replace(at, search.size(), replaceBy);
      ++result.count;
      at = result.text.find(search);
    }
  }
  result.text = TrimBlanks(result.text);
  return result;
}

std::string ChangeCase(std::string_view text, CaseMode mode) {
  if (mode == CaseMode::Upper) return catalogue::AsciiUpper(text);
  std::string lower = catalogue::AsciiLower(text);
  if (mode == CaseMode::FirstWord) UpperFirst(lower);
  if (mode != CaseMode::EveryWord) return lower;
  std::string joined;
  for (std::string& word : SplitFileName(lower, " ", "", "")) {
    if (word.empty()) continue;
    UpperFirst(word);
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

std::string JoinedTitle(std::string_view title, std::string_view separator, std::string_view artist) {
  std::string joined(title);
  joined += separator;
  joined += artist;
  return joined;
}

std::optional<std::pair<std::string, std::string>> SplitTitle(std::string_view title, std::string_view separator) {
  const std::size_t at = separator.empty() ? std::string_view::npos : title.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  return std::pair{TrimBlanks(title.substr(0, at)), TrimBlanks(title.substr(at + separator.size()))};
}

}  // namespace tonvault::tagging
