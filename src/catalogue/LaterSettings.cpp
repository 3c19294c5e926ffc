#include "catalogue/LaterSettings.h"

#include <string>

namespace tonvault::catalogue {
namespace {

struct LaterKey {
  const char* section;
  const char* key;
  const char* value;
};

const char* const kOrderRows[] = {"\" Track \"", "\" Artist \"", "\" Title \"", "\" ------ Separator ------\"",
                                  "\" Album \"", "\" Year \"",   "\" Comment \"", "\" Genre \""};

const LaterKey kLaterKeys[] = {
    {"ID3", "RenameSubstitute", "\"_\""},
    {"ID3", "RenameSeparator", "\" - \""},
    {"ID3", "RenameDigits", "2"},
    {"ID3", "RenameVer", "0"},
    {"ID3", "RenameAdvanced", "0"},
    {"ID3", "RenameFormat", "\"%T_%a_%t\""},
    {"ID3", "ExtractSeparator", "\"-\""},
    {"ID3", "ExtractSeparator2", "\"\""},
    {"ID3", "ExtractSeparator3", "\"\""},
    {"ID3", "ExtractOverride", "1"},
    {"ID3", "ExtractVer", "0"},
    {"ID3", "EnterSave", "1"},
    {"ID3", "NextSave", "1"},
    {"ID3", "TrackNumberDigits", "1"},
    {"NJB", "Stop", "1"},
    {"NJB", "Timer", "5"},
    {"NJB", "ModifyTracks", "0"},
    {"NJB", "CPUSleep", "0"},
    {"NJB", "ShutdownTimeout", "5"},
    {"NJB", "UploadPause", "1"},
    {"NJB", "UploadPauseTracks", "100"},
    {"NJB", "MinFree", "100"},
    {"TransferWindow", "Width", "600"},
    {"TransferWindow", "Height", "440"},
    {"TransferWindow", "ColumnWidth0", "20"},
    {"TransferWindow", "Beep", "1"},
    {"TransferWindow", "StopNJB", "1"},
    {"TransferWindow", "NJBOff", "0"},
    {"Sync", "Album", "1"},
    {"Sync", "Artist", "1"},
    {"Sync", "Title", "1"},
    {"Sync", "FileName", "0"},
    {"Sync", "Track", "0"},
    {"Sync", "Length", "0"},
    {"Sync", "FileSize", "0"},
    {"Sync", "Codec", "0"},
    {"Sync", "Genre", "0"},
    {"Sync", "Year", "0"},
    {"Sync", "Comment", "0"},
    {"Sync", "LengthTolerance", "0"},
    {"Sync", "FileSizeTolerance", "0"},
    {"Sync", "ArtistCompare", "0"},
    {"Sync", "AlbumCompare", "0"},
    {"Sync", "TitleCompare", "0"},
    {"Sync", "FileNameCompare", "1"},
    {"Sync", "ShowCaseWarning", "1"},
    {"Sync", "PCButton", "1"},
    {"Sync", "NJBButton", "0"},
    {"Sync", "BothButton", "0"},
    {"Sync", "MultiButton", "0"},
    {"Download", "Existing Files", "2"},
    {"Download", "FullCheck", "0"},
    {"Download", "ErrorsTolerated", "0"},
    {"Upload", "Remember Path", "1"},
    {"Upload", "Existing Files", "2"},
    {"Upload", "Renaming", "0"},
    {"Upload", "ID3V1", "1"},
    {"Upload", "ID3V2", "1"},
    {"PlayList", "Splitter", "400"},
    {"PlayList", "ColumnWidth0", "20"},
    {"PlayList", "TrackColumnWidth0", "20"},
    {"PlayList", "SortWarning", "1"},
    {"MP3-Analyze", "BeginAutoFix", "0"},
    {"MP3-Analyze", "EndAutoFix", "0"},
    {"MP3-Analyze", "Begin", "1"},
    {"MP3-Analyze", "End", "1"},
    {"MP3-Analyze", "MPEG", "1"},
    {"MP3-Analyze", "Layer", "1"},
    {"MP3-Analyze", "Frequency", "1"},
    {"MP3-Analyze", "Mode", "0"},
    {"MP3-Analyze", "Bad", "1"},
    {"MP3-Analyze", "KeepDate", "0"},
    {"Quick", "Audio", "1"},
    {"Quick", "LeftColumnWidth0", "20"},
    {"Quick", "RightColumnWidth0", "20"},
    {"Player", "LeftWidth", "240"},
    {"Player", "ColumnWidth0", "20"},
    {"NomadII", "FM_Column1", "40"},
    {"NomadII", "FM_Column2", "60"},
    {"Device", "LastDevice", "0"},
};

// Where the "&Defaults" button gives another value than a fresh start.
const LaterKey kDefaultsButtonKeys[] = {
    {"Sync", "LengthTolerance", "3"},
    {"Sync", "FileSizeTolerance", "5"},
    {"Sync", "ColumnWidth12", "16"},
    {"Upload", "ID3V1", "0"},
    {"Upload", "ID3V2", "0"},
};

void SetIfMissing(IniFile& ini, const std::string& section, const std::string& key, const std::string& value) {
  if (!ini.Get(section, key)) ini.Set(section, key, value);
}

}  // namespace

void ResetLaterSettings(IniFile& ini) {
  for (std::size_t n = 0; n < std::size(kOrderRows); ++n) {
    ini.Set("ID3", "RenameOrder" + std::to_string(n), kOrderRows[n]);
    ini.Set("ID3", "ExtractOrder" + std::to_string(n), kOrderRows[n]);
  }
  for (const LaterKey& k : kLaterKeys) ini.Set(k.section, k.key, k.value);
  for (const LaterKey& k : kDefaultsButtonKeys) ini.Set(k.section, k.key, k.value);
}

void AddMissingLaterSettings(IniFile& ini) {
  for (std::size_t n = 0; n < std::size(kOrderRows); ++n) {
    SetIfMissing(ini, "ID3", "RenameOrder" + std::to_string(n), kOrderRows[n]);
    SetIfMissing(ini, "ID3", "ExtractOrder" + std::to_string(n), kOrderRows[n]);
  }
  for (const LaterKey& k : kLaterKeys) SetIfMissing(ini, k.section, k.key, k.value);
}

}  // namespace tonvault::catalogue
