#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "catalogue/VolumeLabels.h"
#include "views/TextsMatch.h"

namespace tonvault::views {

// One checked criterion: a column and how it is compared.
struct Criterion {
  catalogue::Column column;
  CompareMode mode;
};

// The checked criteria in their fixed order: Album, Artist, Title, Genre,
// Year, Comment, Filename, Path, Drive, Label, Track, Filesize, Length.
// `withDrive` false leaves Drive out (the difference search treats it apart).
std::vector<Criterion> CriteriaOf(const catalogue::DuplicateOptions& options, bool withDrive);

// Whether two rows match under every criterion (the pairwise definition).
bool RowsMatch(const catalogue::TrackRecord& first, const catalogue::TrackRecord& second,
               const catalogue::ColumnMap& map, const std::vector<Criterion>& criteria,
               const catalogue::VolumeLabels* mounts);

// Finds, for each row q that takes part, the later rows matching q. Rows
// that can match are found through a hash of the equality criteria, so only
// rows sharing it are compared; the result is the pairwise one.
class MatchFinder {
 public:
  MatchFinder(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map,
              std::vector<Criterion> criteria, const catalogue::VolumeLabels* mounts, const std::vector<bool>& takesPart);
  // The rows after q that take part and match q, in row order.
  std::vector<std::size_t> LaterMatches(std::size_t q) const;
  // Whether rows a and b match.
  bool Match(std::size_t a, std::size_t b) const;
  // The rows the duplicate search writes (each row q with later matches
  // and those matches), plus one separator per group when `separators`:
  // counted from the bucket sizes alone, so without comparing a pair, when
  // every criterion is an equality; else an upper bound from them.
  std::uint64_t GroupRowsFromBuckets(bool separators) const;
  // The same, exact: the remaining criteria are compared for each pair
  // within a bucket, but no row is copied.
  std::uint64_t GroupRows(bool separators) const;

 private:
  const std::vector<catalogue::TrackRecord>& rows_;
  const catalogue::ColumnMap& map_;
  std::vector<Criterion> loose_;  // criteria that are not plain equality
  const catalogue::VolumeLabels* mounts_;
  std::vector<std::size_t> bucketOf_;
  std::vector<std::vector<std::size_t>> buckets_;
};

// Above this many new RESULTS rows the duplicate search asks first: a
// catalogue of untagged files (every pair alike) gives rows by the square of
// its size, and a million copied rows already take about a gigabyte.
inline constexpr std::uint64_t kLargeResultRows = 1'000'000;

// The rows the duplicate search would add to RESULTS with the current
// options (separator lines included; with "Remove duplicate results" an
// upper bound) when that is more than `limit`; else nothing. Counting costs
// no copies, and no comparisons when the buckets already show it is below.
std::optional<std::uint64_t> DuplicateRowsAbove(const catalogue::Application& app, std::uint64_t limit);

std::string LargeResultQuestion(std::uint64_t rows);

// "Search for duplicates" and "Search for differences". The duplicate
// search asks LargeResultQuestion before building more than
// kLargeResultRows rows; No leaves RESULTS as it was.
void SearchDuplicates(catalogue::Application& app);
void SearchDifferences(catalogue::Application& app);

inline constexpr const char* kNoCriterionText = "You have to check at least one box in \"Duplicate search options\"";

}  // namespace tonvault::views
