#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tonvault::catalogue {

// A view of one slot's text that also turns into a std::string where a
// caller needs one; it stays valid while the row is unchanged.
class SlotText : public std::string_view {
 public:
  SlotText() = default;
  SlotText(std::string_view text) : std::string_view(text) {}
  SlotText(const SlotText&) = default;
  // Only a named view may be reassigned: `row.texts[i] = "x"` does not
  // compile (RowTexts::Set changes a slot).
  SlotText& operator=(const SlotText&) & = default;
  operator std::string() const { return std::string(data(), size()); }
};

// The text slots of one row in a single allocation: the end offset of each
// slot, then the characters of all slots one after another. A row whose
// slots are all empty allocates nothing, so a row costs its text plus about
// 100 bytes instead of a string object per slot. Reading a slot is O(1);
// setting one rebuilds the block (rows are filled once and then read).
class RowTexts {
 public:
  explicit RowTexts(std::size_t count = 0) : count_(static_cast<std::uint8_t>(count)) {}
  RowTexts(const RowTexts& other);
  RowTexts& operator=(const RowTexts& other);
  RowTexts(RowTexts&&) noexcept = default;
  RowTexts& operator=(RowTexts&&) noexcept = default;

  std::size_t size() const { return count_; }
  SlotText operator[](std::size_t slot) const;
  // Sets one slot; the row grows to hold it.
  void Set(std::size_t slot, std::string_view text);
  // Sets every slot at once (their count becomes texts.size()).
  void Assign(std::span<const std::string_view> texts);
  // Changes the number of slots; new ones are empty.
  void resize(std::size_t count);

  friend bool operator==(const RowTexts& a, const RowTexts& b);

 private:
  std::size_t Total() const { return block_ ? block_[count_ - 1] : 0; }
  const char* Characters() const { return reinterpret_cast<const char*>(block_.get() + count_); }

  std::unique_ptr<std::uint32_t[]> block_;  // ends[count_], then the characters
  std::uint8_t count_ = 0;
};

}  // namespace tonvault::catalogue
