#pragma once

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

 private:
  const std::vector<catalogue::TrackRecord>& rows_;
  const catalogue::ColumnMap& map_;
  std::vector<Criterion> loose_;  // criteria that are not plain equality
  const catalogue::VolumeLabels* mounts_;
  std::vector<std::size_t> bucketOf_;
  std::vector<std::vector<std::size_t>> buckets_;
};

// "Search for duplicates" and "Search for differences".
void SearchDuplicates(catalogue::Application& app);
void SearchDifferences(catalogue::Application& app);

inline constexpr const char* kNoCriterionText = "You have to check at least one box in \"Duplicate search options\"";

}  // namespace tonvault::views
