#include "audio/Id3v1.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "audio/Genres.h"
#include "audio/MpegAudioCheck.h"
#include "audio/TextEncoding.h"
#include "files/OpenFile.h"

namespace tonvault::audio {

namespace {

constexpr int kLastGenreIndex = kGenreCount - 1;
constexpr int kHighestTrack = 127;

// A field's bytes up to the first NUL, trimmed, as UTF-8.
std::string FieldText(const std::uint8_t* bytes, std::size_t width) {
  const auto* begin = reinterpret_cast<const char*>(bytes);
  const std::size_t length = strnlen(begin, width);
  return LegacyToUtf8(TrimControl(std::string_view(begin, length)));
}

void PutField(std::string& tag, std::size_t offset, std::size_t width, const std::string& utf8) {
  const std::string bytes = Utf8ToLegacy(utf8);
  std::memcpy(tag.data() + offset, bytes.data(), std::min(width, bytes.size()));
}

// Sets a file's modification time back; access time stays as it is now.
void RestoreModificationTime(int descriptor, const struct stat& before) {
  const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
  ::futimens(descriptor, times);
}

bool WriteAll(int descriptor, const char* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(descriptor, data, size, offset);
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
    offset += written;
  }
  return true;
}

}  // namespace

Id3v1Tag ReadId3v1Tag(ByteSource* source) {
  Id3v1Tag tag;
  if (source == nullptr) return tag;
  tag.fileSize = source->Size();
  std::array<std::uint8_t, kId3v1Size> bytes{};
  if (tag.fileSize < kId3v1Size || source->ReadAt(tag.fileSize - kId3v1Size, bytes) != kId3v1Size) return tag;
  if (std::memcmp(bytes.data(), "TAG", 3) != 0) return tag;
  tag.present = true;
  tag.version = 10;
  tag.title = FieldText(&bytes[3], 30);
  tag.artist = FieldText(&bytes[33], 30);
  tag.album = FieldText(&bytes[63], 30);
  tag.year = FieldText(&bytes[93], 4);
  if (bytes[125] == 0 && bytes[126] != 0) {
    tag.comment = FieldText(&bytes[97], 28);
    tag.track = bytes[126];
    tag.version = 11;
  } else {
    tag.comment = FieldText(&bytes[97], 30);
  }
  tag.genre = bytes[127];
  if (tag.year == "0") tag.year.clear();
  return tag;
}

Id3v1Tag ReadId3v1Tag(const std::string& path) {
  auto source = FileByteSource::Open(path);
  Id3v1Tag tag = ReadId3v1Tag(source.get());
  return tag;
}

std::string EncodeId3v1Tag(const Id3v1Fields& fields) {
  std::string tag(kId3v1Size, '\0');
  std::memcpy(tag.data(), "TAG", 3);
  PutField(tag, 3, 30, fields.title);
  PutField(tag, 33, 30, fields.artist);
  PutField(tag, 63, 30, fields.album);
  PutField(tag, 93, 4, fields.year);
  PutField(tag, 97, 28, fields.comment);
  const int track = fields.track < 0 || fields.track > kHighestTrack ? 0 : fields.track;
  const int genre = fields.genre < 0 || fields.genre > kLastGenreIndex ? kNoGenre : fields.genre;
  tag[126] = static_cast<char>(track);
  tag[127] = static_cast<char>(genre);
  return tag;
}

Id3v1WriteResult WriteId3v1Tag(const std::string& path, const Id3v1Fields& fields, bool remove, bool keepFileDate) {
  files::OpenedFile file;
  if (const files::FileStatus error = files::OpenForPatch(path, file)) {
    return {false, error->failure == files::Failure::NotRegularFile
                       ? "Cannot write file\n\r" + path + "  !\n\r\r(" + error->Text() + ")"
                       : CannotWriteFileText(path)};
  }
  const int descriptor = file.descriptor.Get();
  const struct stat& before = file.info;
  DescriptorSource source(descriptor, before.st_size);
  if (!LooksLikeMpegAudio(source)) return {false, NotMpegAudioText(path)};
  const off_t size = before.st_size;
  off_t position = size;
  char last[kId3v1Size];
  if (size >= kId3v1Size && ::pread(descriptor, last, kId3v1Size, size - kId3v1Size) == kId3v1Size &&
      std::memcmp(last, "TAG", 3) == 0) {
    position = size - kId3v1Size;
  }
  bool ok = true;
  if (remove) {
    ok = position == size || ::ftruncate(descriptor, position) == 0;
  } else {
    const std::string tag = EncodeId3v1Tag(fields);
    ok = WriteAll(descriptor, tag.data(), tag.size(), position);
  }
  if (ok && keepFileDate) RestoreModificationTime(descriptor, before);
  ok = file.descriptor.Close() && ok;
  if (!ok) return {false, CannotWriteFileText(path)};
  return {};
}

std::string CannotWriteFileText(const std::string& fileName) {
  return "Cannot write file\n\r" + fileName + "  !\n\r\r(Write protected ?)";
}

}  // namespace tonvault::audio
