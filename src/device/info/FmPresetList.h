#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/DeviceTypes.h"

namespace tonvault::device {

// The radio presets as the " FM - Settings " list edits them: 32 entries,
// each with its number, its frequency text in MHz and its value in 10 kHz.
// The value is edited with two spinners, whole MHz and hundredths; the
// frequency always stays within 87.50 to 108.00 MHz.
class FmPresetList {
 public:
  static constexpr int kLowest = 8750;
  static constexpr int kHighest = 10800;
  // The value an entry without a number counts as (100.00 MHz).
  static constexpr int kNoNumber = 10000;

  struct Entry {
    int number = 0;    // 1 to 32
    std::string text;  // "MHz" column
    int value = kNoNumber;
  };

  // "100,00": the value in MHz with two decimals.
  static std::string MHzText(int value);
  // Whole MHz and hundredths combined, or nothing when that leaves the band.
  static std::optional<int> Combine(int mhz, int hundredths);

  void Fill(const FmPresets& presets);
  const std::vector<Entry>& Entries() const { return entries_; }
  FmPresets Presets() const;

  // The spinner values for entry `row`: {value / 100, value % 100}.
  std::pair<int, int> SpinnersOf(std::size_t row) const;
  // A spinner step to `mhz`.`hundredths` for entry `row`: false (and
  // nothing changed) when the frequency would leave the band.
  bool SpinnerStep(std::size_t row, int mhz, int hundredths);

  // A click on column 0 ("Nr.") or 1 ("MHz"): ascending first, descending
  // at the next click on the same column. Returns the column now sorted
  // and its direction; a spinner step clears the arrow.
  void SortBy(int column);
  int SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return descending_; }

 private:
  std::vector<Entry> entries_;
  int sortColumn_ = -1;
  bool descending_ = false;
};

}  // namespace tonvault::device
