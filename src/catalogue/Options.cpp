#include "catalogue/Options.h"

#include <algorithm>

#include "audio/CodePages.h"
#include "catalogue/Frontend.h"
#include "catalogue/TrackRecord.h"
#include "catalogue/Utf8Characters.h"

namespace tonvault::catalogue {

PrintOptions::PrintOptions() {
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    std::string caption(" ");
    caption += ColumnCaptions()[static_cast<std::size_t>(c)];
    filesOrder.push_back({caption, c});
  }
  filesOrder.push_back({kPrintSeparator, -1});
  const char* viewColumns[] = {" Album", " Artist", " Genre", " Tracks", " Size [kB]", " Length"};
  for (int c = 0; c < 6; ++c) viewsOrder.push_back({viewColumns[c], c});
  viewsOrder.push_back({kPrintSeparator, -1});
}

ColumnLayout::ColumnLayout() {
  static constexpr std::array<int, kDisplayColumns> kWidths = {24, 80, 80, 100, 80, 50, 50, 80, 70,
                                                              60, 60, 70, 60, 60, 80, 100, 100};
  headings[0] = "";
  widths[0] = kWidths[0];
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    const auto position = static_cast<std::size_t>(c) + 1;
    headings[position] = std::string(ColumnCaptions()[static_cast<std::size_t>(c)]);
    const bool centred = IsCentredColumn(static_cast<Column>(c));
    widths[position] = centred ? kWidths[position] : -kWidths[position];
  }
}

bool KeepTwoItemsAboveSeparator(std::vector<PrintItem>& items) {
  const auto separator = std::find_if(items.begin(), items.end(), [](const PrintItem& i) { return i.column < 0; });
  if (separator == items.end() || separator - items.begin() >= 2 || items.size() < 3) return false;
  const PrintItem moved = *separator;
  items.erase(separator);
  items.insert(items.begin() + 2, moved);
  return true;
}

bool KeepOneItemAboveSeparator(std::array<std::string, kItemRows>& rows) {
  if (rows[0] != kItemSeparator) return false;
  std::swap(rows[0], rows[1]);
  return true;
}

bool IsValidSubstitute(const std::string& text) {
  return IsOneUtf8Character(text) && std::string_view(":*?\\/<>|\"").find(text[0]) == std::string_view::npos;
}

bool TakeSubstitute(Frontend& frontend, const std::string& typed, RenameOptions& rename) {
  if (IsValidSubstitute(typed)) {
    rename.substitute = typed;
    return true;
  }
  frontend.Beep(Sound::Default);
  rename.substitute.assign(1, '_');
  return false;
}

void UseLegacyCodePage(Id3Options& id3) {
  const audio::CodePage page = audio::CodePageFromName(id3.codePage).value_or(audio::kDefaultCodePage);
  id3.codePage = audio::CodePageName(page);
  audio::SetLegacyCodePage(page);
}

}  // namespace tonvault::catalogue
