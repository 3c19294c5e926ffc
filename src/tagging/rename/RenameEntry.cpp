#include "tagging/rename/RenameEntry.h"

#include "catalogue/FillRow.h"
#include "catalogue/Frontend.h"
#include "files/RenameFile.h"
#include "tagging/rename/NewName.h"

namespace tonvault::tagging {

namespace {

Version RenameVersion(const catalogue::RenameOptions& options) {
  return options.tagVersion == 1 ? Version::V2 : Version::V1;
}

}  // namespace

std::string NewNameOfEntry(TagEditor& editor) {
  const catalogue::RenameOptions& options = editor.App().options.rename;
  const Version version = RenameVersion(options);
  const FieldValues values = NameValues(editor.Of(version), version, options.trackDigits);
  return NewFullName(editor.EditList().at(editor.EditIndex()).fileName, values, options);
}

std::string CannotRenameText(const std::string& oldName, const std::string& newName) {
  return "Cannot rename  " + oldName + "\n\r" + "to  " + newName + "\n\r\r" +
         "(Write protected, in use or filename invalid)";
}

bool RenameEntry(TagEditor& editor) {
  if (!editor.ShowsDiskFiles()) return false;
  const std::string oldName = editor.EditList().at(editor.EditIndex()).fileName;
  const std::string newName = NewNameOfEntry(editor);
  if (newName == oldName) return true;
  // A name with a NUL byte would reach the system cut short, as another
  // name; an empty name would leave a hidden ".mp3" that seems lost.
  const bool usable = newName.find('\0') == std::string::npos && catalogue::NameOf(newName) != ".mp3";
  const bool renamed = usable && !files::RenameExclusive(oldName, newName);
  if (!renamed) {
    catalogue::Ask(editor.App().frontend, catalogue::Sound::Exclamation, catalogue::MessageKind::Error,
                   CannotRenameText(oldName, newName), {catalogue::Button::Ok});
    return false;
  }
  editor.EntryRenamed(newName);
  return true;
}

void RenameSingleFile(TagEditor& editor) {
  editor.RunOnDisplay([&editor] { return RenameEntry(editor); });
}

void RenameAllFiles(TagEditor& editor) {
  if (editor.ShowsDiskFiles()) (void)editor.RunOverAll([&editor] { return RenameEntry(editor); });
}

}  // namespace tonvault::tagging
