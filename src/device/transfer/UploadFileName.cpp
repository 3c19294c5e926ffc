#include "device/transfer/UploadFileName.h"

#include "catalogue/FillRow.h"
#include "catalogue/TextCase.h"
#include "device/folder/FileAudioInfo.h"
#include "tagging/editor/EditFields.h"
#include "tagging/rename/NewName.h"

namespace tonvault::device {

using tagging::Field;

namespace {

// A value of the new name: characters a file name cannot hold become the
// substitute, a double quote a single quote, and "-" the substitute when
// the separator holds one.
std::string ItemValue(std::string_view value, const catalogue::RenameOptions& rename, const std::string& substitute) {
  const bool dashSeparator = rename.separator.find('-') != std::string::npos;
  std::string result;
  for (const char c : value) {
    switch (c) {
      case ':': case '*': case '?': case '/': case '<': case '>': case '|': case '\\': result += substitute; break;
      case '"': result += '\''; break;
      case '-': result += dashSeparator ? substitute : std::string(1, c); break;
      default: result += c; break;
    }
  }
  return result;
}

std::string FieldValue(Field field, const DeviceTrack& data, const catalogue::Options& options) {
  switch (field) {
    case Field::Title: return data.title;
    case Field::Artist: return data.artist;
    case Field::Album: return data.album;
    case Field::Year: return std::to_string(data.year);
    case Field::Comment: return data.comment;
    case Field::Track: return tagging::PaddedTrack(data.trackNumber, options.rename.trackDigits);
    case Field::Genre: return data.genre;
  }
  return {};
}

std::string RenamedName(const DeviceTrack& data, const catalogue::Options& options, const std::string& substitute) {
  tagging::FieldValues values;
  for (const Field field : tagging::kAllFields) {
    values[static_cast<std::size_t>(field)] = ItemValue(FieldValue(field, data, options), options.rename, substitute);
  }
  return SafeFileName(tagging::NameFromItems(values, options.rename.order, options.rename.separator), substitute) +
         "." + catalogue::AsciiLower(data.codec);
}

}  // namespace

std::string UploadFileName(const std::string& folder, const DeviceTrack& data, const catalogue::Options& options) {
  const std::string substitute =
      catalogue::IsValidSubstitute(options.rename.substitute) ? options.rename.substitute : "_";
  std::string name = options.upload.renaming == 1 ? RenamedName(data, options, substitute) : data.fileName;
  const std::string completion = SafeFileName(data.title, substitute) + "." + catalogue::AsciiLower(data.codec);
  const std::size_t unknown = catalogue::AsciiLower(name).find("<unknown>");
  if (unknown != std::string::npos) name = name.substr(0, unknown) + completion;
  // The player's names may hold separators or "..": the file stays in the folder.
  name = SafeFileName(name, completion);
  if (catalogue::LowerExtension(name).empty()) name += completion;
  return folder + name;
}

}  // namespace tonvault::device
