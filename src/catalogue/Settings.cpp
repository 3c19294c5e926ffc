#include "catalogue/Settings.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "catalogue/SettingKeys.h"
#include "catalogue/Utf8Characters.h"

namespace tonvault::catalogue {
namespace {

constexpr const char* kErrorHeading = "--- ERROR ---";

// Thrown inside the reader to end the whole read silently.
struct StopRead {};

// A value beyond the range of int counts as malformed.
std::optional<int> ParseInteger(const std::string& text) {
  const auto value = ParseIniInteger(text);
  if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::string WithoutQuotes(std::string text) {
  std::erase(text, '"');
  return text;
}

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

// Typed access to the file being read.
class Reader {
 public:
  explicit Reader(const IniFile& ini) : ini_(ini) {}

  std::optional<std::string> Text(const char* section, const std::string& key) const {
    auto value = ini_.Get(section, key);
    if (value) *value = WithoutQuotes(std::move(*value));
    return value;
  }
  std::string Text(const char* section, const std::string& key, const std::string& missing) const {
    return Text(section, key).value_or(missing);
  }
  int Integer(const char* section, const std::string& key, int missing) const {
    const auto text = Text(section, key);
    return text ? ParseInteger(*text).value_or(missing) : missing;
  }
  // A spin box value: outside the 16-bit range ends the read, otherwise it
  // is held within the box's range.
  int Spin(const SettingKey& k) const {
    const auto text = Text(k.section, k.key);
    const long long value = text ? ParseIniInteger(*text).value_or(k.missing) : k.missing;
    if (value < -32768 || value > 32767) throw StopRead{};
    return std::clamp(static_cast<int>(value), k.min, k.max);
  }

 private:
  const IniFile& ini_;
};

// The value of a number key by the rules of its kind.
int ReadNumber(const Reader& r, const SettingKey& k) {
  if (k.kind == KeyKind::Spin) return r.Spin(k);
  const int value = r.Integer(k.section, k.key, k.missing);
  switch (k.kind) {
    case KeyKind::Index: return std::clamp(value, k.min, k.max);
    case KeyKind::Choice: return std::min(value, 2);
    case KeyKind::Width: return std::max(value, 3);
    case KeyKind::ViewWidth: return value < 4 ? 3 : value;
    case KeyKind::PlayerWidth:
      if (value < -2) throw StopRead{};
      return value;
    default: return value;
  }
}

void ReadKey(const Reader& r, const SettingKey& k, Options& o) {
  if (k.flag) {
    k.flag(o, k.index) = r.Integer(k.section, k.key, k.missing) != 0;
  } else if (k.number) {
    k.number(o, k.index) = ReadNumber(r, k);
  } else if (k.text) {
    const std::string text = r.Text(k.section, k.key, k.missingText);
    if (k.kind != KeyKind::OneCharacter || IsOneUtf8Character(text)) k.text(o, k.index) = text;
  }
}

// ---- the steps with rules of their own ----

void ReadFolders(const Reader& r, Application& app) {
  const std::string home = HomeFolder();
  const PathOptions& paths = app.options.paths;
  if (paths.rememberTxt) app.txtFolder = r.Text("Path", "TXT", home);
  if (paths.rememberHtml) app.htmlFolder = r.Text("Path", "HTML", home);
  if (paths.rememberTvd) {
    app.databaseFolder = r.Text("Path", "TVD", home);
    app.playlistFolder = r.Text("Path", "TVP", app.databaseFolder);
  }
  if (app.options.import.rememberImportPath) app.importFolder = r.Text("Path", "Import", home);
  app.copyMoveFolder = r.Text("Path", "CopyMove", home);
}

void ReadRecentList(const Reader& r, Application& app) {
  for (int n = 10; n >= 1; --n) {
    const auto path = r.Text("Path", "Last" + std::to_string(n));
    if (path && !path->empty()) app.recentDatabases.Add(*path);
  }
}

void KeepOnScreen(WindowOptions& w, ScreenSize screen) {
  if (w.top == -9999 && w.left == -9999) return;
  if (w.top < 0 || w.top > screen.height - 50) w.top = 0;
  const int width = std::max(w.width, 0);
  if (w.left > screen.width - 50 || w.left + width < 80) w.left = 0;
}

void ReadWindowBounds(const Reader& r, WindowOptions& w, ScreenSize screen) {
  if (!w.remember) return;
  w.left = r.Integer("Window", "Left", w.left);
  w.top = r.Integer("Window", "Top", w.top);
  w.width = r.Integer("Window", "Width", w.width);
  w.height = r.Integer("Window", "Height", w.height);
  KeepOnScreen(w, screen);
}

// The first width of the column a heading names, else of the column first
// shown at `position`: what a width missing from the file reads as, so a
// file that lost its column sections still shows readable columns.
int DefaultWidthFor(const std::string& heading, std::size_t position) {
  static const ColumnLayout first;
  const auto& captions = ColumnCaptions();
  for (std::size_t c = 0; c < captions.size(); ++c) {
    if (captions[c] == heading) return first.widths[c + 1];
  }
  return first.widths[position];
}

void ReadFileColumns(const Reader& r, Application& app) {
  constexpr int kMissing = std::numeric_limits<int>::min();
  ColumnLayout& layout = app.options.columns;
  for (int k = 0; k < kDisplayColumns; ++k) {
    const auto position = static_cast<std::size_t>(k);
    layout.headings[position] = r.Text("ColumnsOrder", "ColumnTitle" + std::to_string(k), kErrorHeading);
    int width = r.Integer("ColumnsWidth", std::to_string(k), kMissing);
    if (width == kMissing) width = DefaultWidthFor(layout.headings[position], position);
    const int pixels = std::max(std::abs(width), 3);
    layout.widths[position] = width < 0 ? -pixels : pixels;
  }
  app.columnMap.RebuildFromHeadings({layout.headings.begin() + 1, layout.headings.end()});
}

// One print order section: a row is taken over when its column number is
// present and its text is not an error placeholder.
void ReadPrintOrder(const Reader& r, const char* section, std::vector<PrintItem>& rows) {
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const auto number = r.Text(section, "ColumnOrder" + std::to_string(n));
    int column = -999;
    if (number) {
      const auto parsed = ParseInteger(*number);
      if (!parsed) throw StopRead{};
      column = *parsed;
    }
    const std::string text = r.Text(section, "ColumnTitle" + std::to_string(n), " --- ERROR ---");
    if (column >= -998 && text.find("ERROR") == std::string::npos) rows[n] = {text, column};
  }
}

void ReadStep(const Reader& r, SettingsStep step, Application& app, ScreenSize screen) {
  switch (step) {
    case SettingsStep::Folders: ReadFolders(r, app); break;
    case SettingsStep::RecentList: ReadRecentList(r, app); break;
    case SettingsStep::WindowBounds: ReadWindowBounds(r, app.options.window, screen); break;
    case SettingsStep::FileColumns: ReadFileColumns(r, app); break;
    case SettingsStep::UploadFolder:
      if (app.options.upload.rememberPath) app.uploadFolder = r.Text("Path", "Upload", HomeFolder());
      break;
    case SettingsStep::PrintOrders:
      ReadPrintOrder(r, "PrintOrder1", app.options.print.filesOrder);
      ReadPrintOrder(r, "PrintOrder2", app.options.print.viewsOrder);
      break;
    case SettingsStep::Device: app.deviceKind = std::clamp(r.Integer("Device", "LastDevice", 0), 0, 2); break;
  }
}

void ReadInOrder(const Reader& r, Application& app, ScreenSize screen) {
  for (const SettingKey& k : SettingKeys()) {
    if (k.kind == KeyKind::Step) {
      ReadStep(r, k.step, app, screen);
    } else if (!k.when || k.when(app.options)) {
      ReadKey(r, k, app.options);
    }
  }
}

// ---- writing ----

std::string Number(int value) { return std::to_string(value); }

std::string Folder(const std::string& folder) { return folder.empty() ? HomeFolder() : folder; }

void WriteFolders(IniFile& ini, const Application& app) {
  ini.Set("Path", "TXT", Folder(app.txtFolder));
  ini.Set("Path", "HTML", Folder(app.htmlFolder));
  ini.Set("Path", "TVD", Folder(app.databaseFolder));
  ini.Set("Path", "TVP", Folder(app.playlistFolder.empty() ? app.databaseFolder : app.playlistFolder));
  ini.Set("Path", "Import", Folder(app.importFolder));
  ini.Set("Path", "CopyMove", Folder(app.copyMoveFolder));
  ini.Set("Path", "Upload", Folder(app.uploadFolder));
}

void WriteRecentList(IniFile& ini, const Application& app) {
  for (int n = 1; n <= 11; ++n) ini.RemoveKey("Path", "Last" + Number(n));
  const auto& recent = app.recentDatabases.Entries();
  for (std::size_t i = 0; i < recent.size(); ++i) ini.Set("Path", "Last" + Number(static_cast<int>(i) + 1), recent[i]);
}

void WriteWindowBounds(IniFile& ini, const WindowOptions& w) {
  const auto known = [](int v) { return v == -9999 ? 0 : v; };
  ini.Set("Window", "Left", Number(known(w.left)));
  ini.Set("Window", "Top", Number(known(w.top)));
  ini.Set("Window", "Width", Number(known(w.width)));
  ini.Set("Window", "Height", Number(known(w.height)));
}

void WriteFileColumns(IniFile& ini, const ColumnLayout& layout) {
  for (int k = 0; k < kDisplayColumns; ++k) {
    const auto position = static_cast<std::size_t>(k);
    ini.Set("ColumnsOrder", "ColumnTitle" + Number(k), Quoted(layout.headings[position]));
    ini.Set("ColumnsWidth", Number(k), Number(layout.widths[position]));
  }
}

void WritePrintOrder(IniFile& ini, const char* section, const std::vector<PrintItem>& rows) {
  for (std::size_t n = 0; n < rows.size(); ++n) {
    ini.Set(section, "ColumnTitle" + Number(static_cast<int>(n)), Quoted(rows[n].caption));
    ini.Set(section, "ColumnOrder" + Number(static_cast<int>(n)), Number(rows[n].column));
  }
}

void WriteStep(IniFile& ini, SettingsStep step, const Application& app) {
  switch (step) {
    case SettingsStep::Folders: WriteFolders(ini, app); break;
    case SettingsStep::RecentList: WriteRecentList(ini, app); break;
    case SettingsStep::WindowBounds: WriteWindowBounds(ini, app.options.window); break;
    case SettingsStep::FileColumns: WriteFileColumns(ini, app.options.columns); break;
    case SettingsStep::UploadFolder: break;  // written with the other folders
    case SettingsStep::PrintOrders:
      WritePrintOrder(ini, "PrintOrder1", app.options.print.filesOrder);
      WritePrintOrder(ini, "PrintOrder2", app.options.print.viewsOrder);
      break;
    case SettingsStep::Device: ini.Set("Device", "LastDevice", Number(app.deviceKind)); break;
  }
}

void WriteKey(IniFile& ini, const SettingKey& k, Options& o) {
  if (k.flag) {
    ini.Set(k.section, k.key, k.flag(o, k.index) ? "1" : "0");
  } else if (k.number) {
    ini.Set(k.section, k.key, Number(k.number(o, k.index)));
  } else if (k.text) {
    const std::string& text = k.text(o, k.index);
    ini.Set(k.section, k.key, k.kind == KeyKind::Text ? text : Quoted(text));
  }
}

}  // namespace

void ReadSettings(const IniFile& ini, Application& app, ScreenSize screen) {
  app.settingsAsRead = ini;
  app.settingsAsRead.RemoveSection("WAV");
  try {
    ReadInOrder(Reader(ini), app, screen);
  } catch (const StopRead&) {
    // The rest of the file is ignored; the options read so far stay.
  }
  UseLegacyCodePage(app.options.id3);
}

IniFile WriteSettings(const Application& app) {
  IniFile ini = app.settingsAsRead;
  // A new file lists its sections in this order; an existing file keeps its own.
  for (const char* section : {"Window", "Path", "HTML", "ColumnsOrder", "ColumnsWidth", "Columns", "ID3", "MP3",
                              "PrintOrder1", "PrintOrder2", "NJB", "TransferWindow", "Sync", "Download", "Upload",
                              "PlayList", "MP3-Analyze", "Search", "Duplicate", "Quick", "Player", "NomadII",
                              "Device"}) {
    ini.Add(section);
  }
  Options o = app.options;  // the key table hands out mutable fields
  for (const SettingKey& k : SettingKeys()) {
    if (k.kind == KeyKind::Step) {
      WriteStep(ini, k.step, app);
    } else {
      WriteKey(ini, k, o);
    }
  }
  ini.RemoveSection("WAV");
  return ini;
}

}  // namespace tonvault::catalogue
