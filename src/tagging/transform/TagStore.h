#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tagging/editor/TagEditor.h"

namespace tonvault::tagging {

// The tag store in memory ("RAM"): the Title, Artist, Album, Year,
// Comment, Track and Genre texts of a set of rows, in row order. It lives
// until it is filled again and is never saved.
class TagStore {
 public:
  std::size_t Length() const { return texts_[0].size(); }
  const std::string& Text(std::size_t position, Field field) const {
    return texts_[static_cast<std::size_t>(field)].at(position);
  }
  // Empties the store and fills it with the catalogue texts of `rows`.
  void Fill(const std::vector<const catalogue::TrackRecord*>& rows, const catalogue::ColumnMap& map);

 private:
  std::array<std::vector<std::string>, kFieldCount> texts_;
};

inline constexpr const char* kNoLinesSelected = "No lines selected.";
// The box after the store was filled with `count` rows.
std::string TagsCopiedText(std::size_t count);
// The error when the store and the editor hold different numbers of entries.
std::string TagCountMismatchText(std::size_t stored, std::size_t entries);

// "Copy  T&ags  =>  RAM" in the editor: the rows of the editor's entries.
void TagsToRam(TagEditor& editor, TagStore& store);
// "Copy  T&ags  =>  &RAM" in the Edit menu: the selected rows of RESULTS
// when that page is shown, else of FILES.
void SelectionToRam(catalogue::Application& app, TagStore& store);
// "Copy  RA&M  =>  Tags   (NJB or V2)": entry n takes store position n
// into its V2 fields and is saved; refused when the counts differ.
void RamToTags(TagEditor& editor, const TagStore& store);

}  // namespace tonvault::tagging
