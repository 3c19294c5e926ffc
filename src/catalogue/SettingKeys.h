#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/Options.h"

namespace tonvault::catalogue {

// How a key's value is written and read back.
enum class KeyKind {
  Flag,          // written "1" or "0"; any integer reads, non-zero = on
  Integer,       // signed decimal; malformed or missing reads as the missing value
  Index,         // the index of a choice, held within [min, max]
  Spin,          // a spin box: outside the 16-bit range ends the read, else held within [min, max]
  Choice,        // "Existing Files": values above 2 read as 2
  Width,         // a list column width: below 3 becomes 3
  ViewWidth,     // a view column width: below 4 becomes 3
  PlayerWidth,   // a player list width: below -2 ends the read
  Text,          // plain text; double quotes are removed on reading
  QuotedText,    // text written in double quotes
  OneCharacter,  // quoted text, taken only when exactly one character long
  Step,          // keys with rules of their own, read at this place in the order
};

// The groups of keys that the table only places in the read order.
enum class SettingsStep { Folders, RecentList, WindowBounds, FileColumns, UploadFolder, PrintOrders, Device };

using FlagField = bool& (*)(Options&, std::size_t index);
using NumberField = int& (*)(Options&, std::size_t index);
using TextField = std::string& (*)(Options&, std::size_t index);

// One key of the settings file and the option it stores. The three values
// stand side by side: `start` for a fresh program, `missing` for a key
// absent from an existing file, `defaults` for the "&Defaults" button.
struct SettingKey {
  const char* section = "";
  std::string key;
  KeyKind kind = KeyKind::Step;
  int start = 0, missing = 0, defaults = 0;                   // flags and numbers
  const char* startText = "";                                  // texts
  const char* missingText = "";
  const char* defaultsText = "";
  bool keptByDefaults = false;  // the "&Defaults" button leaves it alone
  int min = 0, max = 0;         // Index and Spin
  std::size_t index = 0;        // the row or column a list key stands for
  FlagField flag = nullptr;
  NumberField number = nullptr;
  TextField text = nullptr;
  bool (*when)(const Options&) = nullptr;  // read only while this holds
  SettingsStep step = SettingsStep::Folders;
};

// Every key of the settings file, in the order the reader takes them.
const std::vector<SettingKey>& SettingKeys();

// Sets every option of the table to its start value.
void ApplyStartValues(Options& options);

// Sets every option of the table, except the search and duplicate options,
// to its "&Defaults" button value.
void ApplyDefaultsButtonValues(Options& options);

}  // namespace tonvault::catalogue
