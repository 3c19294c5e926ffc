#include "device/info/FmPresetList.h"

#include <algorithm>

#include "catalogue/TextFormats.h"

namespace tonvault::device {

std::string FmPresetList::MHzText(int value) { return catalogue::FormatFixed(value / 100.0, 2); }

std::optional<int> FmPresetList::Combine(int mhz, int hundredths) {
  if (hundredths < 0 || hundredths > 99) return std::nullopt;
  const int value = mhz * 100 + hundredths;
  if (value < kLowest || value > kHighest) return std::nullopt;
  return value;
}

void FmPresetList::Fill(const FmPresets& presets) {
  entries_.clear();
  for (int i = 0; i < kFmPresetCount; ++i) {
    const int value = presets[static_cast<std::size_t>(i)];
    entries_.push_back({i + 1, MHzText(value), value});
  }
  sortColumn_ = -1;
}

FmPresets FmPresetList::Presets() const {
  FmPresets presets;
  presets.fill(kNoNumber);
  for (const Entry& entry : entries_) {
    if (entry.number >= 1 && entry.number <= kFmPresetCount) {
      presets[static_cast<std::size_t>(entry.number - 1)] = entry.value;
    }
  }
  return presets;
}

std::pair<int, int> FmPresetList::SpinnersOf(std::size_t row) const {
  const int value = row < entries_.size() ? entries_[row].value : kNoNumber;
  return {value / 100, value % 100};
}

bool FmPresetList::SpinnerStep(std::size_t row, int mhz, int hundredths) {
  const std::optional<int> value = Combine(mhz, hundredths);
  if (!value || row >= entries_.size()) return false;
  entries_[row].value = *value;
  entries_[row].text = MHzText(*value);
  sortColumn_ = -1;
  return true;
}

void FmPresetList::SortBy(int column) {
  descending_ = column == sortColumn_ && !descending_;
  sortColumn_ = column;
  const bool byNumber = column == 0;
  const bool descending = descending_;
  std::stable_sort(entries_.begin(), entries_.end(), [byNumber, descending](const Entry& a, const Entry& b) {
    const int left = byNumber ? a.number : a.value;
    const int right = byNumber ? b.number : b.value;
    return descending ? left > right : left < right;
  });
}

}  // namespace tonvault::device
