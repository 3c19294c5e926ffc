#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/DuplicateOptions.h"
#include "catalogue/SearchText.h"

namespace tonvault::catalogue {

// The values of every option below - the start value of a fresh program,
// the value a key missing from the settings file reads as, and the value of
// the "&Defaults" button - stand side by side in the settings key table
// (SettingKeys.cpp); `Options()` applies the start values. The members
// themselves are only zero-initialised so that no value is written twice.

// Options of the MP3 reading: the VBR scan of the import and its settings.
struct Mp3Options {
  bool scanForVbr{};       // "Scan files for VBR  (slow)"
  bool fullScan{};         // "100% Scan for corrupted frames  (very slow)"
  bool readVbrHeader{};    // "Read VBR-Header  (speeds up VBR-files)"
  int errorsTolerated{};   // "Errors in MP3 files tolerated", 0..100
  int cbrSeconds{};        // constant bitrate decided after this many seconds, 1..15
};

// Which files the import collects and which tag readers it runs.
struct ImportOptions {
  bool mp3{};
  bool mp2{};
  bool wma{};
  bool wav{};
  bool readId3v1{};            // "Read ID3 version 1 tags"
  bool readId3v2{};            // "Read ID3 version 2 tags"
  bool rememberImportPath{};   // "Remember last import path"
};

// Options of the tag readers and writers and of the tag editor.
struct Id3Options {
  bool keepOriginalFileDate{};  // "Keep original file date" (twin on the tag editor page)
  int extraSpace{};             // "Extra space in new ID3V2-Tags", bytes (0..1000)
  bool keepOldContent = false;  // "Keep old content" of the ID3v2 tag; not stored
  bool enterSave{};             // "Enter = Save"
  bool nextSave{};              // "Show next file after save"
  int trackNumberDigits{};      // "Digits (ID3V2 only)" of automatic track numbers, 1..4
  int trackNumberStart = 1;     // "Start with" of automatic track numbers, 1..1000; not stored
  std::string codePage;         // code page of ID3v1 tags, ID3v2 encoding 0 and old catalogues
};

inline constexpr std::size_t kItemRows = 8;
inline constexpr const char* kItemSeparator = " ------ Separator ------";

// How files are renamed from their tags, and tags filled from file names.
struct RenameOptions {
  std::string substitute;    // "Substitute character" for characters a file name cannot hold
  std::string separator;     // between the parts of a new name
  int trackDigits{};         // "Track digits", 1..4
  int tagVersion{};          // " Use ID3-Tag version ": 0 version 1, 1 version 2
  bool advanced{};           // "Advanced Renaming"
  std::string format;        // the advanced renaming format
  std::array<std::string, kItemRows> order;  // the items of a new name; those above the separator are used
  std::array<std::string, 3> extractSeparators;
  bool extractOverride{};    // "Override existing items"
  int extractTagVersion{};   // " To ID3-Tag version "
  std::array<std::string, kItemRows> extractOrder;  // the field each part of a file name goes to
};

// Moves the separator out of the first row of an item list by swapping the
// first two rows back; returns true when it had to.
bool KeepOneItemAboveSeparator(std::array<std::string, kItemRows>& rows);

// The player: session, transfers and their window.
struct NjbOptions {
  bool stopAfter{};          // "Stop NJB after"
  int stopMinutes{};         // 0..60
  bool modifyTracks{};       // "Modify \"copy resistant\" tracks"
  int cpuSleep{};            // transfer pause, 0..200
  int shutdownTimeout{};     // "Shutdown Timeout", minutes 2..20
  bool uploadPause{};        // "Pause every"
  int uploadPauseTracks{};   // tracks between pauses, 0..1000
  int minFree{};             // "Minimal free space", MB 20..500
};

// Which player the program talks to: 0 automatic (a Jukebox through
// libnjb, else a player folder on removable media), 1 the player folder
// below, 2 and 3 the simulated Jukebox and Nomad II (demonstrations).
struct DeviceOptions {
  int player{};
  std::string folder;
};

inline constexpr std::size_t kTransferColumns = 7;

struct TransferWindowOptions {
  int width{}, height{};     // read only when the main window's place is remembered
  std::array<int, kTransferColumns> columnWidths{};
  bool beep{};               // "Beep"
  bool stopNjb{};            // "Stop NJB"
  bool njbOff{};             // "Switch Off NJB"
};

inline constexpr std::size_t kSyncColumns = 24;  // column 0 is always 0 wide and not stored

// The comparison of catalogue and player.
struct SyncOptions {
  bool album{}, artist{}, title{}, fileName{}, track{}, length{}, fileSize{}, codec{}, genre{}, year{}, comment{};
  int lengthTolerance{};     // seconds, 0..120
  int fileSizeTolerance{};   // 0..10000
  int artistMode{}, albumMode{}, titleMode{}, fileNameMode{};  // compare mode indexes
  bool showCaseWarning{};
  bool onlyOnPc{}, onlyOnNjb{}, onBoth{}, multipleMatch{};     // the filter buttons down
  std::array<int, kSyncColumns> columnWidths{};
};

// "Existing Files": 0 "Replace always", 1 "Replace never", 2 "Ask"; the
// fourth choice (only this session) is never stored.
struct DownloadOptions {
  int existingFiles{};
  bool fullCheck{};          // "100% Scan for corrupted frames"
  int errorsTolerated{};
};

struct UploadOptions {
  bool rememberPath{};       // "Remember last path on PC"
  int existingFiles{};
  int renaming{};            // 0 keep the player's name, 1 use the renaming settings
  int id3v1{}, id3v2{};      // three-state boxes: 0 unchecked, 1 greyed, 2 checked
};

inline constexpr std::size_t kPlaylistColumns = 4;       // icon, "Playlist", "Tracks", "Length"
inline constexpr std::size_t kPlaylistTrackColumns = 10;  // icon and nine texts

struct PlaylistOptions {
  int splitter{};            // width of the playlist pane
  std::array<int, kPlaylistColumns> columnWidths{};
  std::array<int, kPlaylistTrackColumns> trackColumnWidths{};
  bool sortWarning{};
};

// The checks of the MP3 analysis batch and the repair.
struct AnalyzeOptions {
  bool beginSpace{}, beginAutoFix{};  // "Space at beginning", its "Auto fix on check"
  bool endSpace{}, endAutoFix{};      // "Space at end of file", its "Auto fix on check"
  bool mpegChange{}, layerChange{}, frequencyChange{}, modeChange{}, badFrames{};
  bool keepOriginalFileDate{};        // "Keep original file date" of the repair (twin on the repair page)
};

inline constexpr std::size_t kQuickColumns = 7;  // icon and six texts per pane

struct QuickOptions {
  int leftPanelWidth{};      // 0: half the page's width
  bool audio{};              // "Audio" down, "Data" down when off
  std::array<int, kQuickColumns> leftColumnWidths{}, rightColumnWidths{};
};

inline constexpr std::size_t kPlayerColumns = 3;  // icon, "Title", "Artist"

struct PlayerOptions {
  int leftWidth{};
  std::array<int, kPlayerColumns> columnWidths{};
  int fmColumn1{}, fmColumn2{};  // the Nomad II radio preset list
};

// True for a substitute character a file name can hold: exactly one
// character, none of : * ? \ / < > | and not a double quote.
bool IsValidSubstitute(const std::string& text);

class Frontend;

// The substitute character as typed: taken when a file name can hold it;
// otherwise a beep, and "_" is put back. Returns whether `typed` was taken.
bool TakeSubstitute(Frontend& frontend, const std::string& typed, RenameOptions& rename);

// Makes `id3.codePage` the code page every single-byte text is read and
// written in; a name that is not offered is replaced by the default,
// "Windows-1252".
void UseLegacyCodePage(Id3Options& id3);

// One row of an export column list: its caption and the column it stands
// for (-1 for the separator, below which nothing is written).
struct PrintItem {
  std::string caption;
  int column = -1;
  bool operator==(const PrintItem&) const = default;
};

// The export settings: which columns in which order, and the HTML tags.
struct PrintOptions {
  std::vector<PrintItem> filesOrder;  // FILES and RESULTS
  std::vector<PrintItem> viewsOrder;  // the album, artist and genre views
  std::string tableTag, headerCellTag, rowTag, cellTag;

  PrintOptions();
};

inline constexpr const char* kPrintSeparator = kItemSeparator;

// Moves the separator back to the third row when it stands in the first or
// second; returns true when it had to.
bool KeepTwoItemsAboveSeparator(std::vector<PrintItem>& items);

// The main window's size and place, and the list font.
struct WindowOptions {
  bool remember{};  // "Remember last window position and size"
  int left = -9999, top = -9999, width = -9999, height = -9999;  // -9999: not known
  int listFontSize{};  // "Lists font size", 6..12
  bool maximized{};
};

// Which remembered folders are restored at start-up.
struct PathOptions {
  bool rememberTxt{}, rememberHtml{}, rememberTvd{};
};

inline constexpr int kDisplayColumns = 17;

// The FILES and RESULTS columns by display position (0 is the icon
// column): heading and width; a negative width means left-aligned.
struct ColumnLayout {
  std::array<std::string, kDisplayColumns> headings;
  std::array<int, kDisplayColumns> widths{};
  ColumnLayout();
};

// The options the commands read. The settings page binds its controls to
// this structure and the settings file stores it.
struct Options {
  Options();

  bool dontAskForSaveOnExit{};
  bool njbSupportOff{};  // "Switch off NJB support": hides everything that works on the player
  WindowOptions window;
  PathOptions paths;
  ColumnLayout columns;
  std::array<std::array<int, 6>, 3> viewColumnWidths{};  // album, artist and genre views
  Mp3Options mp3;
  ImportOptions import;
  Id3Options id3;
  RenameOptions rename;
  SearchOptions search;
  DuplicateOptions duplicate;
  PrintOptions print;
  NjbOptions njb;
  DeviceOptions device;
  TransferWindowOptions transferWindow;
  SyncOptions sync;
  DownloadOptions download;
  UploadOptions upload;
  PlaylistOptions playlist;
  AnalyzeOptions analyze;
  QuickOptions quick;
  PlayerOptions player;
};

}  // namespace tonvault::catalogue
