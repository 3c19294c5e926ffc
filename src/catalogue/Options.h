#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/DuplicateOptions.h"
#include "catalogue/SearchText.h"

namespace tonvault::catalogue {

// Options of the MP3 reading: the VBR scan of the import and its settings.
struct Mp3Options {
  bool scanForVbr = true;      // "Scan files for VBR  (slow)"
  bool fullScan = false;       // "100% Scan for corrupted frames  (very slow)"
  bool readVbrHeader = true;   // "Read VBR-Header  (speeds up VBR-files)"
  int errorsTolerated = 0;     // "Errors in MP3 files tolerated", 0..100
  int cbrSeconds = 2;          // "sec": constant bitrate decided after this many seconds
};

// Which files the import collects and which tag readers it runs.
struct ImportOptions {
  bool mp3 = true;
  bool mp2 = false;
  bool wma = false;
  bool wav = false;
  bool readId3v1 = true;            // "Read ID3 version 1 tags"
  bool readId3v2 = true;            // "Read ID3 version 2 tags"
  bool rememberImportPath = true;   // "Remember last import path"
};

// Options of the tag readers and writers.
struct Id3Options {
  bool keepOriginalFileDate = false;  // "Keep original file date"
  int extraSpace = 100;               // "Extra space in new ID3V2-Tags", bytes (0..1000)
  bool keepOldContent = false;        // "Keep old content" of the ID3v2 tag
};

// How files are renamed from their tags, and tags filled from file names.
struct RenameOptions {
  std::string substitute = "_";    // "Substitute character" for characters a file name cannot hold
  std::string separator = " - ";   // between the parts of a new name
  int trackDigits = 2;             // "Track digits", 1..4
  int tagVersion = 0;              // " Use ID3-Tag version ": 0 version 1, 1 version 2
  bool advanced = false;           // "Advanced Renaming"
  std::string format = "%T_%a_%t";  // the advanced renaming format
  std::array<std::string, 3> extractSeparators{"-", "", ""};
  bool extractOverride = true;     // "Override existing items"
  int extractTagVersion = 0;       // " To ID3-Tag version "
};

// True for a substitute character a file name can hold: exactly one
// character, none of : * ? \ / < > | and not a double quote.
bool IsValidSubstitute(const std::string& text);

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
  std::string tableTag = "<TABLE Border=1>", headerCellTag = "<TH>", rowTag = "<TR>", cellTag = "<TD>";

  PrintOptions();
};

inline constexpr const char* kPrintSeparator = " ------ Separator ------";

// Moves the separator back to the third row when it stands in the first or
// second; returns true when it had to.
bool KeepTwoItemsAboveSeparator(std::vector<PrintItem>& items);

// The main window's size and place, and the list font.
struct WindowOptions {
  bool remember = true;  // "Remember last window position and size"
  int left = -9999, top = -9999, width = -9999, height = -9999;  // -9999: not known
  int listFontSize = 8;  // "Lists font size", 6..12
  bool maximized = false;
};

// Which remembered folders are restored at start-up.
struct PathOptions {
  bool rememberTxt = true, rememberHtml = true, rememberTvd = true;
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
  bool dontAskForSaveOnExit = false;
  bool njbSupportOff = false;  // "Switch off NJB support": hides everything that works on the player
  WindowOptions window;
  PathOptions paths;
  ColumnLayout columns;
  std::array<std::array<int, 6>, 3> viewColumnWidths{{{150, 150, 80, 60, 70, 60}, {150, 150, 80, 60, 70, 60},
                                                      {150, 150, 80, 60, 70, 60}}};
  Mp3Options mp3;
  ImportOptions import;
  Id3Options id3;
  RenameOptions rename;
  SearchOptions search;
  DuplicateOptions duplicate;
  PrintOptions print;
};

}  // namespace tonvault::catalogue
