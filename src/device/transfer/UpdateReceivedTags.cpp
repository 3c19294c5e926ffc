#include "device/transfer/UpdateReceivedTags.h"

#include <algorithm>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/Id3v2Writer.h"
#include "catalogue/FillRow.h"
#include "tagging/editor/EditFields.h"

namespace tonvault::device {

namespace {

std::string YearText(int year) { return year > 0 ? std::to_string(year) : std::string(); }

int GenreIndex(const std::string& genre) {
  const auto& table = audio::GenreTable();
  const auto found = std::find(table.begin(), table.end(), genre);
  return found == table.end() ? audio::kNoGenre : static_cast<int>(found - table.begin());
}

void UpdateVersion1(const std::string& path, const DeviceTrack& data, int state) {
  if (state == static_cast<int>(TagUpdate::IfExisting) && !audio::ReadId3v1Tag(path).present) return;
  audio::Id3v1Fields fields;
  fields.title = data.title, fields.artist = data.artist, fields.album = data.album;
  fields.comment = data.comment, fields.year = YearText(data.year);
  fields.track = data.trackNumber;
  fields.genre = GenreIndex(data.genre);
  audio::WriteId3v1Tag(path, fields, false, false);
}

void UpdateVersion2(const std::string& path, const DeviceTrack& data, int state, const catalogue::Options& options) {
  if (state == static_cast<int>(TagUpdate::IfExisting) && !audio::ReadId3v2Tag(path).present) return;
  audio::Id3v2TagFields fields;
  fields.title = data.title, fields.artist = data.artist, fields.album = data.album;
  fields.comment = data.comment, fields.year = YearText(data.year), fields.genre = data.genre;
  if (data.trackNumber > 0) fields.track = tagging::PaddedTrack(data.trackNumber, options.id3.trackNumberDigits);
  audio::Id3v2WriteOptions write;
  write.keepOldContent = true;
  write.extraSpace = options.id3.extraSpace;
  audio::WriteId3v2Tag(path, fields, write);
}

}  // namespace

std::string TagUpdateCaption(int version, int state) {
  const std::string caption = "ID3 version " + std::to_string(version);
  switch (static_cast<TagUpdate>(state)) {
    case TagUpdate::Create: return caption + "  (create)";
    case TagUpdate::IfExisting: return caption + "  (if existing)";
    default: return caption;
  }
}

void UpdateReceivedTags(const std::string& path, const std::string& extensionOf, const DeviceTrack& data,
                        const catalogue::Options& options) {
  if (catalogue::LowerExtension(extensionOf).find(".mp") == std::string::npos) return;
  if (options.upload.id3v1 != static_cast<int>(TagUpdate::Off)) UpdateVersion1(path, data, options.upload.id3v1);
  if (options.upload.id3v2 != static_cast<int>(TagUpdate::Off)) UpdateVersion2(path, data, options.upload.id3v2, options);
}

}  // namespace tonvault::device
