#include "tagging/extract/ExtractEntry.h"

#include <algorithm>

#include "tagging/extract/SplitFileName.h"
#include "tagging/rename/ItemRows.h"

namespace tonvault::tagging {

namespace {

// The value an item gives a field of `version`.
std::string FieldValueOf(Version version, Field field, const std::string& item) {
  if (version == Version::V2) return item;
  if (field == Field::Track) return V1TrackText(V1TrackNumber(item));
  if (field == Field::Genre) {
    const std::string wanted = TrimBlanks(item);
    const auto& entries = V1GenreEntries();
    return std::find(entries.begin(), entries.end(), wanted) != entries.end() ? wanted : std::string();
  }
  // The V1 writer cuts the text to the field's width.
  return item;
}

}  // namespace

Version ExtractVersion(const catalogue::RenameOptions& options) {
  return options.extractTagVersion == 1 ? Version::V2 : Version::V1;
}

void FillFieldsFromFileName(TagEditor& editor) {
  if (!editor.ShowsDiskFiles()) return;
  const catalogue::RenameOptions& options = editor.App().options.rename;
  const Version version = ExtractVersion(options);
  VersionState& state = editor.Values(version);
  const auto& separators = options.extractSeparators;
  const std::vector<std::string> items =
      SplitFileName(BaseNameForItems(editor.EditList().at(editor.EditIndex()).fileName), separators[0],
                    separators[1], separators[2]);
  for (std::size_t i = 0; i < items.size() && i < options.extractOrder.size(); ++i) {
    const std::string& row = options.extractOrder[i];
    if (EndsItems(row)) break;
    const std::optional<Field> field = FieldOfRow(row);
    if (!field) continue;
    std::string& value = state.Value(*field);
    if (!value.empty() && !options.extractOverride) continue;
    value = FieldValueOf(version, *field, items[i]);
  }
  editor.MarkChangedFields();
}

bool ExtractEntry(TagEditor& editor) {
  if (!editor.ShowsDiskFiles()) return false;
  FillFieldsFromFileName(editor);
  return editor.SaveEditEntry(ExtractVersion(editor.App().options.rename) == Version::V1 ? 1 : 2);
}

void ExtractSingleFile(TagEditor& editor) {
  editor.RunOnDisplay([&editor] { return ExtractEntry(editor); });
}

void ExtractAllFiles(TagEditor& editor) {
  if (editor.ShowsDiskFiles()) (void)editor.RunOverAll([&editor] { return ExtractEntry(editor); });
}

}  // namespace tonvault::tagging
