#include "views/Export.h"

#include <filesystem>

#include "audio/TextEncoding.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "files/ReplaceFile.h"
#include "views/Views.h"

namespace tonvault::views {

using catalogue::Column;
using catalogue::Page;

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Trimmed(const std::string& text) { return std::string(audio::TrimControl(text)); }

// The items above the separator.
std::vector<catalogue::PrintItem> ItemsAboveSeparator(const std::vector<catalogue::PrintItem>& items) {
  std::vector<catalogue::PrintItem> above;
  for (const auto& item : items) {
    if (item.column < 0) break;
    above.push_back(item);
  }
  return above;
}

// The logical column whose caption equals the item's text, both trimmed.
int ListColumnOf(const catalogue::PrintItem& item) {
  const std::string caption = Trimmed(item.caption);
  for (int c = 0; c < catalogue::kLogicalColumnCount; ++c) {
    if (catalogue::ColumnCaptions()[static_cast<std::size_t>(c)] == caption) return c;
  }
  return -1;
}

// The view column (0..5) an item names by the word it contains.
int ViewColumnOf(const catalogue::PrintItem& item, catalogue::ViewKind kind) {
  const std::string& text = item.caption;
  const std::pair<const char*, std::array<int, 3>> words[] = {
      {"Album", {0, 1, 2}}, {"Artist", {1, 0, 1}}, {"Genre", {2, 2, 0}}};
  for (const auto& [word, columns] : words) {
    if (text.find(word) != std::string::npos) return columns[static_cast<std::size_t>(kind)];
  }
  if (text.find("Track") != std::string::npos) return 3;
  if (text.find("Size") != std::string::npos) return 4;
  if (text.find("Length") != std::string::npos) return 5;
  return -1;
}

const char* TitleOf(Page page) {
  switch (page) {
    case Page::Files: return "Tonvault   -   All files";
    case Page::Results: return "Tonvault   -   Search results";
    case Page::Albums: return "Tonvault   -   Albums";
    case Page::Artists: return "Tonvault   -   Artists";
    default: return "Tonvault   -   Genres";
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

void Export(catalogue::Application& app, bool html) {
  const auto table = TableOfPage(app, app.currentPage);
  if (!table) {
    app.frontend.Beep(catalogue::Sound::Default);
    return;
  }
  std::string& folder = html ? app.htmlFolder : app.txtFolder;
  const catalogue::FileDialogRequest request{html ? " Save list as HTML-file" : " Save list as TXT-file", folder,
                                             html ? "*.htm" : "*.txt", html ? "htm" : "txt",
                                             html ? "HTML-files (*.HTM)|*.HTM" : "Textfiles (*.TXT)|*.TXT"};
  const auto chosen = app.frontend.ChooseSaveFile(request);
  if (!chosen) return;
  folder = std::filesystem::path(*chosen).parent_path().string() + "/";
  std::string content;
  {
    catalogue::LongOperation operation(app, {25, {}});
    ExportTable written{table->title, table->header, {}};
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
      written.rows.push_back(table->rows[i]);
      if (!operation.ItemDone(i + 1, table->rows.size())) break;
    }
    content = html ? HtmlExport(written, app.options.print) : TextExport(written);
    if (const auto error = files::WriteWholeFile(*chosen, content)) {
      app.frontend.Beep(catalogue::Sound::Exclamation);
      app.frontend.ShowMessage(catalogue::MessageKind::Error,
                               "Cannot write File\n\r\"" + *chosen + "\" !\n\r\r" + error->Text(), {catalogue::Button::Ok});
    }
  }
}

}  // namespace

std::optional<ExportTable> TableOfPage(const catalogue::Application& app, Page page) {
  ExportTable table;
  table.title = TitleOf(page);
  if (page == Page::Files || page == Page::Results) {
    const auto& rows = page == Page::Files ? app.files : app.results;
    std::vector<int> columns;
    for (const auto& item : ItemsAboveSeparator(app.options.print.filesOrder)) {
      const int column = ListColumnOf(item);
      if (column < 0) continue;
      columns.push_back(column);
      table.header.push_back(Trimmed(item.caption));
    }
    for (const auto& row : rows) {
      std::vector<std::string> cells;
      for (int column : columns) cells.push_back(app.columnMap.Get(row, static_cast<Column>(column)));
      table.rows.push_back(std::move(cells));
    }
    return table;
  }
  if (page != Page::Albums && page != Page::Artists && page != Page::Genres) return std::nullopt;
  const auto kind = static_cast<catalogue::ViewKind>(static_cast<int>(page) - static_cast<int>(Page::Albums));
  std::vector<int> columns;
  for (const auto& item : ItemsAboveSeparator(app.options.print.viewsOrder)) {
    const int column = ViewColumnOf(item, kind);
    if (column < 0) continue;
    columns.push_back(column);
    table.header.emplace_back(ViewCaptions(kind)[static_cast<std::size_t>(column)]);
  }
  for (const auto& line : app.views[static_cast<std::size_t>(kind)].lines) {
    const std::string* texts[] = {&line.key, &line.second, &line.third, &line.tracks, &line.size, &line.length};
    std::vector<std::string> cells;
    for (int column : columns) cells.push_back(*texts[column]);
    table.rows.push_back(std::move(cells));
  }
  return table;
}

std::string TextExport(const ExportTable& table) {
  std::string out;
  auto line = [&out](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i != 0) out += '\t';
      // A tab, CR or LF inside a cell would add a field or split the line:
      // it is written as a blank.
      for (const char c : fields[i]) out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    out += kLineEnd;
  };
  line(table.header);
  for (const auto& row : table.rows) line(row);
  return out;
}

std::string HtmlCell(const std::string& text) {
  if (text.empty()) return "-";
  std::string shown = text;
  if (const std::size_t open = shown.find('<'); open != std::string::npos) shown[open] = '[';
  if (const std::size_t close = shown.find('>'); close != std::string::npos) shown[close] = ']';
  return Escaped(shown);
}

std::string HtmlExport(const ExportTable& table, const catalogue::PrintOptions& tags) {
  std::string out = "<html><head><meta charset=\"utf-8\"><TITLE>" + Escaped(table.title) + "</TITLE></head>" + kLineEnd;
  out += std::string("<body>") + kLineEnd;
  out += tags.tableTag + kLineEnd;
  out += tags.rowTag;
  for (const std::string& caption : table.header) out += tags.headerCellTag + Escaped(caption) + "</th>";
  out += std::string("</tr>") + kLineEnd;
  for (const auto& row : table.rows) {
    out += tags.rowTag;
    for (const std::string& cell : row) out += tags.cellTag + HtmlCell(cell) + "</td>";
    out += std::string("</tr>") + kLineEnd;
  }
  out += std::string("</table>") + kLineEnd;
  out += std::string("</body></html>") + kLineEnd;
  return out;
}

void ExportText(catalogue::Application& app) { Export(app, false); }
void ExportHtml(catalogue::Application& app) { Export(app, true); }

}  // namespace tonvault::views
