#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/Application.h"

namespace tonvault::views {

// What an export writes: the header captions and the cell texts of every
// row, in the column order of the export settings.
struct ExportTable {
  std::string title;  // the HTML page title
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

// The table of the list on `page` (Files, Results or a view); nothing for
// other pages.
std::optional<ExportTable> TableOfPage(const catalogue::Application& app, catalogue::Page page);

// The text file: tab-separated fields, CR LF line ends; a tab, CR or LF
// inside a field is written as a blank, so every line has all its fields.
std::string TextExport(const ExportTable& table);

// The HTML file, with the configured tags. In every cell the first "<"
// becomes "[" and the first ">" becomes "]", an empty text is "-", and then
// every remaining "<", ">" and "&" is written as an entity, so no cell can
// act as markup; header captions are escaped too. Declared as UTF-8.
std::string HtmlExport(const ExportTable& table, const catalogue::PrintOptions& tags);

// A cell's text as the HTML export writes it.
std::string HtmlCell(const std::string& text);

// "Save list as TXT-file" and "Save list as HTML-file" for the page on
// display; other pages only beep.
void ExportText(catalogue::Application& app);
void ExportHtml(catalogue::Application& app);

}  // namespace tonvault::views
