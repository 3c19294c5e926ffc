#include "device/folder/TrackIndex.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace tonvault::device {
namespace {

constexpr const char* kHeader = "TONVAULT-PLAYER-INDEX 1";

// Appends `text` with backslash, tab, line feed and carriage return escaped.
void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
}

void AppendField(std::string& out, std::string_view text) {
  out += '\t';
  AppendEscaped(out, text);
}

void AppendNumber(std::string& out, long long number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out += '\t';
  out.append(digits, end);
}

std::optional<std::string> Unescape(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <class T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

void AppendTrackLine(std::string& out, int id, const IndexedTrack& t) {
  const AudioInfo& a = t.info;
  out += 'T';
  AppendNumber(out, id);
  for (const std::string* text : {&t.relativePath, &a.title, &a.artist, &a.album, &a.genre, &a.comment, &a.codec,
                                  &a.bitrate, &a.fileName}) {
    AppendField(out, *text);
  }
  for (long long number : {static_cast<long long>(a.fileSize), static_cast<long long>(a.length),
                           static_cast<long long>(a.trackNumber), static_cast<long long>(a.year),
                           static_cast<long long>(a.isProtected)}) {
    AppendNumber(out, number);
  }
  out += '\n';
}

bool ReadTrackLine(const std::vector<std::string_view>& f, TrackIndex& index) {
  if (f.size() != 16) return false;
  int id = 0;
  IndexedTrack t;
  AudioInfo& a = t.info;
  if (!ParseNumber(f[1], id) || id <= 0) return false;
  std::string* texts[] = {&t.relativePath, &a.title, &a.artist, &a.album, &a.genre,
                          &a.comment,      &a.codec, &a.bitrate, &a.fileName};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    auto text = Unescape(f[2 + i]);
    if (!text) return false;
    *texts[i] = std::move(*text);
  }
  int isProtected = 0;
  if (!ParseNumber(f[11], a.fileSize) || !ParseNumber(f[12], a.length) || !ParseNumber(f[13], a.trackNumber) ||
      !ParseNumber(f[14], a.year) || !ParseNumber(f[15], isProtected) || t.relativePath.empty()) {
    return false;
  }
  a.isProtected = isProtected != 0;
  a.id = id;
  return index.tracks.emplace(id, std::move(t)).second && !index.dataFiles.contains(id);
}

bool ReadDataLine(const std::vector<std::string_view>& f, TrackIndex& index) {
  if (f.size() != 5) return false;
  IndexedDataFile d;
  int id = 0;
  auto path = Unescape(f[2]);
  auto name = Unescape(f[3]);
  if (!ParseNumber(f[1], id) || id <= 0 || !path || path->empty() || !name || !ParseNumber(f[4], d.info.fileSize)) {
    return false;
  }
  d.relativePath = std::move(*path);
  d.info.fileName = std::move(*name);
  d.info.id = id;
  return index.dataFiles.emplace(id, std::move(d)).second && !index.tracks.contains(id);
}

}  // namespace

std::string FormatTrackIndex(const TrackIndex& index) {
  std::string text = std::string(kHeader) + "\nnext";
  text.reserve(160 * (index.tracks.size() + index.dataFiles.size()) + 64);
  AppendNumber(text, index.nextId);
  text += '\n';
  for (const auto& [id, track] : index.tracks) AppendTrackLine(text, id, track);
  for (const auto& [id, data] : index.dataFiles) {
    text += 'D';
    AppendNumber(text, id);
    AppendField(text, data.relativePath);
    AppendField(text, data.info.fileName);
    AppendNumber(text, data.info.fileSize);
    text += '\n';
  }
  text += "end";
  AppendNumber(text, static_cast<long long>(index.tracks.size() + index.dataFiles.size()));
  text += '\n';
  return text;
}

std::optional<TrackIndex> ParseTrackIndex(const std::string& text) {
  TrackIndex index;
  std::vector<std::string_view> lines;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // every line ends with a line feed
    lines.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  if (lines.size() < 3 || lines.front() != kHeader) return std::nullopt;
  const auto next = SplitFields(lines[1]);
  if (next.size() != 2 || next[0] != "next" || !ParseNumber(next[1], index.nextId)) return std::nullopt;
  for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
    const auto fields = SplitFields(lines[i]);
    const bool read = fields[0] == "T" ? ReadTrackLine(fields, index) : fields[0] == "D" && ReadDataLine(fields, index);
    if (!read) return std::nullopt;
  }
  const auto last = SplitFields(lines.back());
  std::size_t count = 0;
  if (last.size() != 2 || last[0] != "end" || !ParseNumber(last[1], count) ||
      count != index.tracks.size() + index.dataFiles.size()) {
    return std::nullopt;
  }
  const int highest = std::max(index.tracks.empty() ? 0 : index.tracks.rbegin()->first,
                               index.dataFiles.empty() ? 0 : index.dataFiles.rbegin()->first);
  if (index.nextId <= highest) return std::nullopt;
  return index;
}

TrackIndex SalvageTrackIndex(const std::string& text) {
  TrackIndex index;
  int next = 1;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    const auto fields = SplitFields(line);
    if (fields[0] == "T") {
      ReadTrackLine(fields, index);
    } else if (fields[0] == "D") {
      ReadDataLine(fields, index);
    } else if (fields.size() == 2 && fields[0] == "next") {
      ParseNumber(fields[1], next);
    }
  }
  const int highest = std::max(index.tracks.empty() ? 0 : index.tracks.rbegin()->first,
                               index.dataFiles.empty() ? 0 : index.dataFiles.rbegin()->first);
  index.nextId = std::max(next, highest + 1);
  return index;
}

std::string EscapeLibraryField(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

std::optional<std::string> UnescapeLibraryField(std::string_view text) { return Unescape(text); }

}  // namespace tonvault::device
