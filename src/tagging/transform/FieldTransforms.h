#pragma once

#include <functional>
#include <string>

#include "tagging/editor/TagEditor.h"
#include "tagging/transform/TextTransforms.h"

namespace tonvault::tagging {

// One tag field a transform works on.
struct TagField {
  Version version = Version::V2;
  Field field = Field::Title;
};

// The steps change the new values of the entry on display from the values
// read from it (the panels) and return whether the entry is to be saved.
// Nothing is written.
bool ReplaceStep(TagEditor& editor, TagField target, const std::string& search, const std::string& replaceBy);
bool CaseStep(TagEditor& editor, TagField target, CaseMode mode);
// V2 Title = Title + the rename separator + Artist, V2 Artist empty.
bool JoinStep(TagEditor& editor);
// V2 Title and Artist from the title cut at the extract "Separator 1".
bool SplitStep(TagEditor& editor);

// The version number a step saves with, as SaveEditEntry takes it.
int SaveVersion(TagField target);

// Runs `step` over every entry of the editor as one long operation and
// saves each entry it asks for with `version`; the first failed save ends
// the run, the entries before it stay saved.
void RunTransform(TagEditor& editor, int version, const std::function<bool()>& step);

// "&Remove / replace char or string in": nothing happens for an empty or
// refused search text.
void ReplaceInAll(TagEditor& editor, TagField target, const std::string& search, const std::string& replaceBy);
void ChangeCaseInAll(TagEditor& editor, TagField target, CaseMode mode);
void JoinTitleAndArtist(TagEditor& editor);
void SplitTitleAndArtist(TagEditor& editor);

}  // namespace tonvault::tagging
