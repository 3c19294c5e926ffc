#include "views/DuplicateSearch.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/RowKey.h"
#include "catalogue/TextFormats.h"

namespace tonvault::views {

using catalogue::Column;

namespace {

constexpr int kColumns = catalogue::kLogicalColumnCount;

std::string AppendKey(std::string key, std::string_view part) {
  key += std::to_string(part.size());
  key += ':';
  key.append(part);
  return key;
}

bool IsSeparator(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map) {
  return map.Get(row, Column::Path).empty();
}

void NoCriterion(catalogue::Application& app) {
  Ask(app.frontend, catalogue::Sound::Hand, catalogue::MessageKind::Information, kNoCriterionText,
      {catalogue::Button::Ok});
}

// The progress of a triangular walk: done of n(n+1)/2 after k outer rows.
void ShowTriangularProgress(catalogue::Application& app, long long n, long long k) {
  const long long total = n * (n + 1) / 2;
  if (total <= 0) return;
  const long long done = total - (n - k) * (n - k + 1) / 2;
  app.frontend.SetProgress(0, static_cast<int>(300 * done / total));
  catalogue::ShowTimeEstimate(app, static_cast<std::size_t>(total), static_cast<std::size_t>(std::max(0LL, done)));
}

// Removes surplus separator lines and selects every row but the first of
// each group.
void TidyUpGroups(std::vector<catalogue::TrackRecord>& results, const catalogue::ColumnMap& map) {
  for (std::size_t i = results.size(); i-- > 0;) {
    if (!IsSeparator(results[i], map)) continue;
    if (i + 1 == results.size() || IsSeparator(results[i + 1], map)) results.erase(results.begin() + static_cast<std::ptrdiff_t>(i));
  }
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (IsSeparator(results[i], map)) continue;
    results[i].selected = !(i == 0 || IsSeparator(results[i - 1], map));
  }
}

}  // namespace

std::vector<Criterion> CriteriaOf(const catalogue::DuplicateOptions& o, bool withDrive) {
  std::vector<Criterion> criteria;
  const std::pair<bool, Criterion> all[] = {
      {o.album, {Column::Album, o.albumMode}},  {o.artist, {Column::Artist, o.artistMode}},
      {o.title, {Column::Title, o.titleMode}},  {o.genre, {Column::Genre, 1}},
      {o.year, {Column::Year, 0}},              {o.comment, {Column::Comment, 1}},
      {o.filename, {Column::Filename, 1}},      {o.path, {Column::Path, -1}},
      {o.drive && withDrive, {Column::Path, -2}}, {o.label, {Column::Label, 1}},
      {o.track, {Column::Track, 0}},            {o.fileSize, {Column::Size, 0}},
      {o.length, {Column::Length, 0}}};
  for (const auto& [checked, criterion] : all) {
    if (checked) criteria.push_back(criterion);
  }
  return criteria;
}

bool RowsMatch(const catalogue::TrackRecord& first, const catalogue::TrackRecord& second,
               const catalogue::ColumnMap& map, const std::vector<Criterion>& criteria,
               const catalogue::VolumeLabels* mounts) {
  for (const Criterion& c : criteria) {
    if (!TextsMatch(map.Get(first, c.column), map.Get(second, c.column), c.mode, mounts)) return false;
  }
  return true;
}

MatchFinder::MatchFinder(const std::vector<catalogue::TrackRecord>& rows, const catalogue::ColumnMap& map,
                         std::vector<Criterion> criteria, const catalogue::VolumeLabels* mounts,
                         const std::vector<bool>& takesPart)
    : rows_(rows), map_(map), mounts_(mounts), bucketOf_(rows.size(), SIZE_MAX) {
  std::vector<Criterion> exact;
  for (const Criterion& c : criteria) (IsEqualityMode(c.mode) ? exact : loose_).push_back(c);
  std::unordered_map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!takesPart[i]) continue;
    std::string key;
    for (const Criterion& c : exact) key = AppendKey(std::move(key), EqualityKey(map.Get(rows[i], c.column), c.mode, mounts));
    const auto [found, isNew] = index.try_emplace(std::move(key), buckets_.size());
    if (isNew) buckets_.emplace_back();
    buckets_[found->second].push_back(i);
    bucketOf_[i] = found->second;
  }
}

bool MatchFinder::Match(std::size_t a, std::size_t b) const {
  return bucketOf_[a] == bucketOf_[b] && bucketOf_[a] != SIZE_MAX && RowsMatch(rows_[a], rows_[b], map_, loose_, mounts_);
}

std::uint64_t MatchFinder::GroupRowsFromBuckets(bool separators) const {
  std::uint64_t rows = 0;
  for (const auto& bucket : buckets_) {
    const std::uint64_t k = bucket.size();
    if (k < 2) continue;
    // Row j of the bucket heads a group of k - j rows while later rows remain.
    rows += k * (k + 1) / 2 - 1 + (separators ? k - 1 : 0);
  }
  return rows;
}

std::uint64_t MatchFinder::GroupRows(bool separators) const {
  if (loose_.empty()) return GroupRowsFromBuckets(separators);
  std::uint64_t rows = 0;
  for (const auto& bucket : buckets_) {
    for (auto q = bucket.begin(); q != bucket.end(); ++q) {
      std::uint64_t later = 0;
      for (auto j = q + 1; j != bucket.end(); ++j) later += RowsMatch(rows_[*q], rows_[*j], map_, loose_, mounts_);
      if (later > 0) rows += later + 1 + (separators ? 1 : 0);
    }
  }
  return rows;
}

std::vector<std::size_t> MatchFinder::LaterMatches(std::size_t q) const {
  std::vector<std::size_t> matches;
  if (bucketOf_[q] == SIZE_MAX) return matches;
  const auto& bucket = buckets_[bucketOf_[q]];
  for (auto it = std::upper_bound(bucket.begin(), bucket.end(), q); it != bucket.end(); ++it) {
    if (RowsMatch(rows_[q], rows_[*it], map_, loose_, mounts_)) matches.push_back(*it);
  }
  return matches;
}

namespace {

std::vector<bool> TakingPart(const catalogue::Application& app) {
  std::vector<bool> takesPart(app.files.size(), true);
  if (app.options.duplicate.onlySelected) {
    for (std::size_t i = 0; i < app.files.size(); ++i) takesPart[i] = app.files[i].selected;
  }
  return takesPart;
}

std::optional<std::uint64_t> RowsAbove(const MatchFinder& finder, bool separators, std::uint64_t limit) {
  if (finder.GroupRowsFromBuckets(separators) <= limit) return std::nullopt;
  const std::uint64_t rows = finder.GroupRows(separators);
  return rows > limit ? std::optional(rows) : std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> DuplicateRowsAbove(const catalogue::Application& app, std::uint64_t limit) {
  const catalogue::DuplicateOptions& o = app.options.duplicate;
  if (!o.AnyCriterion()) return std::nullopt;
  const catalogue::VolumeLabels mounts;
  const MatchFinder finder(app.files, app.columnMap, CriteriaOf(o, true), &mounts, TakingPart(app));
  return RowsAbove(finder, o.emptyLines, limit);
}

std::string LargeResultQuestion(std::uint64_t rows) {
  return "The duplicate search finds " + catalogue::FormatThousands(static_cast<std::int64_t>(rows)) +
         " lines for RESULTS.\n\rThat needs much memory and time.\n\r\rContinue ?";
}

void SearchDuplicates(catalogue::Application& app) {
  const catalogue::DuplicateOptions& o = app.options.duplicate;
  const std::size_t rows = app.files.size();
  const std::vector<bool> takesPart = TakingPart(app);
  const catalogue::VolumeLabels mounts;
  const MatchFinder finder(app.files, app.columnMap, CriteriaOf(o, true), &mounts, takesPart);
  if (o.AnyCriterion()) {
    if (const auto large = RowsAbove(finder, o.emptyLines, kLargeResultRows)) {
      if (Ask(app.frontend, catalogue::Sound::Question, catalogue::MessageKind::Confirmation,
              LargeResultQuestion(*large), {catalogue::Button::Yes, catalogue::Button::No}) != catalogue::Button::Yes) {
        return;
      }
    }
  }
  catalogue::LongOperation operation(app, {10, {}});
  operation.EndOnPage(catalogue::Page::Results);
  operation.ClearEstimateAtEnd();
  app.resultsSort.Clear();
  if (!o.appendResults) app.results.clear();
  if (!o.AnyCriterion()) {
    NoCriterion(app);
    return;
  }
  std::unordered_set<std::string> present;
  if (o.removeDuplicates) {
    for (const auto& row : app.results) present.insert(catalogue::RowKey(row, kColumns));
  }
  const long long n = static_cast<long long>(rows) - 2;
  for (std::size_t q = 0; q + 1 < rows; ++q) {
    std::vector<std::size_t> group;
    if (takesPart[q]) group = finder.LaterMatches(q);
    if (catalogue::ConfirmStop(app)) break;
    if (q % 10 == 0) {
      ShowTriangularProgress(app, n, static_cast<long long>(q));
      app.frontend.SetStatusPanel(0, "Results:  " + std::to_string(app.results.size()));
    }
    app.frontend.PumpEvents();
    if (group.empty()) continue;
    group.insert(group.begin(), q);
    for (std::size_t i : group) {
      if (o.removeDuplicates && !present.insert(catalogue::RowKey(app.files[i], kColumns)).second) continue;
      app.results.push_back(app.files[i]);
      app.results.back().checked = false;
    }
    if (o.emptyLines) app.results.emplace_back();
  }
  if (o.emptyLines) TidyUpGroups(app.results, app.columnMap);
  for (auto& row : app.results) row.checked = false;
  app.frontend.ListsChanged();
}

void SearchDifferences(catalogue::Application& app) {
  const catalogue::DuplicateOptions& o = app.options.duplicate;
  if (!o.AnyCriterion()) {
    NoCriterion(app);
    return;
  }
  if (o.onlySelected && catalogue::CountSelected(app.files) == 0) {
    Ask(app.frontend, catalogue::Sound::Hand, catalogue::MessageKind::Information, "Nothing selected in FILES.",
        {catalogue::Button::Ok});
    return;
  }
  catalogue::LongOperation operation(app, {25, {}});
  operation.EndOnPage(catalogue::Page::Results);
  operation.ClearEstimateAtEnd();
  app.resultsSort.Clear();
  app.results.clear();
  app.results.reserve(app.files.size());
  bool stopped = false;
  for (std::size_t i = 0; i < app.files.size() && !stopped; ++i) {
    if (o.onlySelected && !app.files[i].selected) continue;
    app.results.push_back(app.files[i]);
    app.results.back().checked = false;
    stopped = catalogue::ConfirmStop(app);
    if (i % 25 == 0) {
      app.frontend.SetProgress(0, static_cast<int>(300 * i / app.files.size()));
      app.frontend.SetStatusPanel(0, "Copy:  " + std::to_string(i));
      app.frontend.PumpEvents();
    }
  }
  if (app.results.empty() || stopped) {
    app.frontend.ListsChanged();
    return;
  }
  catalogue::StartProgress(app);
  const std::size_t count = app.results.size();
  const std::vector<bool> everyRow(count, true);
  const catalogue::VolumeLabels mounts;
  const MatchFinder finder(app.results, app.columnMap, CriteriaOf(o, false), &mounts, everyRow);
  const Criterion drive{Column::Path, -2};
  std::vector<bool> alive(count, true);
  long long m = static_cast<long long>(count) - 1, k = 0;
  std::size_t left = count;
  for (std::size_t p = 0; p < count; ++p) {
    if (!alive[p]) continue;
    std::vector<std::size_t> matched;
    for (std::size_t j : finder.LaterMatches(p)) {
      if (alive[j]) matched.push_back(j);
    }
    bool found = false;
    if (o.drive) {
      for (std::size_t j : matched) {
        if (!TextsMatch(app.columnMap.Get(app.results[j], drive.column), app.columnMap.Get(app.results[p], drive.column),
                        drive.mode, &mounts)) {
          found = true;
        }
      }
      if (found) {
        for (std::size_t j : matched) alive[j] = false;
      }
    } else {
      found = !matched.empty();
      for (std::size_t j : matched) alive[j] = false;
      m -= static_cast<long long>(matched.size());
    }
    if (found) {
      alive[p] = false;
      left -= matched.size() + 1;
    }
    ++k;
    if (catalogue::ConfirmStop(app)) break;
    ShowTriangularProgress(app, m, k);
    app.frontend.SetStatusPanel(0, "Results:  " + std::to_string(left));
    app.frontend.PumpEvents();
  }
  std::size_t index = 0;
  std::erase_if(app.results, [&](const catalogue::TrackRecord&) { return !alive[index++]; });
  app.frontend.ListsChanged();
}

}  // namespace tonvault::views
