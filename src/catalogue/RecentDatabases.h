#pragma once

#include <string>
#include <vector>

namespace tonvault::catalogue {

// The recently used catalogue files of the File menu, newest first, at most
// ten. Paths compare case-sensitively.
class RecentDatabases {
 public:
  static constexpr std::size_t kMaxEntries = 10;

  // Moves an existing entry to the top or inserts a new one there; the
  // oldest entry falls off beyond ten.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  void Clear() { entries_.clear(); }
  // Removes every entry for which `exists` is false; returns how many.
  template <class Exists>
  std::size_t RemoveMissing(Exists exists) {
    const auto before = entries_.size();
    std::erase_if(entries_, [&](const std::string& p) { return !exists(p); });
    return before - entries_.size();
  }

  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

}  // namespace tonvault::catalogue
