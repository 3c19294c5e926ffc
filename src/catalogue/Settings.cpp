#include "catalogue/Settings.h"

#include <algorithm>
#include <limits>
#include <initializer_list>
#include <optional>

#include "catalogue/LaterSettings.h"

namespace tonvault::catalogue {
namespace {

constexpr const char* kErrorHeading = "--- ERROR ---";

// Thrown inside the reader to end the whole read silently.
struct StopRead {};

struct FlagKey {
  const char* section;
  const char* key;
  bool missing;  // the value a missing key reads as
  bool& (*field)(Options&);
};

struct SpinKey {
  const char* section;
  const char* key;
  int missing, min, max;
  int& (*field)(Options&);
};

// Flags of steps 2, 9 and 11 of the read, each in the order it is read.
const FlagKey kStartFlags[] = {
    {"Window", "Remember", true, [](Options& o) -> bool& { return o.window.remember; }},
    {"Window", "NoAskForSave", false, [](Options& o) -> bool& { return o.dontAskForSaveOnExit; }},
    {"Path", "Remember TXT", true, [](Options& o) -> bool& { return o.paths.rememberTxt; }},
    {"Path", "Remember HTML", true, [](Options& o) -> bool& { return o.paths.rememberHtml; }},
    {"Path", "Remember TVD", true, [](Options& o) -> bool& { return o.paths.rememberTvd; }},
    {"Path", "Remember Import", true, [](Options& o) -> bool& { return o.import.rememberImportPath; }},
};

const FlagKey kReadingFlags[] = {
    {"ID3", "ReadV1", true, [](Options& o) -> bool& { return o.import.readId3v1; }},
    {"ID3", "ReadV2", true, [](Options& o) -> bool& { return o.import.readId3v2; }},
    {"MP3", "CheckVBR", true, [](Options& o) -> bool& { return o.mp3.scanForVbr; }},
    {"MP3", "ReadVBRHeader", true, [](Options& o) -> bool& { return o.mp3.readVbrHeader; }},
    {"MP3", "FullScan", false, [](Options& o) -> bool& { return o.mp3.fullScan; }},
    {"MP3", "ImportMP3", true, [](Options& o) -> bool& { return o.import.mp3; }},
    {"MP3", "ImportMP2", false, [](Options& o) -> bool& { return o.import.mp2; }},
    {"MP3", "ImportWMA", false, [](Options& o) -> bool& { return o.import.wma; }},
    {"MP3", "ImportWAV", false, [](Options& o) -> bool& { return o.import.wav; }},
};

const SpinKey kReadingSpins[] = {
    {"MP3", "CheckVBRPercent", 5, 1, 15, [](Options& o) -> int& { return o.mp3.cbrSeconds; }},
    {"MP3", "ErrorsAllowed", 0, 0, 100, [](Options& o) -> int& { return o.mp3.errorsTolerated; }},
};

const FlagKey kTagFlags[] = {
    {"ID3", "KeepDate", false, [](Options& o) -> bool& { return o.id3.keepOriginalFileDate; }},
};

const SpinKey kTagSpins[] = {
    {"ID3", "ExtraSpace", 100, 0, 1000, [](Options& o) -> int& { return o.id3.extraSpace; }},
};

#define SEARCH_FLAG(key, member, missing) \
  {"Search", key, missing, [](Options& o) -> bool& { return o.search.member; }}
#define DUPLICATE_FLAG(key, member, missing) \
  {"Duplicate", key, missing, [](Options& o) -> bool& { return o.duplicate.member; }}

const FlagKey kSearchFlags[] = {
    {"NJB", "SwitchOff", false, [](Options& o) -> bool& { return o.njbSupportOff; }},
    SEARCH_FLAG("Case", matchCase, false),      SEARCH_FLAG("Beginning", onlyAtBeginning, false),
    SEARCH_FLAG("Append", appendResults, false), SEARCH_FLAG("Selected", onlySelected, false),
    SEARCH_FLAG("Album", album, true),           SEARCH_FLAG("Artist", artist, true),
    SEARCH_FLAG("Title", title, true),           SEARCH_FLAG("Genre", genre, false),
    SEARCH_FLAG("Year", year, false),            SEARCH_FLAG("Comment", comment, false),
    SEARCH_FLAG("FileName", filename, false),    SEARCH_FLAG("Path", path, false),
    SEARCH_FLAG("Label", label, false),          SEARCH_FLAG("Track", track, false),
    DUPLICATE_FLAG("Append", appendResults, false), DUPLICATE_FLAG("Selected", onlySelected, false),
    DUPLICATE_FLAG("Remove", removeDuplicates, false), DUPLICATE_FLAG("EmptyLines", emptyLines, true),
    DUPLICATE_FLAG("Album", album, true),        DUPLICATE_FLAG("Artist", artist, true),
    DUPLICATE_FLAG("Title", title, true),        DUPLICATE_FLAG("Genre", genre, false),
    DUPLICATE_FLAG("Year", year, false),         DUPLICATE_FLAG("FileSize", fileSize, false),
    DUPLICATE_FLAG("Comment", comment, false),   DUPLICATE_FLAG("FileName", filename, false),
    DUPLICATE_FLAG("Path", path, false),         DUPLICATE_FLAG("Label", label, false),
    DUPLICATE_FLAG("Drive", drive, false),       DUPLICATE_FLAG("Track", track, false),
    DUPLICATE_FLAG("Length", length, false),
};

#undef SEARCH_FLAG
#undef DUPLICATE_FLAG

const SpinKey kSearchSpins[] = {
    {"Duplicate", "AlbumIndex", 0, 0, 8, [](Options& o) -> int& { return o.duplicate.albumMode; }},
    {"Duplicate", "ArtistIndex", 0, 0, 8, [](Options& o) -> int& { return o.duplicate.artistMode; }},
    {"Duplicate", "TitleIndex", 0, 0, 8, [](Options& o) -> int& { return o.duplicate.titleMode; }},
};

const char* const kViewSections[] = {"AL", "AR", "GE"};

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
  const IniFile& File() const { return ini_; }

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
  bool Flag(const char* section, const std::string& key, bool missing) const {
    return Integer(section, key, missing ? 1 : 0) != 0;
  }
  // A spin box value: outside the 16-bit range ends the read, otherwise it
  // is held within the box's range.
  int Spin(const SpinKey& spin) const {
    const int value = Integer(spin.section, spin.key, spin.missing);
    if (value < -32768 || value > 32767) throw StopRead{};
    return std::clamp(value, spin.min, spin.max);
  }

 private:
  const IniFile& ini_;
};

template <std::size_t N>
void ReadFlags(const Reader& reader, const FlagKey (&flags)[N], Options& options) {
  for (const FlagKey& f : flags) f.field(options) = reader.Flag(f.section, f.key, f.missing);
}

template <std::size_t N>
void ReadSpins(const Reader& reader, const SpinKey (&spins)[N], Options& options) {
  for (const SpinKey& s : spins) s.field(options) = reader.Spin(s);
}

void ReadHtmlTags(const Reader& r, PrintOptions& print) {
  print.tableTag = r.Text("HTML", "TABLE", "<TABLE Border=1>");
  print.headerCellTag = r.Text("HTML", "TH", "<TH>");
  print.rowTag = r.Text("HTML", "TR", "<TR>");
  print.cellTag = r.Text("HTML", "TD", "<TD>");
}

void ReadFolders(const Reader& r, Application& app) {
  const std::string home = HomeFolder();
  const PathOptions& paths = app.options.paths;
  if (paths.rememberTxt) app.txtFolder = r.Text("Path", "TXT", home);
  if (paths.rememberHtml) app.htmlFolder = r.Text("Path", "HTML", home);
  if (paths.rememberTvd) app.databaseFolder = r.Text("Path", "TVD", home);
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

void ReadWindow(const Reader& r, WindowOptions& w, ScreenSize screen) {
  if (!w.remember) return;
  w.left = r.Integer("Window", "Left", w.left);
  w.top = r.Integer("Window", "Top", w.top);
  w.width = r.Integer("Window", "Width", w.width);
  w.height = r.Integer("Window", "Height", w.height);
  KeepOnScreen(w, screen);
  w.maximized = r.Flag("Window", "Maximized", false);
}

void ReadFileColumns(const Reader& r, Application& app) {
  ColumnLayout& layout = app.options.columns;
  for (int k = 0; k < kDisplayColumns; ++k) {
    const auto position = static_cast<std::size_t>(k);
    const int width = r.Integer("ColumnsWidth", std::to_string(k), 0);
    const int pixels = std::max(std::abs(width), 3);
    layout.widths[position] = width < 0 ? -pixels : pixels;
    layout.headings[position] = r.Text("ColumnsOrder", "ColumnTitle" + std::to_string(k), kErrorHeading);
  }
  app.columnMap.RebuildFromHeadings({layout.headings.begin() + 1, layout.headings.end()});
}

void ReadViewColumns(const Reader& r, Options& options) {
  for (std::size_t v = 0; v < 3; ++v) {
    for (std::size_t c = 0; c < 6; ++c) {
      const int width = r.Integer("Columns", kViewSections[v] + std::to_string(c), 0);
      options.viewColumnWidths[v][c] = width < 4 ? 3 : width;
    }
  }
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

// Sections of features not built yet, kept as normalised text.
void ReadLater(const Reader& r, Application& app, std::initializer_list<const char*> sections) {
  for (const char* section : sections) {
    if (!ReadLaterSection(r.File(), app.settingsAsRead, section)) throw StopRead{};
  }
}

// Renaming and extracting texts; the substitute character is taken only
// when it is exactly one character long.
void ReadRenaming(const Reader& r, RenameOptions& rename) {
  const std::string substitute = r.Text("ID3", "RenameSubstitute", "_");
  if (substitute.size() == 1) rename.substitute = substitute;
  rename.separator = r.Text("ID3", "RenameSeparator", " - ");
  rename.trackDigits = r.Spin({"ID3", "RenameDigits", 2, 1, 4, nullptr});
  rename.tagVersion = std::clamp(r.Integer("ID3", "RenameVer", 0), 0, 1);
  rename.advanced = r.Flag("ID3", "RenameAdvanced", false);
  rename.format = r.Text("ID3", "RenameFormat", "%T_%a_%t");
  const char* separatorKeys[] = {"ExtractSeparator", "ExtractSeparator2", "ExtractSeparator3"};
  for (std::size_t i = 0; i < 3; ++i) rename.extractSeparators[i] = r.Text("ID3", separatorKeys[i], "-");
  rename.extractOverride = r.Flag("ID3", "ExtractOverride", true);
  rename.extractTagVersion = std::clamp(r.Integer("ID3", "ExtractVer", 0), 0, 1);
}

void ReadInOrder(const Reader& r, Application& app, ScreenSize screen) {
  Options& o = app.options;
  ReadHtmlTags(r, o.print);
  ReadFlags(r, kStartFlags, o);
  ReadFolders(r, app);
  ReadRecentList(r, app);
  ReadWindow(r, o.window, screen);
  o.window.listFontSize = r.Spin({"Window", "ListFontSize", 10, 6, 12, nullptr});
  ReadFileColumns(r, app);
  ReadViewColumns(r, o);
  ReadFlags(r, kReadingFlags, o);
  ReadSpins(r, kReadingSpins, o);
  ReadLater(r, app, {"Download", "Upload"});
  ReadPrintOrder(r, "PrintOrder1", o.print.filesOrder);
  ReadPrintOrder(r, "PrintOrder2", o.print.viewsOrder);
  ReadLater(r, app, {"ID3"});
  ReadRenaming(r, o.rename);
  ReadFlags(r, kTagFlags, o);
  ReadSpins(r, kTagSpins, o);
  ReadLater(r, app, {"NJB", "TransferWindow", "Sync", "PlayList", "MP3-Analyze"});
  ReadFlags(r, kSearchFlags, o);
  ReadSpins(r, kSearchSpins, o);
  ReadLater(r, app, {"Quick", "Player", "NomadII", "Device"});
}

// ---- writing ----

std::string Number(int value) { return std::to_string(value); }

template <std::size_t N>
void WriteFlags(IniFile& ini, const FlagKey (&flags)[N], Options& options) {
  for (const FlagKey& f : flags) ini.Set(f.section, f.key, f.field(options) ? "1" : "0");
}

template <std::size_t N>
void WriteSpins(IniFile& ini, const SpinKey (&spins)[N], Options& options) {
  for (const SpinKey& s : spins) ini.Set(s.section, s.key, Number(s.field(options)));
}

void WriteWindow(IniFile& ini, const Options& o) {
  const WindowOptions& w = o.window;
  const auto known = [](int v) { return v == -9999 ? 0 : v; };
  ini.Set("Window", "Left", Number(known(w.left)));
  ini.Set("Window", "Top", Number(known(w.top)));
  ini.Set("Window", "Width", Number(known(w.width)));
  ini.Set("Window", "Height", Number(known(w.height)));
  ini.Set("Window", "ListFontSize", Number(w.listFontSize));
  ini.Set("Window", "Maximized", w.maximized ? "1" : "0");
}

void WritePaths(IniFile& ini, const Application& app) {
  ini.Set("Path", "TXT", app.txtFolder);
  ini.Set("Path", "HTML", app.htmlFolder);
  ini.Set("Path", "TVD", app.databaseFolder);
  ini.Set("Path", "Import", app.importFolder.empty() ? HomeFolder() : app.importFolder);
  ini.Set("Path", "CopyMove", app.copyMoveFolder.empty() ? HomeFolder() : app.copyMoveFolder);
  if (!ini.Get("Path", "TVP")) ini.Set("Path", "TVP", app.databaseFolder);
  if (!ini.Get("Path", "Upload")) ini.Set("Path", "Upload", HomeFolder());
  for (int n = 1; n <= 11; ++n) ini.RemoveKey("Path", "Last" + Number(n));
  const auto& recent = app.recentDatabases.Entries();
  for (std::size_t i = 0; i < recent.size(); ++i) ini.Set("Path", "Last" + Number(static_cast<int>(i) + 1), recent[i]);
}

void WriteHtmlTags(IniFile& ini, const PrintOptions& print) {
  ini.Set("HTML", "TABLE", print.tableTag);
  ini.Set("HTML", "TH", print.headerCellTag);
  ini.Set("HTML", "TR", print.rowTag);
  ini.Set("HTML", "TD", print.cellTag);
}

void WriteColumns(IniFile& ini, const Options& o) {
  for (int k = 0; k < kDisplayColumns; ++k) {
    const auto position = static_cast<std::size_t>(k);
    ini.Set("ColumnsOrder", "ColumnTitle" + Number(k), Quoted(o.columns.headings[position]));
    ini.Set("ColumnsWidth", Number(k), Number(o.columns.widths[position]));
  }
  for (std::size_t v = 0; v < 3; ++v) {
    for (std::size_t c = 0; c < 6; ++c) {
      ini.Set("Columns", kViewSections[v] + Number(static_cast<int>(c)), Number(o.viewColumnWidths[v][c]));
    }
  }
}

void WritePrintOrder(IniFile& ini, const char* section, const std::vector<PrintItem>& rows) {
  for (std::size_t n = 0; n < rows.size(); ++n) {
    ini.Set(section, "ColumnTitle" + Number(static_cast<int>(n)), Quoted(rows[n].caption));
    ini.Set(section, "ColumnOrder" + Number(static_cast<int>(n)), Number(rows[n].column));
  }
}

void WriteRenaming(IniFile& ini, const RenameOptions& rename) {
  ini.Set("ID3", "RenameSubstitute", Quoted(rename.substitute));
  ini.Set("ID3", "RenameSeparator", Quoted(rename.separator));
  ini.Set("ID3", "RenameDigits", Number(rename.trackDigits));
  ini.Set("ID3", "RenameVer", Number(rename.tagVersion));
  ini.Set("ID3", "RenameAdvanced", rename.advanced ? "1" : "0");
  ini.Set("ID3", "RenameFormat", Quoted(rename.format));
  const char* separatorKeys[] = {"ExtractSeparator", "ExtractSeparator2", "ExtractSeparator3"};
  for (std::size_t i = 0; i < 3; ++i) ini.Set("ID3", separatorKeys[i], Quoted(rename.extractSeparators[i]));
  ini.Set("ID3", "ExtractOverride", rename.extractOverride ? "1" : "0");
  ini.Set("ID3", "ExtractVer", Number(rename.extractTagVersion));
}

}  // namespace

void ReadSettings(const IniFile& ini, Application& app, ScreenSize screen) {
  app.settingsAsRead = ini;
  app.settingsAsRead.RemoveSection("WAV");
  SetLaterSettingsToStartValues(app.settingsAsRead);
  try {
    ReadInOrder(Reader(ini), app, screen);
  } catch (const StopRead&) {
    // The rest of the file is ignored; the options read so far stay.
  }
}

IniFile WriteSettings(const Application& app) {
  IniFile ini = app.settingsAsRead;
  Options o = app.options;  // the key tables hand out mutable fields
  WriteFlags(ini, kStartFlags, o);
  WriteWindow(ini, o);
  WritePaths(ini, app);
  WriteHtmlTags(ini, o.print);
  WriteColumns(ini, o);
  WriteFlags(ini, kReadingFlags, o);
  WriteSpins(ini, kReadingSpins, o);
  WritePrintOrder(ini, "PrintOrder1", o.print.filesOrder);
  WritePrintOrder(ini, "PrintOrder2", o.print.viewsOrder);
  WriteRenaming(ini, o.rename);
  WriteFlags(ini, kTagFlags, o);
  WriteSpins(ini, kTagSpins, o);
  WriteFlags(ini, kSearchFlags, o);
  WriteSpins(ini, kSearchSpins, o);
  AddMissingLaterSettings(ini);
  ini.RemoveSection("WAV");
  return ini;
}

}  // namespace tonvault::catalogue
