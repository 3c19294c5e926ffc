#include "device/sync/SyncMatcher.h"

namespace tonvault::device {

SyncMatcher::SyncMatcher(const std::vector<SyncValues>& tracks, const std::vector<bool>& takesPart,
                         const catalogue::SyncOptions& options)
    : tracks_(tracks), options_(options) {
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    if (takesPart[i]) buckets_[ExactKey(tracks[i], options)].push_back(i);
  }
}

std::vector<std::size_t> SyncMatcher::Matches(const SyncValues& row) const {
  std::vector<std::size_t> matches;
  const auto bucket = buckets_.find(ExactKey(row, options_));
  if (bucket == buckets_.end()) return matches;
  for (std::size_t i : bucket->second) {
    if (ValuesMatch(row, tracks_[i], options_)) matches.push_back(i);
  }
  return matches;
}

std::vector<std::size_t> PairwiseMatches(const SyncValues& row, const std::vector<SyncValues>& tracks,
                                         const std::vector<bool>& takesPart, const catalogue::SyncOptions& options) {
  std::vector<std::size_t> matches;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    if (takesPart[i] && ValuesMatch(row, tracks[i], options)) matches.push_back(i);
  }
  return matches;
}

}  // namespace tonvault::device
