#include "audio/Id3v2Writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <array>
#include <cstring>
#include <span>

#include "audio/BufferedReader.h"
#include "audio/MpegAudioCheck.h"
#include "audio/MpegFrames.h"
#include "audio/TextEncoding.h"
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
  if (encoding == 0) content.push_back(0);
  else Append(content, std::string_view("\xFF\xFE\0\0", 4));  // empty descriptor with its mark
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
    const ssize_t written = ::pwrite(file.descriptor.Get(), tag.data() + done, tag.size() - done, static_cast<off_t>(done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return files::FileError{files::Failure::System, written < 0 ? errno : ENOSPC};
    done += static_cast<std::size_t>(written);
  }
  if (::fsync(file.descriptor.Get()) != 0 || !file.descriptor.Close()) return files::ErrorFromErrno(errno);
  return std::nullopt;
}

// The user's message for a failed write of the file.
std::string WriteFailureText(const std::string& path, const files::FileError& error) {
  if (error.failure == files::Failure::WriteProtected) return "Cannot write " + Quoted(path) + " !\n\r\rWrite protected ?";
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

Id3v2WriteResult WriteId3v2Tag(const std::string& path, const Id3v2TagFields& fields,
                               const Id3v2WriteOptions& options) {
  const std::string readError = "Error reading " + Quoted(path) + " !";
  files::FileStatus openError;
  auto source = FileByteSource::Open(path, &openError);
  if (!source) {
    if (openError->failure == files::Failure::NotFound) return {false, readError};
    return {false, readError + "\n\r\r" + openError->Text()};
  }
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) return {false, readError};
  if (files::IsWriteProtected(path, before)) return {false, WriteFailureText(path, {files::Failure::WriteProtected, EACCES})};
  std::array<std::uint8_t, 256> first{};
  const std::int64_t firstCount = source->ReadAt(0, first);
  if (firstCount < 0) return {false, readError};
  const std::int64_t oldTotal =
      firstCount >= 10 && std::memcmp(first.data(), "ID3", 3) == 0 ? DecodeTagSize(first[6], first[7], first[8], first[9]) + 10 : 0;

  BufferedReader reader(*source);
  bool failed = false;
  const std::int64_t audioStart = FindAudioStart(reader, oldTotal, failed);
  if (failed) return {false, readError};
  if (audioStart < 0) return {false, readError + "\n\r\rBegin of MP3-frames not found"};
  if (!LooksLikeMpegAudio(*source)) return {false, NotMpegAudioText(path)};

  Bytes tag;
  if (!options.remove) {
    std::vector<KeptFrame> kept;
    if (options.keepOldContent) kept = ListId3v2Frames(source.get()).keptFrames;
    tag = BuildId3v2Tag(BuildId3v2Frames(fields, kept), oldTotal, options.extraSpace);
    if (tag.size() > kMaxId3v2TagLength) {
      return {false, "ID3-Tag exceeds the maximum\n\rinternal length of " + std::to_string(kMaxId3v2TagLength) + " Bytes."};
    }
  }

  files::FileStatus error;
  if (!options.remove && static_cast<std::int64_t>(tag.size()) == oldTotal && oldTotal > 0) {
    source.reset();
    error = WriteInPlace(path, tag);
  } else {
    error = files::ReplaceFile(
        path,
        [&](const files::ContentWriter& write) {
          if (!tag.empty() && !write(reinterpret_cast<const char*>(tag.data()), tag.size())) return false;
          std::vector<std::uint8_t> block(kCopyBlock);
          for (std::int64_t at = audioStart;; at += static_cast<std::int64_t>(block.size())) {
            const std::int64_t got = source->ReadAt(at, block);
            if (got < 0) return false;
            if (got == 0) return true;
            if (!write(reinterpret_cast<const char*>(block.data()), static_cast<std::size_t>(got))) return false;
          }
        },
        options.fault);
  }
  if (error) return {false, WriteFailureText(path, *error)};
  if (options.keepFileDate) RestoreDate(path, before);
  return {};
}

}  // namespace tonvault::audio
