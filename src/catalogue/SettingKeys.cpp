#include "catalogue/SettingKeys.h"

#include <utility>

namespace tonvault::catalogue {
namespace {

struct Values {
  int start, missing, defaults;
};
constexpr Values Same(int value) { return {value, value, value}; }

struct Texts {
  const char* start;
  const char* missing;
  const char* defaults;
};
constexpr Texts SameText(const char* value) { return {value, value, value}; }

bool WindowRemembered(const Options& o) { return o.window.remember; }

// Collects the keys in reading order.
class KeyList {
 public:
  SettingKey& Flag(const char* section, std::string key, Values v, FlagField field, std::size_t index = 0) {
    SettingKey& k = Add(section, std::move(key), KeyKind::Flag, index);
    Set(k, v);
    k.flag = field;
    return k;
  }
  SettingKey& Number(KeyKind kind, const char* section, std::string key, Values v, NumberField field,
                     std::size_t index = 0) {
    SettingKey& k = Add(section, std::move(key), kind, index);
    Set(k, v);
    k.number = field;
    return k;
  }
  SettingKey& Ranged(KeyKind kind, const char* section, const char* key, Values v, int min, int max,
                     NumberField field) {
    SettingKey& k = Number(kind, section, key, v, field);
    k.min = min;
    k.max = max;
    return k;
  }
  SettingKey& Text(KeyKind kind, const char* section, std::string key, Texts t, TextField field,
                   std::size_t index = 0) {
    SettingKey& k = Add(section, std::move(key), kind, index);
    k.startText = t.start;
    k.missingText = t.missing;
    k.defaultsText = t.defaults;
    k.text = field;
    return k;
  }
  void Step(SettingsStep step) { Add("", "", KeyKind::Step, 0).step = step; }
  // Keys `prefix` + first .. count - 1 of one list's column widths.
  void Widths(KeyKind kind, const char* section, const char* prefix, std::size_t first, std::size_t count,
              Values (*value)(std::size_t column), NumberField field) {
    for (std::size_t c = first; c < count; ++c) Number(kind, section, prefix + std::to_string(c), value(c), field, c);
  }
  std::vector<SettingKey> Take() { return std::move(keys_); }

 private:
  SettingKey& Add(const char* section, std::string key, KeyKind kind, std::size_t index) {
    SettingKey& k = keys_.emplace_back();
    k.section = section;
    k.key = std::move(key);
    k.kind = kind;
    k.index = index;
    return k;
  }
  static void Set(SettingKey& k, Values v) {
    k.start = v.start;
    k.missing = v.missing;
    k.defaults = v.defaults;
  }
  std::vector<SettingKey> keys_;
};

#define AT(member) [](Options & o, std::size_t) -> decltype(auto) { return (o.member); }
#define AT_ROW(member) [](Options & o, std::size_t i) -> decltype(auto) { return (o.member[i]); }

constexpr const char* kOrderRows[kItemRows] = {" Track ", " Artist ",  " Title ",   kItemSeparator,
                                              " Album ", " Year ",    " Comment ", " Genre "};

// Steps 1 to 8 of the read: HTML tags, remembered folders, recent list,
// window, list font and the column layouts.
void AddWindowAndLists(KeyList& k) {
  k.Text(KeyKind::Text, "HTML", "TABLE", SameText("<TABLE Border=1>"), AT(print.tableTag));
  k.Text(KeyKind::Text, "HTML", "TH", SameText("<TH>"), AT(print.headerCellTag));
  k.Text(KeyKind::Text, "HTML", "TR", SameText("<TR>"), AT(print.rowTag));
  k.Text(KeyKind::Text, "HTML", "TD", SameText("<TD>"), AT(print.cellTag));
  k.Flag("Window", "Remember", Same(1), AT(window.remember));
  k.Flag("Window", "NoAskForSave", Same(0), AT(dontAskForSaveOnExit));
  k.Flag("Path", "Remember TXT", Same(1), AT(paths.rememberTxt));
  k.Flag("Path", "Remember HTML", Same(1), AT(paths.rememberHtml));
  k.Flag("Path", "Remember TVD", Same(1), AT(paths.rememberTvd));
  k.Flag("Path", "Remember Import", Same(1), AT(import.rememberImportPath));
  k.Step(SettingsStep::Folders);
  k.Step(SettingsStep::RecentList);
  k.Step(SettingsStep::WindowBounds);
  k.Flag("Window", "Maximized", Same(0), AT(window.maximized)).when = WindowRemembered;
  k.Number(KeyKind::Integer, "TransferWindow", "Width", Same(600), AT(transferWindow.width)).when = WindowRemembered;
  k.Number(KeyKind::Integer, "TransferWindow", "Height", Same(440), AT(transferWindow.height)).when =
      WindowRemembered;
  k.Ranged(KeyKind::Spin, "Window", "ListFontSize", {8, 10, 8}, 6, 12, AT(window.listFontSize));
  k.Step(SettingsStep::FileColumns);
  const char* views[] = {"AL", "AR", "GE"};
  constexpr int kViewWidths[] = {150, 150, 80, 60, 70, 60};
  for (std::size_t v = 0; v < 3; ++v) {
    for (std::size_t c = 0; c < 6; ++c) {
      k.Number(KeyKind::ViewWidth, "Columns", views[v] + std::to_string(c), {kViewWidths[c], 0, kViewWidths[c]},
               [](Options& o, std::size_t i) -> int& { return o.viewColumnWidths[i / 6][i % 6]; }, v * 6 + c);
    }
  }
}

// Step 9: reading files, the transfers from and to the player.
void AddReadingAndTransfers(KeyList& k) {
  k.Flag("ID3", "ReadV1", Same(1), AT(import.readId3v1));
  k.Flag("ID3", "ReadV2", Same(1), AT(import.readId3v2));
  k.Flag("MP3", "CheckVBR", Same(1), AT(mp3.scanForVbr));
  k.Flag("MP3", "ReadVBRHeader", Same(1), AT(mp3.readVbrHeader));
  k.Ranged(KeyKind::Spin, "MP3", "CheckVBRPercent", {2, 5, 2}, 1, 15, AT(mp3.cbrSeconds));
  k.Flag("MP3", "FullScan", Same(0), AT(mp3.fullScan));
  k.Ranged(KeyKind::Spin, "MP3", "ErrorsAllowed", Same(0), 0, 100, AT(mp3.errorsTolerated));
  k.Flag("MP3", "ImportMP3", Same(1), AT(import.mp3));
  k.Flag("MP3", "ImportMP2", Same(0), AT(import.mp2));
  k.Flag("MP3", "ImportWMA", Same(0), AT(import.wma));
  k.Flag("MP3", "ImportWAV", Same(0), AT(import.wav));
  k.Number(KeyKind::Choice, "Download", "Existing Files", Same(2), AT(download.existingFiles));
  k.Flag("Download", "FullCheck", Same(0), AT(download.fullCheck));
  k.Number(KeyKind::Integer, "Download", "ErrorsTolerated", Same(0), AT(download.errorsTolerated));
  k.Flag("Upload", "Remember Path", Same(1), AT(upload.rememberPath));
  k.Number(KeyKind::Choice, "Upload", "Existing Files", Same(2), AT(upload.existingFiles));
  k.Ranged(KeyKind::Index, "Upload", "Renaming", Same(0), 0, 1, AT(upload.renaming));
  k.Step(SettingsStep::UploadFolder);
  // Three-state boxes: a fresh program shows them greyed.
  k.Ranged(KeyKind::Index, "Upload", "ID3V1", {1, 0, 0}, 0, 2, AT(upload.id3v1));
  k.Ranged(KeyKind::Index, "Upload", "ID3V2", {1, 0, 0}, 0, 2, AT(upload.id3v2));
}

// Step 10: export columns, renaming and extracting, the tag editor.
void AddTagging(KeyList& k) {
  k.Step(SettingsStep::PrintOrders);
  for (std::size_t n = 0; n < kItemRows; ++n) {
    k.Text(KeyKind::QuotedText, "ID3", "RenameOrder" + std::to_string(n), {kOrderRows[n], "--- ERROR ---", kOrderRows[n]},
           AT_ROW(rename.order), n);
  }
  k.Text(KeyKind::OneCharacter, "ID3", "RenameSubstitute", SameText("_"), AT(rename.substitute));
  k.Text(KeyKind::QuotedText, "ID3", "RenameSeparator", SameText(" - "), AT(rename.separator));
  k.Ranged(KeyKind::Spin, "ID3", "RenameDigits", Same(2), 1, 4, AT(rename.trackDigits));
  k.Ranged(KeyKind::Index, "ID3", "RenameVer", Same(0), 0, 1, AT(rename.tagVersion));
  k.Flag("ID3", "RenameAdvanced", Same(0), AT(rename.advanced));
  k.Text(KeyKind::QuotedText, "ID3", "RenameFormat", SameText("%T_%a_%t"), AT(rename.format));
  for (std::size_t n = 0; n < kItemRows; ++n) {
    k.Text(KeyKind::QuotedText, "ID3", "ExtractOrder" + std::to_string(n),
           {kOrderRows[n], "--- ERROR ---", kOrderRows[n]}, AT_ROW(rename.extractOrder), n);
  }
  const char* separators[] = {"ExtractSeparator", "ExtractSeparator2", "ExtractSeparator3"};
  for (std::size_t n = 0; n < 3; ++n) {
    const Texts texts = n == 0 ? SameText("-") : Texts{"", "-", ""};
    k.Text(KeyKind::QuotedText, "ID3", separators[n], texts, AT_ROW(rename.extractSeparators), n);
  }
  k.Flag("ID3", "ExtractOverride", Same(1), AT(rename.extractOverride));
  k.Ranged(KeyKind::Index, "ID3", "ExtractVer", Same(0), 0, 1, AT(rename.extractTagVersion));
  k.Flag("ID3", "EnterSave", Same(1), AT(id3.enterSave));
  k.Flag("ID3", "NextSave", Same(1), AT(id3.nextSave));
  k.Flag("ID3", "KeepDate", Same(0), AT(id3.keepOriginalFileDate));
  k.Ranged(KeyKind::Spin, "ID3", "ExtraSpace", Same(100), 0, 1000, AT(id3.extraSpace));
  k.Ranged(KeyKind::Spin, "ID3", "TrackNumberDigits", Same(1), 1, 4, AT(id3.trackNumberDigits));
  k.Text(KeyKind::Text, "ID3", "CodePage", SameText("Windows-1252"), AT(id3.codePage));
}

Values FirstNarrow(std::size_t column, int first, int others) {
  return Same(column == 0 ? first : others);
}

// Step 11, first half: the player, the transfer window, the comparison.
void AddPlayerAndSync(KeyList& k) {
  k.Flag("NJB", "Stop", Same(1), AT(njb.stopAfter));
  k.Ranged(KeyKind::Spin, "NJB", "Timer", Same(5), 0, 60, AT(njb.stopMinutes));
  k.Flag("NJB", "SwitchOff", Same(0), AT(njbSupportOff));
  k.Flag("NJB", "ModifyTracks", Same(0), AT(njb.modifyTracks));
  k.Ranged(KeyKind::Spin, "NJB", "CPUSleep", Same(0), 0, 200, AT(njb.cpuSleep));
  k.Ranged(KeyKind::Spin, "NJB", "ShutdownTimeout", Same(5), 2, 20, AT(njb.shutdownTimeout));
  k.Flag("NJB", "UploadPause", Same(1), AT(njb.uploadPause));
  k.Ranged(KeyKind::Spin, "NJB", "UploadPauseTracks", Same(100), 0, 1000, AT(njb.uploadPauseTracks));
  k.Ranged(KeyKind::Spin, "NJB", "MinFree", Same(100), 20, 500, AT(njb.minFree));
  k.Widths(KeyKind::Width, "TransferWindow", "ColumnWidth", 0, kTransferColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 100); }, AT_ROW(transferWindow.columnWidths));
  k.Flag("TransferWindow", "Beep", Same(1), AT(transferWindow.beep));
  k.Flag("TransferWindow", "StopNJB", Same(1), AT(transferWindow.stopNjb));
  k.Flag("TransferWindow", "NJBOff", {0, 1, 0}, AT(transferWindow.njbOff));
  k.Flag("Sync", "Album", Same(1), AT(sync.album));
  k.Flag("Sync", "Artist", Same(1), AT(sync.artist));
  k.Flag("Sync", "Title", Same(1), AT(sync.title));
  k.Flag("Sync", "FileName", {0, 1, 0}, AT(sync.fileName));
  k.Flag("Sync", "Track", Same(0), AT(sync.track));
  k.Flag("Sync", "Length", Same(0), AT(sync.length));
  k.Flag("Sync", "FileSize", Same(0), AT(sync.fileSize));
  k.Flag("Sync", "Codec", Same(0), AT(sync.codec));
  k.Flag("Sync", "Genre", Same(0), AT(sync.genre));
  k.Flag("Sync", "Year", Same(0), AT(sync.year));
  k.Flag("Sync", "Comment", Same(0), AT(sync.comment));
  k.Ranged(KeyKind::Spin, "Sync", "LengthTolerance", {0, 3, 3}, 0, 120, AT(sync.lengthTolerance));
  k.Ranged(KeyKind::Spin, "Sync", "FileSizeTolerance", {0, 5, 5}, 0, 10000, AT(sync.fileSizeTolerance));
  k.Ranged(KeyKind::Index, "Sync", "ArtistCompare", Same(0), 0, 8, AT(sync.artistMode));
  k.Ranged(KeyKind::Index, "Sync", "AlbumCompare", Same(0), 0, 8, AT(sync.albumMode));
  k.Ranged(KeyKind::Index, "Sync", "TitleCompare", Same(0), 0, 8, AT(sync.titleMode));
  k.Ranged(KeyKind::Index, "Sync", "FileNameCompare", Same(1), 0, 8, AT(sync.fileNameMode));
  k.Flag("Sync", "ShowCaseWarning", Same(1), AT(sync.showCaseWarning));
  k.Flag("Sync", "PCButton", Same(1), AT(sync.onlyOnPc));
  k.Flag("Sync", "NJBButton", Same(0), AT(sync.onlyOnNjb));
  k.Flag("Sync", "BothButton", Same(0), AT(sync.onBoth));
  k.Flag("Sync", "MultiButton", Same(0), AT(sync.multipleMatch));
  // Column 12 is the narrow "=" column between the two sides.
  k.Widths(KeyKind::Width, "Sync", "ColumnWidth", 1, kSyncColumns,
           [](std::size_t c) { return c == 12 ? Values{16, 80, 16} : Same(80); }, AT_ROW(sync.columnWidths));
}

// The search and duplicate options, which the "&Defaults" button keeps.
void AddSearchAndDuplicate(KeyList& k) {
  struct Entry {
    const char* section;
    const char* key;
    int value;
    FlagField field;
  };
  const Entry flags[] = {
      {"Search", "Case", 0, AT(search.matchCase)},
      {"Search", "Beginning", 0, AT(search.onlyAtBeginning)},
      {"Search", "Append", 0, AT(search.appendResults)},
      {"Search", "Selected", 0, AT(search.onlySelected)},
      {"Search", "Album", 1, AT(search.album)},
      {"Search", "Artist", 1, AT(search.artist)},
      {"Search", "Title", 1, AT(search.title)},
      {"Search", "Genre", 0, AT(search.genre)},
      {"Search", "Year", 0, AT(search.year)},
      {"Search", "Comment", 0, AT(search.comment)},
      {"Search", "FileName", 0, AT(search.filename)},
      {"Search", "Path", 0, AT(search.path)},
      {"Search", "Label", 0, AT(search.label)},
      {"Search", "Track", 0, AT(search.track)},
      {"Duplicate", "Append", 0, AT(duplicate.appendResults)},
      {"Duplicate", "Selected", 0, AT(duplicate.onlySelected)},
      {"Duplicate", "Remove", 0, AT(duplicate.removeDuplicates)},
      {"Duplicate", "EmptyLines", 1, AT(duplicate.emptyLines)},
      {"Duplicate", "Album", 1, AT(duplicate.album)},
      {"Duplicate", "Artist", 1, AT(duplicate.artist)},
      {"Duplicate", "Title", 1, AT(duplicate.title)},
      {"Duplicate", "Genre", 0, AT(duplicate.genre)},
      {"Duplicate", "Year", 0, AT(duplicate.year)},
      {"Duplicate", "FileSize", 0, AT(duplicate.fileSize)},
      {"Duplicate", "Comment", 0, AT(duplicate.comment)},
      {"Duplicate", "FileName", 0, AT(duplicate.filename)},
      {"Duplicate", "Path", 0, AT(duplicate.path)},
      {"Duplicate", "Label", 0, AT(duplicate.label)},
      {"Duplicate", "Drive", 0, AT(duplicate.drive)},
      {"Duplicate", "Track", 0, AT(duplicate.track)},
      {"Duplicate", "Length", 0, AT(duplicate.length)},
  };
  for (const Entry& e : flags) k.Flag(e.section, e.key, Same(e.value), e.field).keptByDefaults = true;
  k.Ranged(KeyKind::Index, "Duplicate", "AlbumIndex", Same(0), 0, 8, AT(duplicate.albumMode)).keptByDefaults = true;
  k.Ranged(KeyKind::Index, "Duplicate", "ArtistIndex", Same(0), 0, 8, AT(duplicate.artistMode)).keptByDefaults =
      true;
  k.Ranged(KeyKind::Index, "Duplicate", "TitleIndex", Same(0), 0, 8, AT(duplicate.titleMode)).keptByDefaults = true;
}

// Step 11, second half: playlists, analysis, search, duplicates, Quick
// Copy, the remote player; then step 12, the device kind.
void AddPagesAndSearch(KeyList& k) {
  k.Number(KeyKind::Integer, "PlayList", "Splitter", Same(400), AT(playlist.splitter));
  k.Widths(KeyKind::Width, "PlayList", "ColumnWidth", 0, kPlaylistColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 80); }, AT_ROW(playlist.columnWidths));
  k.Widths(KeyKind::Width, "PlayList", "TrackColumnWidth", 0, kPlaylistTrackColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 80); }, AT_ROW(playlist.trackColumnWidths));
  k.Flag("PlayList", "SortWarning", Same(1), AT(playlist.sortWarning));
  k.Flag("MP3-Analyze", "BeginAutoFix", Same(0), AT(analyze.beginAutoFix));
  k.Flag("MP3-Analyze", "EndAutoFix", Same(0), AT(analyze.endAutoFix));
  k.Flag("MP3-Analyze", "Begin", Same(1), AT(analyze.beginSpace));
  k.Flag("MP3-Analyze", "End", Same(1), AT(analyze.endSpace));
  k.Flag("MP3-Analyze", "MPEG", Same(1), AT(analyze.mpegChange));
  k.Flag("MP3-Analyze", "Layer", Same(1), AT(analyze.layerChange));
  k.Flag("MP3-Analyze", "Frequency", Same(1), AT(analyze.frequencyChange));
  k.Flag("MP3-Analyze", "Mode", Same(0), AT(analyze.modeChange));
  k.Flag("MP3-Analyze", "Bad", Same(1), AT(analyze.badFrames));
  k.Flag("MP3-Analyze", "KeepDate", Same(0), AT(analyze.keepOriginalFileDate));
  AddSearchAndDuplicate(k);
  k.Number(KeyKind::Integer, "Quick", "LeftPanelWidth", Same(0), AT(quick.leftPanelWidth));
  k.Flag("Quick", "Audio", Same(1), AT(quick.audio));
  k.Widths(KeyKind::Width, "Quick", "LeftColumnWidth", 0, kQuickColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 80); }, AT_ROW(quick.leftColumnWidths));
  k.Widths(KeyKind::Width, "Quick", "RightColumnWidth", 0, kQuickColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 80); }, AT_ROW(quick.rightColumnWidths));
  k.Number(KeyKind::Integer, "Player", "LeftWidth", Same(240), AT(player.leftWidth));
  k.Widths(KeyKind::PlayerWidth, "Player", "ColumnWidth", 0, kPlayerColumns,
           [](std::size_t c) { return FirstNarrow(c, 20, 100); }, AT_ROW(player.columnWidths));
  k.Number(KeyKind::Integer, "NomadII", "FM_Column1", Same(40), AT(player.fmColumn1));
  k.Number(KeyKind::Integer, "NomadII", "FM_Column2", Same(60), AT(player.fmColumn2));
  k.Ranged(KeyKind::Index, "Device", "Player", Same(0), 0, 3, AT(device.player));
  k.Text(KeyKind::Text, "Device", "PlayerFolder", SameText(""), AT(device.folder));
  k.Step(SettingsStep::Device);
}

std::vector<SettingKey> BuildKeys() {
  KeyList k;
  AddWindowAndLists(k);
  AddReadingAndTransfers(k);
  AddTagging(k);
  AddPlayerAndSync(k);
  AddPagesAndSearch(k);
  return k.Take();
}

}  // namespace

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = BuildKeys();
  return keys;
}

namespace {

void SetValue(const SettingKey& k, Options& o, int value, const char* text) {
  if (k.flag) k.flag(o, k.index) = value != 0;
  if (k.number) k.number(o, k.index) = value;
  if (k.text) k.text(o, k.index) = text;
}

}  // namespace

void ApplyStartValues(Options& options) {
  for (const SettingKey& k : SettingKeys()) SetValue(k, options, k.start, k.startText);
}

void ApplyDefaultsButtonValues(Options& options) {
  for (const SettingKey& k : SettingKeys()) {
    if (!k.keptByDefaults) SetValue(k, options, k.defaults, k.defaultsText);
  }
}

Options::Options() { ApplyStartValues(*this); }

}  // namespace tonvault::catalogue
