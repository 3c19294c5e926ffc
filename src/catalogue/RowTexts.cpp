#include "catalogue/RowTexts.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tonvault::catalogue {

namespace {

// A block for `count` slots holding `total` characters.
std::unique_ptr<std::uint32_t[]> NewBlock(std::size_t count, std::size_t total) {
  return std::make_unique_for_overwrite<std::uint32_t[]>(count + (total + 3) / 4);
}

}  // namespace

RowTexts::RowTexts(const RowTexts& other) : count_(other.count_) {
  if (!other.block_) return;
  const std::size_t words = other.count_ + (other.Total() + 3) / 4;
  block_ = NewBlock(other.count_, other.Total());
  std::memcpy(block_.get(), other.block_.get(), words * sizeof(std::uint32_t));
}

RowTexts& RowTexts::operator=(const RowTexts& other) {
  if (this != &other) *this = RowTexts(other);
  return *this;
}

SlotText RowTexts::operator[](std::size_t slot) const {
  if (!block_ || slot >= count_) return {};
  const std::uint32_t begin = slot == 0 ? 0 : block_[slot - 1];
  return std::string_view(Characters() + begin, block_[slot] - begin);
}

void RowTexts::Assign(std::span<const std::string_view> texts) {
  std::size_t total = 0;
  for (std::string_view text : texts) total += text.size();
  const auto count = static_cast<std::uint8_t>(texts.size());
  if (total == 0) {
    block_.reset();
    count_ = count;
    return;
  }
  // Built aside first: a text may be a view into this row's own block.
  auto block = NewBlock(count, total);
  char* characters = reinterpret_cast<char*>(block.get() + count);
  std::uint32_t end = 0;
  for (std::size_t slot = 0; slot < texts.size(); ++slot) {
    if (!texts[slot].empty()) std::memcpy(characters + end, texts[slot].data(), texts[slot].size());
    end += static_cast<std::uint32_t>(texts[slot].size());
    block[slot] = end;
  }
  block_ = std::move(block);
  count_ = count;
}

void RowTexts::Set(std::size_t slot, std::string_view text) {
  const std::size_t count = std::max<std::size_t>(count_, slot + 1);
  std::vector<std::string_view> texts(count);
  for (std::size_t s = 0; s < count_; ++s) texts[s] = (*this)[s];
  texts[slot] = text;
  Assign(texts);
}

void RowTexts::resize(std::size_t count) {
  std::vector<std::string_view> texts(count);
  for (std::size_t s = 0; s < std::min<std::size_t>(count, count_); ++s) texts[s] = (*this)[s];
  Assign(texts);
}

bool operator==(const RowTexts& a, const RowTexts& b) {
  if (a.count_ != b.count_ || a.Total() != b.Total()) return false;
  // With equal totals, a row without a block has only empty slots, and so
  // has the other one.
  if (!a.block_ || !b.block_) return true;
  const std::size_t bytes = a.count_ * sizeof(std::uint32_t) + a.Total();
  return std::memcmp(a.block_.get(), b.block_.get(), bytes) == 0;
}

}  // namespace tonvault::catalogue
