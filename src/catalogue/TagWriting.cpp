#include "catalogue/TagWriting.h"

namespace tonvault::catalogue {

bool WriteId3v1(Application& app, const std::string& path, const audio::Id3v1Fields& fields, bool remove) {
  const audio::Id3v1WriteResult result = audio::WriteId3v1Tag(path, fields, remove, app.options.id3.keepOriginalFileDate);
  if (result.ok) return true;
  Ask(app.frontend, Sound::Exclamation, MessageKind::Error,
      result.message.empty() ? audio::CannotWriteFileText(path) : result.message, {Button::Ok});
  return false;
}

bool WriteId3v2(Application& app, const std::string& path, const audio::Id3v2TagFields& fields, bool remove) {
  audio::Id3v2WriteOptions options;
  options.remove = remove;
  options.keepOldContent = app.options.id3.keepOldContent;
  options.extraSpace = app.options.id3.extraSpace;
  options.keepFileDate = app.options.id3.keepOriginalFileDate;
  const audio::Id3v2WriteResult result = audio::WriteId3v2Tag(path, fields, options);
  if (!result.ok && !result.message.empty()) {
    Ask(app.frontend, Sound::Exclamation, MessageKind::Error, result.message, {Button::Ok});
  }
  return result.ok;
}

}  // namespace tonvault::catalogue
