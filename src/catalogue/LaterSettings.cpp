#include "catalogue/LaterSettings.h"

#include <optional>
#include <string>

namespace tonvault::catalogue {
namespace {

enum class Kind {
  Flag,         // any integer, non-zero = on; written 1 or 0
  Number,       // an integer; malformed reads as the default
  Spin,         // an integer of a spin box; outside 16 bits ends the read
  Choice,       // "Existing Files": values above 2 read as 2
  Width,        // a list column width: below 3 becomes 3
  PlayerWidth,  // a player column width: below -2 ends the read
  Text,         // kept as written (quoted where quoted)
};

struct LaterKey {
  const char* section;
  const char* key;
  Kind kind;
  const char* start;     // a fresh program
  const char* missing;   // a key missing from an existing file
  const char* defaults;  // the "&Defaults" button
};

#define SAME(section, key, kind, value) {section, key, Kind::kind, value, value, value}
#define ORDER_ROW(n, text) \
  {"ID3", "RenameOrder" #n, Kind::Text, text, "\"--- ERROR ---\"", text}, \
  {"ID3", "ExtractOrder" #n, Kind::Text, text, "\"--- ERROR ---\"", text}

const LaterKey kLaterKeys[] = {
    ORDER_ROW(0, "\" Track \""), ORDER_ROW(1, "\" Artist \""), ORDER_ROW(2, "\" Title \""),
    ORDER_ROW(3, "\" ------ Separator ------\""), ORDER_ROW(4, "\" Album \""), ORDER_ROW(5, "\" Year \""),
    ORDER_ROW(6, "\" Comment \""), ORDER_ROW(7, "\" Genre \""),
    SAME("ID3", "EnterSave", Flag, "1"),
    SAME("ID3", "NextSave", Flag, "1"),
    SAME("ID3", "TrackNumberDigits", Spin, "1"),
    SAME("NJB", "Stop", Flag, "1"),
    SAME("NJB", "Timer", Spin, "5"),
    SAME("NJB", "ModifyTracks", Flag, "0"),
    SAME("NJB", "CPUSleep", Spin, "0"),
    SAME("NJB", "ShutdownTimeout", Spin, "5"),
    SAME("NJB", "UploadPause", Flag, "1"),
    SAME("NJB", "UploadPauseTracks", Spin, "100"),
    SAME("NJB", "MinFree", Spin, "100"),
    SAME("TransferWindow", "Width", Number, "600"),
    SAME("TransferWindow", "Height", Number, "440"),
    SAME("TransferWindow", "ColumnWidth0", Width, "20"),
    SAME("TransferWindow", "Beep", Flag, "1"),
    SAME("TransferWindow", "StopNJB", Flag, "1"),
    {"TransferWindow", "NJBOff", Kind::Flag, "0", "1", "0"},
    SAME("Sync", "Album", Flag, "1"),
    SAME("Sync", "Artist", Flag, "1"),
    SAME("Sync", "Title", Flag, "1"),
    {"Sync", "FileName", Kind::Flag, "0", "1", "0"},
    SAME("Sync", "Track", Flag, "0"),
    SAME("Sync", "Length", Flag, "0"),
    SAME("Sync", "FileSize", Flag, "0"),
    SAME("Sync", "Codec", Flag, "0"),
    SAME("Sync", "Genre", Flag, "0"),
    SAME("Sync", "Year", Flag, "0"),
    SAME("Sync", "Comment", Flag, "0"),
    {"Sync", "LengthTolerance", Kind::Spin, "0", "3", "3"},
    {"Sync", "FileSizeTolerance", Kind::Spin, "0", "5", "5"},
    SAME("Sync", "ArtistCompare", Number, "0"),
    SAME("Sync", "AlbumCompare", Number, "0"),
    SAME("Sync", "TitleCompare", Number, "0"),
    SAME("Sync", "FileNameCompare", Number, "1"),
    SAME("Sync", "ShowCaseWarning", Flag, "1"),
    SAME("Sync", "PCButton", Flag, "1"),
    SAME("Sync", "NJBButton", Flag, "0"),
    SAME("Sync", "BothButton", Flag, "0"),
    SAME("Sync", "MultiButton", Flag, "0"),
    {"Sync", "ColumnWidth12", Kind::Width, "80", "80", "16"},
    SAME("Download", "Existing Files", Choice, "2"),
    SAME("Download", "FullCheck", Flag, "0"),
    SAME("Download", "ErrorsTolerated", Number, "0"),
    SAME("Upload", "Remember Path", Flag, "1"),
    SAME("Upload", "Existing Files", Choice, "2"),
    SAME("Upload", "Renaming", Number, "0"),
    {"Upload", "ID3V1", Kind::Number, "1", "0", "0"},  // 0 unchecked, 1 greyed, 2 checked
    {"Upload", "ID3V2", Kind::Number, "1", "0", "0"},
    SAME("PlayList", "Splitter", Number, "400"),
    SAME("PlayList", "ColumnWidth0", Width, "20"),
    SAME("PlayList", "TrackColumnWidth0", Width, "20"),
    SAME("PlayList", "SortWarning", Flag, "1"),
    SAME("MP3-Analyze", "BeginAutoFix", Flag, "0"),
    SAME("MP3-Analyze", "EndAutoFix", Flag, "0"),
    SAME("MP3-Analyze", "Begin", Flag, "1"),
    SAME("MP3-Analyze", "End", Flag, "1"),
    SAME("MP3-Analyze", "MPEG", Flag, "1"),
    SAME("MP3-Analyze", "Layer", Flag, "1"),
    SAME("MP3-Analyze", "Frequency", Flag, "1"),
    SAME("MP3-Analyze", "Mode", Flag, "0"),
    SAME("MP3-Analyze", "Bad", Flag, "1"),
    SAME("MP3-Analyze", "KeepDate", Flag, "0"),
    SAME("Quick", "Audio", Flag, "1"),
    SAME("Quick", "LeftColumnWidth0", Width, "20"),
    SAME("Quick", "RightColumnWidth0", Width, "20"),
    SAME("Player", "LeftWidth", Number, "240"),
    SAME("Player", "ColumnWidth0", PlayerWidth, "20"),
    SAME("NomadII", "FM_Column1", Number, "40"),
    SAME("NomadII", "FM_Column2", Number, "60"),
    SAME("Device", "LastDevice", Number, "0"),
};

#undef SAME
#undef ORDER_ROW

std::optional<long long> ParseNumber(std::string text) {
  std::erase(text, '"');
  return ParseIniInteger(text);
}

// The value to keep for `raw`; nullopt when it ends the read.
std::optional<std::string> Normalised(const LaterKey& k, const std::string& raw) {
  const long long fallback = ParseNumber(k.missing).value_or(0);
  const long long n = ParseNumber(raw).value_or(fallback);
  switch (k.kind) {
    case Kind::Flag: return std::string(n != 0 ? "1" : "0");
    case Kind::Number: return std::to_string(n);
    case Kind::Spin:
      if (n < -32768 || n > 32767) return std::nullopt;
      return std::to_string(n);
    case Kind::Choice: return std::to_string(n > 2 ? 2 : n);
    case Kind::Width: return std::to_string(n < 3 ? 3 : n);
    case Kind::PlayerWidth:
      if (n < -2) return std::nullopt;
      return std::to_string(n);
    case Kind::Text: return raw;
  }
  return raw;
}

}  // namespace

void SetLaterSettingsToStartValues(IniFile& stored) {
  for (const LaterKey& k : kLaterKeys) stored.Set(k.section, k.key, k.start);
}

bool ReadLaterSection(const IniFile& file, IniFile& stored, std::string_view section) {
  for (const LaterKey& k : kLaterKeys) {
    if (section != k.section) continue;
    const auto raw = file.Get(k.section, k.key);
    const auto value = raw ? Normalised(k, *raw) : std::optional<std::string>(k.missing);
    if (!value) return false;
    stored.Set(k.section, k.key, *value);
  }
  return true;
}

void AddMissingLaterSettings(IniFile& ini) {
  for (const LaterKey& k : kLaterKeys) {
    if (!ini.Get(k.section, k.key)) ini.Set(k.section, k.key, k.start);
  }
}

void ResetLaterSettings(IniFile& ini) {
  for (const LaterKey& k : kLaterKeys) ini.Set(k.section, k.key, k.defaults);
}

}  // namespace tonvault::catalogue
