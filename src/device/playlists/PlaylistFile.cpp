#include "device/playlists/PlaylistFile.h"

#include <cerrno>

#include "catalogue/DatabaseFormat.h"
#include "device/Playlist.h"
#include "files/ReadWholeFile.h"
#include "files/ReplaceFile.h"
#include "tagging/rename/NewName.h"

namespace tonvault::device {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view text) {
  out += catalogue::CleanField(text);
  out += kLineEnd;
}

// The lines of `text`: split at LF, a CR before it dropped; a final line
// feed ends the last line rather than starting an empty one.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  catalogue::LineReader reader(text);
  while (!reader.AtEnd()) lines.push_back(reader.Next());
  return lines;
}

}  // namespace

std::string EncodePlaylistFile(const PlaylistFileContent& content) {
  std::string out(kByteOrderMark);
  out.reserve(64 + content.tracks.size() * 64);
  AppendLine(out, content.name);
  for (const PlaylistFileTrack& track : content.tracks) {
    out += kLineEnd;
    AppendLine(out, track.title);
    AppendLine(out, track.artist);
    AppendLine(out, track.album);
  }
  return out;
}

PlaylistFileContent DecodePlaylistFile(std::string bytes) {
  const std::string text = catalogue::DecodeDatabaseText(std::move(bytes));
  const std::vector<std::string_view> lines = SplitLines(text);
  PlaylistFileContent content;
  if (lines.empty()) return content;
  content.name = lines[0];
  const std::size_t groups = (lines.size() - 1) / 4;
  content.tracks.reserve(groups);
  for (std::size_t k = 0; k < groups; ++k) {
    const std::size_t first = 4 * k + 2;  // 0-based index of the title line
    content.tracks.push_back({std::string(lines[first]), std::string(lines[first + 1]), std::string(lines[first + 2])});
  }
  return content;
}

std::size_t CountPlaylistFileTracks(std::string_view bytes) {
  // Decoding never adds or takes away a line feed, so the raw bytes have
  // the lines of the text.
  const std::size_t lines = catalogue::LineReader(bytes).CountLines();
  return lines == 0 ? 0 : (lines - 1) / 4;
}

files::FileStatus WritePlaylistFile(const std::string& path, const PlaylistFileContent& content) {
  return files::WriteWholeFile(path, EncodePlaylistFile(content));
}

PlaylistFileRead ReadPlaylistFile(const std::string& path, PlaylistFileContent& content) {
  std::string bytes;
  if (const auto failed = files::ReadWholeFile(path, bytes, kMaxPlaylistFileBytes)) {
    // A file over the limit is refused by its size, before a byte is read.
    return failed->code == EFBIG ? PlaylistFileRead::TooLarge : PlaylistFileRead::Unreadable;
  }
  if (CountPlaylistFileTracks(bytes) > kMaxPlaylistTracks) return PlaylistFileRead::TooLarge;
  content = DecodePlaylistFile(std::move(bytes));
  return PlaylistFileRead::Read;
}

std::string PlaylistFileName(std::string_view name, std::string_view substitute) {
  return tagging::ReplaceIllegalCharacters(name, substitute) + ".TVP";
}

}  // namespace tonvault::device
