#include "audio/Id3v2Writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "audio/BufferedReader.h"
#include "audio/MpegAudioCheck.h"
#include "audio/MpegFrames.h"
#include "audio/TextEncoding.h"
#include "files/CopyFile.h"
#include "files/FileIdentity.h"
#include "files/OpenFile.h"

namespace tonvault::audio {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeader = 10;
constexpr std::size_t kCopyBlock = 64 * 1024;

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Append(Bytes& out, std::string_view bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

// The encoding byte and the encoded text of a value.
std::pair<std::uint8_t, std::string> Encode(const std::string& text) {
  if (FitsSingleByte(text)) return {0, Utf8ToLegacy(text)};
  return {1, std::string("\xFF\xFE", 2) + Utf8ToUtf16Le(text)};
}

void AppendFrame(Bytes& out, std::string_view id, std::span<const std::uint8_t> content, std::uint8_t flags1 = 0,
                 std::uint8_t flags2 = 0) {
  Append(out, id);
  PutBigEndian(out, static_cast<std::uint32_t>(content.size()));
  out.push_back(flags1);
  out.push_back(flags2);
  out.insert(out.end(), content.begin(), content.end());
}

Bytes TextContent(const std::string& text) {
  const auto [encoding, encoded] = Encode(text);
  Bytes content{encoding};
  Append(content, encoded);
  return content;
}

Bytes CommentContent(const std::string& text) {
  const auto [encoding, encoded] = Encode(text);
  Bytes content{encoding};
  Append(content, "eng");
  if (encoding == 0)
    content.push_back(0);
  else
    Append(content, std::string_view("\xFF\xFE\0\0", 4));  // empty descriptor with its mark
  Append(content, encoded);
  return content;
}

bool IsWrittenId(const std::string& id) {
  static const std::array<std::string_view, 7> written = {"TCON", "TRCK", "COMM", "TYER", "TALB", "TPE1", "TIT2"};
  return std::find(written.begin(), written.end(), id) != written.end();
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The first 0xFF followed by a byte of 0xE0 or more, from `from` on.
std::int64_t FindAudioStart(BufferedReader& reader, std::int64_t from, bool& failed) {
  constexpr std::size_t kBlock = 256;
  for (std::int64_t at = from; at < reader.Size(); at += kBlock - 1) {
    const auto block = reader.Read(at, kBlock, failed);
    if (failed) return -1;
    for (std::size_t i = 0; i + 1 < block.size(); ++i) {
      if (block[i] == 0xFF && block[i + 1] >= 0xE0) return at + static_cast<std::int64_t>(i);
    }
    if (block.size() < kBlock) break;
  }
  return -1;
}

void RestoreDate(const std::string& path, const struct stat& before) {
  const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Overwrites the old tag where it stands: a tag of the same length.
files::FileStatus WriteInPlace(const std::string& path, const Bytes& tag) {
  files::OpenedFile file;
  if (auto error = files::OpenForPatch(path, file)) return error;
  std::size_t done = 0;
  while (done < tag.size()) {
    const ssize_t written =
        ::pwrite(file.descriptor.Get(), tag.data() + done, tag.size() - done, static_cast<off_t>(done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return files::FileError{files::Failure::System, written < 0 ? errno : ENOSPC};
    done += static_cast<std::size_t>(written);
  }
  if (::fsync(file.descriptor.Get()) != 0 || !file.descriptor.Close()) return files::ErrorFromErrno(errno);
  return std::nullopt;
}

// The user's message for a failed write of the file.
std::string WriteFailureText(const std::string& path, const files::FileError& error) {
  if (error.failure == files::Failure::WriteProtected)
    return "Cannot write " + Quoted(path) + " !\n\r\rWrite protected ?";
  if (error.failure == files::Failure::ReadFailed) return "Error reading " + Quoted(path) + " !";
  return "Cannot write temp file !\n\r\rDisk full or write protected ?\n\r\r(" + error.Text() + ")";
}

}  // namespace

Bytes BuildId3v2Frames(const Id3v2TagFields& fields, const std::vector<KeptFrame>& kept) {
  Bytes frames;
  const std::pair<std::string_view, const std::string*> values[] = {
      {"TPE1", &fields.artist}, {"TALB", &fields.album}, {"TIT2", &fields.title}, {"COMM", &fields.comment},
      {"TCON", &fields.genre},  {"TRCK", &fields.track}, {"TYER", &fields.year}};
  for (const auto& [id, value] : values) {
    const std::string text(TrimControl(*value));
    if (text.empty()) continue;
    AppendFrame(frames, id, id == "COMM" ? CommentContent(text) : TextContent(text));
  }
  for (const KeptFrame& frame : kept) {
    if (frame.id.size() != 4 || IsWrittenId(frame.id) || frame.bytes.size() < 6) continue;
    // The size field is written as a plain number and always matches the
    // bytes that are there; the two flag bytes are the 2.3 flags the reader
    // kept (a 2.4 frame comes decoded, its format flags cleared).
    AppendFrame(frames, frame.id, std::span(frame.bytes).subspan(6), frame.bytes[4], frame.bytes[5]);
  }
  return frames;
}

Bytes BuildId3v2Tag(const Bytes& frames, std::int64_t oldTotal, int extraSpace) {
  Bytes tag(kHeader + frames.size(), 0);
  std::memcpy(tag.data(), "ID3\x03", 4);
  std::copy(frames.begin(), frames.end(), tag.begin() + kHeader);
  const std::int64_t spare = oldTotal - static_cast<std::int64_t>(tag.size());
  const std::int64_t padding = spare >= 0 && spare < 5LL * extraSpace ? spare : std::max(0, extraSpace);
  tag.resize(tag.size() + static_cast<std::size_t>(padding), 0);
  const auto size = static_cast<std::uint32_t>(tag.size() - kHeader);
  tag[6] = static_cast<std::uint8_t>(size >> 21 & 0x7F);
  tag[7] = static_cast<std::uint8_t>(size >> 14 & 0x7F);
  tag[8] = static_cast<std::uint8_t>(size >> 7 & 0x7F);
  tag[9] = static_cast<std::uint8_t>(size & 0x7F);
  return tag;
}

namespace {

Id3v2WriteResult Refused(std::string message) {
  Id3v2WriteResult result;
  result.ok = false;
  result.message = std::move(message);
  return result;
}

// What a new tag for the file at `path` is: the tag's bytes, the old tag's
// length and where the audio starts; or why no tag is written.
struct PreparedTag {
  std::unique_ptr<FileByteSource> source;
  struct stat before {};
  Bytes tag;
  std::int64_t oldTotal = 0;
  std::int64_t audioStart = 0;
};

std::optional<Id3v2WriteResult> PrepareTag(const std::string& path, const Id3v2TagFields& fields,
                                           const Id3v2WriteOptions& options, PreparedTag& out) {
  const std::string readError = "Error reading " + Quoted(path) + " !";
  files::FileStatus openError;
  out.source = FileByteSource::Open(path, &openError);
  if (!out.source) {
    if (openError->failure == files::Failure::NotFound) return Refused(readError);
    return Refused(readError + "\n\r\r" + openError->Text());
  }
  if (::stat(path.c_str(), &out.before) != 0) return Refused(readError);
  std::array<std::uint8_t, 256> first{};
  const std::int64_t firstCount = out.source->ReadAt(0, first);
  if (firstCount < 0) return Refused(readError);
  out.oldTotal = firstCount >= 10 && std::memcmp(first.data(), "ID3", 3) == 0
                     ? DecodeTagSize(first[6], first[7], first[8], first[9]) + 10
                     : 0;
  BufferedReader reader(*out.source);
  bool failed = false;
  out.audioStart = FindAudioStart(reader, out.oldTotal, failed);
  if (failed) return Refused(readError);
  if (out.audioStart < 0) return Refused(readError + "\n\r\rBegin of MP3-frames not found");
  if (!LooksLikeMpegAudio(*out.source)) return Refused(NotMpegAudioText(path));
  if (!options.remove) {
    std::vector<KeptFrame> kept;
    if (options.keepOldContent) kept = ListId3v2Frames(out.source.get()).keptFrames;
    out.tag = BuildId3v2Tag(BuildId3v2Frames(fields, kept), out.oldTotal, options.extraSpace);
    if (out.tag.size() > kMaxId3v2TagLength) {
      return Refused("ID3-Tag exceeds the maximum\n\rinternal length of " + std::to_string(kMaxId3v2TagLength) +
                     " Bytes.");
    }
  }
  return std::nullopt;
}

// Writes the new tag and then the audio of the prepared file.
files::ContentProducer TaggedContent(PreparedTag& prepared) {
  return [&prepared](const files::ContentWriter& write) {
    const Bytes& tag = prepared.tag;
    if (!tag.empty() && !write(reinterpret_cast<const char*>(tag.data()), tag.size())) return false;
    std::vector<std::uint8_t> block(kCopyBlock);
    for (std::int64_t at = prepared.audioStart;; at += static_cast<std::int64_t>(block.size())) {
      const std::int64_t got = prepared.source->ReadAt(at, block);
      if (got < 0) return false;
      if (got == 0) return true;
      if (!write(reinterpret_cast<const char*>(block.data()), static_cast<std::size_t>(got))) return false;
    }
  };
}

}  // namespace

Id3v2WriteResult WriteId3v2Tag(const std::string& path, const Id3v2TagFields& fields,
                               const Id3v2WriteOptions& options) {
  PreparedTag prepared;
  if (::stat(path.c_str(), &prepared.before) == 0 && files::IsWriteProtected(path, prepared.before)) {
    const files::FileError protectedFile{files::Failure::WriteProtected, EACCES};
    return {false, WriteFailureText(path, protectedFile), protectedFile};
  }
  if (auto refused = PrepareTag(path, fields, options, prepared)) return *refused;
  files::FileStatus error;
  if (!options.remove && static_cast<std::int64_t>(prepared.tag.size()) == prepared.oldTotal && prepared.oldTotal > 0) {
    prepared.source.reset();
    error = WriteInPlace(path, prepared.tag);
  } else {
    error = files::ReplaceFile(path, TaggedContent(prepared), options.fault);
  }
  if (error) return {false, WriteFailureText(path, *error), error};
  if (options.keepFileDate) RestoreDate(path, prepared.before);
  return {};
}

Id3v2WriteResult CopyWithId3v2Tag(const std::string& source, const std::string& target, const Id3v2TagFields& fields,
                                  const Id3v2WriteOptions& options) {
  PreparedTag prepared;
  if (auto refused = PrepareTag(source, fields, options, prepared)) return *refused;
  const timespec times[2] = {prepared.before.st_atim, prepared.before.st_mtim};
  const files::FileStatus error = files::WriteFileExclusive(
      target, TaggedContent(prepared), files::NewFileMode(prepared.before.st_mode & 0777), times, options.fault);
  if (error) return {false, WriteFailureText(target, *error), error};
  return {};
}

}  // namespace tonvault::audio
