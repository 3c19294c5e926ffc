#include "tagging/transform/FieldTransforms.h"

namespace tonvault::tagging {

namespace {

// Version 1 fields exist only for files on disk.
bool Reachable(const TagEditor& editor, TagField target) {
  return target.version == Version::V2 || !editor.PlayerTagMode();
}

}  // namespace

int SaveVersion(TagField target) { return target.version == Version::V1 ? 1 : 2; }

bool ReplaceStep(TagEditor& editor, TagField target, const std::string& search, const std::string& replaceBy) {
  VersionState& state = editor.Values(target.version);
  const Replaced replaced = ReplaceText(state.Panel(target.field), search, replaceBy);
  if (!replaced.Wanted()) return false;
  state.Value(target.field) = replaced.text;
  editor.MarkChangedFields();
  return true;
}

bool CaseStep(TagEditor& editor, TagField target, CaseMode mode) {
  VersionState& state = editor.Values(target.version);
  const std::string& panel = state.Panel(target.field);
  if (panel.empty()) return false;
  std::string changed = ChangeCase(panel, mode);
  if (changed == panel) return false;
  state.Value(target.field) = std::move(changed);
  editor.MarkChangedFields();
  return true;
}

bool JoinStep(TagEditor& editor) {
  VersionState& state = editor.Values(Version::V2);
  state.Value(Field::Title) =
      JoinedTitle(state.Panel(Field::Title), editor.App().options.rename.separator, state.Panel(Field::Artist));
  state.Value(Field::Artist).clear();
  editor.MarkChangedFields();
  return true;
}

bool SplitStep(TagEditor& editor) {
  VersionState& state = editor.Values(Version::V2);
  const auto parts = SplitTitle(state.Panel(Field::Title), editor.App().options.rename.extractSeparators[0]);
  if (!parts) return false;
  state.Value(Field::Title) = parts->first;
  state.Value(Field::Artist) = parts->second;
  editor.MarkChangedFields();
  return true;
}

void RunTransform(TagEditor& editor, int version, const std::function<bool()>& step) {
  (void)editor.RunOverAll([&] { return !step() || editor.SaveEntry(version); });
}

void ReplaceInAll(TagEditor& editor, TagField target, const std::string& search, const std::string& replaceBy) {
  if (!ReplaceAllowed(search, replaceBy) || !Reachable(editor, target)) return;
  RunTransform(editor, SaveVersion(target), [&] { return ReplaceStep(editor, target, search, replaceBy); });
}

void ChangeCaseInAll(TagEditor& editor, TagField target, CaseMode mode) {
  if (!Reachable(editor, target)) return;
  RunTransform(editor, SaveVersion(target), [&] { return CaseStep(editor, target, mode); });
}

void JoinTitleAndArtist(TagEditor& editor) {
  RunTransform(editor, 2, [&] { return JoinStep(editor); });
}

void SplitTitleAndArtist(TagEditor& editor) {
  RunTransform(editor, 2, [&] { return SplitStep(editor); });
}

}  // namespace tonvault::tagging
