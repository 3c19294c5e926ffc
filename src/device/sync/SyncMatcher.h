#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/Options.h"
#include "device/sync/SyncValues.h"

namespace tonvault::device {

// Finds the player tracks a catalogue row matches. The tracks are put into
// buckets by the criteria that compare for equality, so a row is compared
// only with the tracks of its own bucket; the outcome is the pairwise one.
class SyncMatcher {
 public:
  // `tracks` are the values of the table entries; entries with `takesPart`
  // false never match.
  SyncMatcher(const std::vector<SyncValues>& tracks, const std::vector<bool>& takesPart,
              const catalogue::SyncOptions& options);
  // The matching entries in table order.
  std::vector<std::size_t> Matches(const SyncValues& row) const;

 private:
  const std::vector<SyncValues>& tracks_;
  const catalogue::SyncOptions& options_;
  std::unordered_map<std::string, std::vector<std::size_t>> buckets_;
};

// The same outcome by comparing the row with every entry.
std::vector<std::size_t> PairwiseMatches(const SyncValues& row, const std::vector<SyncValues>& tracks,
                                         const std::vector<bool>& takesPart, const catalogue::SyncOptions& options);

}  // namespace tonvault::device
