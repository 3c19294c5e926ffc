#include "tagging/transform/TagStore.h"

#include "tagging/transform/FieldTransforms.h"

namespace tonvault::tagging {

using catalogue::Button;
using catalogue::Column;
using catalogue::MessageKind;
using catalogue::Sound;

namespace {

constexpr std::array<Column, kFieldCount> kColumns = {Column::Title,   Column::Artist, Column::Album, Column::Year,
                                                      Column::Comment, Column::Track,  Column::Genre};

void Inform(catalogue::Frontend& frontend, const std::string& text) {
  frontend.ShowMessage(MessageKind::Information, text, {Button::Ok});
}

// Puts store position `n` into the V2 new values, as the keep boxes and
// the Track box allow.
void TakeStored(TagEditor& editor, const TagStore& store, std::size_t n) {
  VersionState& state = editor.Values(Version::V2);
  for (Field field : kAllFields) {
    const std::string& text = store.Text(n, field);
    if (field == Field::Track) {
      if (state.trackBox == TrackBox::Take && !text.empty()) state.Value(field) = text;
      if (state.trackBox == TrackBox::Clear) state.Value(field).clear();
      if (state.trackBox == TrackBox::Auto) {
        state.Value(field) = PaddedTrack(editor.StartWith() + static_cast<int>(n), editor.Digits());
      }
    } else if (!state.Keep(field) && !text.empty()) {
      state.Value(field) = text;
    }
  }
  editor.MarkChangedFields();
}

}  // namespace

void TagStore::Fill(const std::vector<const catalogue::TrackRecord*>& rows, const catalogue::ColumnMap& map) {
  for (std::size_t f = 0; f < kFieldCount; ++f) {
    texts_[f].clear();
    for (const catalogue::TrackRecord* row : rows) texts_[f].push_back(row ? std::string(map.Get(*row, kColumns[f])) : std::string());
  }
}

std::string TagsCopiedText(std::size_t count) { return std::to_string(count) + "  Tags copied to RAM."; }

std::string TagCountMismatchText(std::size_t stored, std::size_t entries) {
  return "Number of Tags does not match.\n\r\r" + std::to_string(stored) + "  Tags stored in RAM,\n\r" +
         std::to_string(entries) + "  Files selected.";
}

void TagsToRam(TagEditor& editor, TagStore& store) {
  if (!editor.IsOpen()) return;
  const auto& rows = catalogue::Rows(editor.App(), editor.EditSource());
  std::vector<const catalogue::TrackRecord*> named;
  // A row gone since the editor opened gives empty texts.
  for (const EditEntry& entry : editor.EditList()) named.push_back(entry.row < rows.size() ? &rows[entry.row] : nullptr);
  store.Fill(named, editor.App().columnMap);
  Inform(editor.App().frontend, TagsCopiedText(store.Length()));
}

void SelectionToRam(catalogue::Application& app, TagStore& store) {
  const auto list = app.currentPage == catalogue::Page::Results ? catalogue::ListId::Results : catalogue::ListId::Files;
  std::vector<const catalogue::TrackRecord*> selected;
  for (const catalogue::TrackRecord& row : catalogue::Rows(app, list)) {
    if (row.selected) selected.push_back(&row);
  }
  if (selected.empty()) {
    app.frontend.Beep(Sound::Hand);
    Inform(app.frontend, kNoLinesSelected);
    return;
  }
  store.Fill(selected, app.columnMap);
  Inform(app.frontend, TagsCopiedText(store.Length()));
}

void RamToTags(TagEditor& editor, const TagStore& store) {
  if (!editor.IsOpen()) return;
  catalogue::Application& app = editor.App();
  const std::size_t entries = editor.EditList().size();
  if (entries != store.Length()) {
    catalogue::Ask(app.frontend, Sound::Exclamation, MessageKind::Error, TagCountMismatchText(store.Length(), entries),
                   {Button::Ok});
  } else {
    RunTransform(editor, 2, [&] {
      TakeStored(editor, store, editor.EditIndex());
      return true;
    });
  }
  app.filesSort.Clear();
  app.resultsSort.Clear();
  app.frontend.ListsChanged();
}

}  // namespace tonvault::tagging
