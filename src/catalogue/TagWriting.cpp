#include "catalogue/TagWriting.h"

namespace tonvault::catalogue {

bool WriteId3v1(Application& app, const std::string& path, const audio::Id3v1Fields& fields, bool remove) {
  if (audio::WriteId3v1Tag(path, fields, remove, app.options.id3.keepOriginalFileDate).ok) return true;
  Ask(app.frontend, Sound::Exclamation, MessageKind::Error, audio::CannotWriteFileText(path), {Button::Ok});
  return false;
}

}  // namespace tonvault::catalogue
