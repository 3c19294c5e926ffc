#include "audio/Id3v2Tag.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>

#include "audio/Genres.h"
#include "audio/Id3v2Text.h"
#include "audio/MpegFrames.h"
#include "audio/TextEncoding.h"

namespace tonvault::audio {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kHeaderSize = 10;
constexpr std::int64_t kFirstRead = 256;
constexpr std::uint8_t kUnsynchronisationFlag = 0x80;
constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
constexpr std::uint8_t kFrameUnsynchronised = 0x02;
constexpr std::uint8_t kFrameDataLengthIndicator = 0x01;
constexpr std::size_t kListedContentBytes = 256;

// The tag: at most its total length + 1 bytes (bounded by the file), with a
// whole-tag unsynchronisation undone and the extended header located.
// `end` is where the frame area ends. The bytes are either all in `bytes`
// or, for a reader that needs only some frames, fetched from `source` as
// they are asked for (so a 2 MB picture is skipped, not read).
struct TagImage {
  bool present = false;
  int major = 0;
  int version = 0;
  std::uint8_t flags = 0;
  std::int64_t total = 0;
  Bytes bytes;
  ByteSource* source = nullptr;  // set when the bytes are fetched on demand
  std::int64_t size = 0;         // how many bytes of the tag there are
  std::int64_t end = 0;
  std::int64_t firstFrame = kHeaderSize;

  // The bytes [p, p + n), fewer at the end of the tag; `scratch` holds
  // fetched bytes.
  std::span<const std::uint8_t> View(std::int64_t p, std::int64_t n, Bytes& scratch) const {
    const std::int64_t count = std::min(n, size - p);
    if (p < 0 || count <= 0) return {};
    if (source == nullptr) return {bytes.data() + p, static_cast<std::size_t>(count)};
    scratch.resize(static_cast<std::size_t>(count));
    const std::int64_t got = source->ReadAt(p, scratch);
    scratch.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    return scratch;
  }
};

std::uint32_t BigEndian(const std::uint8_t* p, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | p[i];
  return value;
}

std::uint32_t Syncsafe(const std::uint8_t* p) {
  return (p[0] & 0x7Fu) << 21 | (p[1] & 0x7Fu) << 14 | (p[2] & 0x7Fu) << 7 | (p[3] & 0x7Fu);
}

// Every 0xFF 0x00 pair becomes 0xFF.
Bytes RemoveUnsynchronisation(std::span<const std::uint8_t> in) {
  Bytes out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    out.push_back(in[i]);
    if (in[i] == 0xFF && i + 1 < in.size() && in[i + 1] == 0x00) ++i;
  }
  return out;
}

void LocateExtendedHeader(TagImage& tag) {
  if ((tag.flags & kExtendedHeaderFlag) == 0 || tag.major < 3) return;
  if (static_cast<std::int64_t>(tag.bytes.size()) < kHeaderSize + 4) return;
  const std::uint8_t* size = &tag.bytes[kHeaderSize];
  const std::int64_t length = tag.major == 3 ? std::int64_t{BigEndian(size, 4)} + 4 : std::int64_t{Syncsafe(size)};
  tag.firstFrame = std::min(kHeaderSize + length, tag.end);
}

// Reads the tag. With `whole` off the frame area stays on disk and is
// fetched on demand, unless a whole-tag unsynchronisation must be undone
// first.
std::optional<TagImage> LoadTag(ByteSource* source, bool whole = true) {
  if (source == nullptr) return std::nullopt;
  const std::int64_t fileSize = source->Size();
  std::array<std::uint8_t, kFirstRead> first{};
  const std::int64_t got = source->ReadAt(0, first);
  if (got < 0) return std::nullopt;
  TagImage tag;
  if (got < kHeaderSize || std::memcmp(first.data(), "ID3", 3) != 0) return tag;
  tag.present = true;
  tag.major = first[3];
  tag.version = first[3] * 10 + first[4];
  tag.flags = first[5];
  tag.total = DecodeTagSize(first[6], first[7], first[8], first[9]) + kHeaderSize;
  tag.end = tag.total;
  const bool unsynchronised = tag.major == 3 && (tag.flags & kUnsynchronisationFlag) != 0;
  if (!whole && !unsynchronised) {
    tag.bytes.assign(first.begin(), first.begin() + got);
    tag.source = source;
    tag.size = std::min(tag.total + 1, fileSize);
    LocateExtendedHeader(tag);
    return tag;
  }
  tag.bytes.resize(static_cast<std::size_t>(std::min(tag.total + 1, fileSize)));
  const std::int64_t read = source->ReadAt(0, tag.bytes);
  tag.bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(read, 0)));
  if (unsynchronised) {
    const auto frameAreaEnd = static_cast<std::size_t>(std::min<std::int64_t>(tag.total, tag.bytes.size()));
    Bytes clean(tag.bytes.begin(), tag.bytes.begin() + std::min<std::size_t>(kHeaderSize, tag.bytes.size()));
    if (frameAreaEnd > kHeaderSize) {
      const Bytes frames = RemoveUnsynchronisation(std::span(tag.bytes).subspan(kHeaderSize, frameAreaEnd - kHeaderSize));
      clean.insert(clean.end(), frames.begin(), frames.end());
      tag.end -= static_cast<std::int64_t>(frameAreaEnd - clean.size());
    }
    clean.insert(clean.end(), tag.bytes.begin() + static_cast<std::ptrdiff_t>(frameAreaEnd), tag.bytes.end());
    tag.bytes = std::move(clean);
  }
  tag.size = static_cast<std::int64_t>(tag.bytes.size());
  LocateExtendedHeader(tag);
  return tag;
}

// One frame header at `p`: id, total length and the format flags (2.4).
struct FrameHead {
  std::string id;
  std::int64_t total = 0;
  std::int64_t headerSize = 0;
  std::uint8_t formatFlags = 0;
};

std::optional<FrameHead> ReadFrameHead(const TagImage& tag, std::int64_t p, bool version22) {
  const std::int64_t headerSize = version22 ? 6 : 10;
  if (p + headerSize > tag.size) return std::nullopt;
  Bytes scratch;
  const auto view = tag.View(p, headerSize, scratch);
  if (static_cast<std::int64_t>(view.size()) < headerSize) return std::nullopt;
  const std::uint8_t* h = view.data();
  FrameHead head;
  head.headerSize = headerSize;
  if (version22) {
    head.id.assign(reinterpret_cast<const char*>(h), 3);
    head.total = std::int64_t{BigEndian(h + 3, 3)} + 6;
  } else {
    head.id.assign(reinterpret_cast<const char*>(h), 4);
    const std::uint32_t size = tag.version >= 40 ? Syncsafe(h + 4) : BigEndian(h + 4, 4);
    // The size is a 32-bit field; a total past 2^31 counts as its absolute value.
    const auto total32 = static_cast<std::int32_t>(size + 10u);
    head.total = total32 < 0 ? -std::int64_t{total32} : std::int64_t{total32};
    head.formatFlags = h[9];
  }
  if (head.total <= 0) return std::nullopt;  // a walk must always advance
  return head;
}

// A 2.4 frame's stored content decoded: its group byte and data length
// indicator dropped, its unsynchronisation undone. A compressed or
// encrypted frame cannot be decoded here: nullopt.
std::optional<Bytes> DecodeVersion4Content(const TagImage& tag, const FrameHead& head,
                                           std::span<const std::uint8_t> content) {
  constexpr std::uint8_t kGrouping = 0x40, kCompressed = 0x08, kEncrypted = 0x04;
  if ((head.formatFlags & (kCompressed | kEncrypted)) != 0) return std::nullopt;
  if ((head.formatFlags & kGrouping) != 0) content = content.subspan(std::min<std::size_t>(1, content.size()));
  if ((head.formatFlags & kFrameDataLengthIndicator) != 0) content = content.subspan(std::min<std::size_t>(4, content.size()));
  const bool unsynchronised =
      (head.formatFlags & kFrameUnsynchronised) != 0 || (tag.flags & kUnsynchronisationFlag) != 0;
  return unsynchronised ? RemoveUnsynchronisation(content) : Bytes(content.begin(), content.end());
}

// The frame's content (after its header) within the tag; a 2.4 frame's
// decoded (see DecodeVersion4Content), empty when it cannot be.
Bytes FrameContent(const TagImage& tag, std::int64_t p, const FrameHead& head) {
  const std::int64_t begin = p + head.headerSize;
  const std::int64_t end = std::min({p + head.total, tag.end, tag.size});
  if (end <= begin) return {};
  Bytes scratch;
  std::span<const std::uint8_t> content = tag.View(begin, end - begin, scratch);
  if (tag.major < 4) return scratch.empty() ? Bytes(content.begin(), content.end()) : std::move(scratch);
  return DecodeVersion4Content(tag, head, content).value_or(Bytes());
}

// A 2.4 frame as a 2.3 tag can carry it: a plain size, the status flags
// moved to their 2.3 places, no format flags, and the content decoded (its
// group byte and data length indicator dropped, its unsynchronisation undone),
// so that no reader meets a flag the bytes no longer follow. A compressed or
// encrypted frame cannot be decoded here and gives no bytes (not carried).
Bytes KeptVersion4Frame(const TagImage& tag, std::int64_t p, const FrameHead& head, std::int64_t available) {
  const std::int64_t begin = p + head.headerSize;
  if (available < begin) return {};
  const std::span<const std::uint8_t> content(tag.bytes.data() + begin, static_cast<std::size_t>(available - begin));
  const std::optional<Bytes> decodedContent = DecodeVersion4Content(tag, head, content);
  if (!decodedContent) return {};
  const Bytes& decoded = *decodedContent;
  const auto size = static_cast<std::uint32_t>(decoded.size());
  const std::uint8_t status = tag.bytes[static_cast<std::size_t>(p + 8)];
  Bytes kept = {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                static_cast<std::uint8_t>(size >> 8),  static_cast<std::uint8_t>(size),
                static_cast<std::uint8_t>((status << 1) & 0xE0), 0};
  kept.insert(kept.end(), decoded.begin(), decoded.end());
  return kept;
}

std::string GenreFromText(const std::string& s) {
  const std::size_t close = s.find(')');
  if (close == std::string::npos) return s;
  const std::string rest(TrimControl(std::string_view(s).substr(close + 1)));
  if (!rest.empty()) return rest;
  std::string inner = s;
  if (const std::size_t open = inner.find('('); open != std::string::npos) inner.erase(0, open + 1);
  if (const std::size_t end = inner.find(')'); end != std::string::npos) inner.erase(end);
  const bool number = !inner.empty() && inner.size() < 10 && inner.find_first_not_of("0123456789") == std::string::npos;
  if (number) {
    const int value = std::stoi(inner);
    if (value >= 0 && value < kGenreCount) return std::string(GenreName(value));
  }
  return inner;
}

// The walk's state while values are collected.
struct ValueWalk {
  Id3v2Values values;
  std::string bandArtist;
  std::string recordingTime;
  bool yearFrameSeen = false;

  void Take(const std::string& id, const Bytes& content);
};

void ValueWalk::Take(const std::string& id, const Bytes& content) {
  if (content.size() < 2) return;  // the encoding byte and at least one byte of text
  const int encoding = content[0];
  const std::span<const std::uint8_t> text(content.data() + 1, content.size() - 1);
  if (id == "COM" || id == "COMM") {
    const auto comment = Id3v2CommentText(encoding, text);
    if (comment && !comment->empty()) {
      if (!values.comment.empty()) values.comment += " + ";
      values.comment += *comment;
    }
    return;
  }
  const auto decoded = Id3v2Text(encoding, text);
  if (!decoded) return;
  if (id == "TT2" || id == "TIT2") values.title = *decoded;
  else if (id == "TAL" || id == "TALB") values.album = *decoded;
  else if (id == "TRK" || id == "TRCK") values.track = *decoded;
  else if (id == "TP1" || id == "TPE1") values.artist = *decoded;
  else if (id == "TPE2") bandArtist = *decoded;
  else if (id == "TCO" || id == "TCON") values.genre = GenreFromText(*decoded);
  else if (id == "TYE" || id == "TYER") {
    values.year = *decoded == "0" ? std::string() : *decoded;
    yearFrameSeen = true;
  } else if (id == "TDRC") {
    recordingTime = std::string(CutUtf8(*decoded, 4));
  }
}

std::string ShowSeparators(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\0') out += "\xC2\xB7";
    else out += c;
  }
  return out;
}

// The frames whose content gives a value of the row; the others (pictures,
// lyrics, private data) are stepped over by their sizes.
bool IsValueFrame(const std::string& id) {
  static const std::array<std::string_view, 16> ids = {"COM",  "COMM", "TT2", "TIT2", "TAL", "TALB", "TRK", "TRCK",
                                                        "TP1",  "TPE1", "TPE2", "TCO", "TCON", "TYE", "TYER", "TDRC"};
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

Id3v2Values ReadId3v2Tag(ByteSource* source) {
  const auto tag = LoadTag(source, false);
  if (!tag || !tag->present) return {};
  ValueWalk walk;
  walk.values.present = true;
  walk.values.version = tag->version;
  walk.values.totalLength = tag->total;
  walk.values.usedLength = tag->total;
  const bool version22 = tag->version < 30;
  Bytes scratch;
  for (std::int64_t p = tag->firstFrame; p <= tag->end;) {
    if (p >= tag->size) break;
    const auto firstByte = tag->View(p, 1, scratch);
    if (firstByte.empty()) break;
    if (firstByte[0] == 0 || firstByte[0] == 0xFF) {
      walk.values.usedLength = tag->total - (tag->end - p);
      break;
    }
    const auto head = ReadFrameHead(*tag, p, version22);
    if (!head) break;
    if (IsValueFrame(head->id)) walk.Take(head->id, FrameContent(*tag, p, *head));
    p += head->total;
  }
  Id3v2Values& values = walk.values;
  if (!version22 && values.artist.empty()) values.artist = walk.bandArtist;
  if (!version22 && !walk.yearFrameSeen && !walk.recordingTime.empty()) values.year = walk.recordingTime;
  values.comment = ShowSeparators(values.comment);
  return values;
}

Id3v2Values ReadId3v2Tag(const std::string& path) {
  auto source = FileByteSource::Open(path);
  return ReadId3v2Tag(source.get());
}

namespace {

std::string FrameNameFor(const std::string& id, bool version22) {
  const auto& names = version22 ? Id3v22FrameNames() : Id3v24FrameNames();
  for (const std::string& entry : names) {
    const std::size_t blank = entry.find(' ');
    if (entry.compare(0, blank, id) == 0 && blank == id.size()) return entry.substr(blank + 1);
  }
  return "<unknown>";
}

}  // namespace

Id3v2FrameList ListId3v2Frames(ByteSource* source) {
  Id3v2FrameList list;
  const auto tag = LoadTag(source);
  if (!tag || !tag->present) return list;
  list.present = true;
  list.version = tag->version;
  const bool version22 = tag->major < 3;
  const std::int64_t idLength = version22 ? 3 : 4;
  const std::int64_t headerLength = version22 ? 7 : 11;
  for (std::int64_t p = tag->firstFrame; p < tag->end;) {
    if (p >= static_cast<std::int64_t>(tag->bytes.size())) break;
    const std::uint8_t first = tag->bytes[static_cast<std::size_t>(p)];
    if (first == 0 || first == 0xFF) break;
    const auto head = ReadFrameHead(*tag, p, version22);
    if (!head) break;
    const bool clamped = head->total > tag->end - p;
    const std::int64_t shown = std::min(head->total, tag->end - p);
    const std::int64_t contentLength = shown - headerLength;

    Id3v2FrameRow row;
    row.id = head->id;
    row.frameName = FrameNameFor(head->id, version22);
    row.lengthText = std::to_string(contentLength);
    if (clamped) row.lengthText.insert(0, 1, '(').append(") Error");
    const std::int64_t available = std::min(p + shown, static_cast<std::int64_t>(tag->bytes.size()));
    const std::int64_t listedEnd = std::min<std::int64_t>(available, p + kListedContentBytes);
    const std::int64_t contentStart = p + (version22 ? 6 : 11);
    if (contentStart < listedEnd) {
      const std::span<const std::uint8_t> bytes(&tag->bytes[static_cast<std::size_t>(contentStart)],
                                                static_cast<std::size_t>(listedEnd - contentStart));
      const int encoding = version22 ? -1 : tag->bytes[static_cast<std::size_t>(contentStart - 1)];
      row.content = Id3v2ListedContent(head->id, encoding, bytes);
    }
    list.rows.push_back(std::move(row));
    const std::int64_t keptStart = p + idLength;
    if (tag->major >= 4) {
      list.keptFrames.push_back({head->id, KeptVersion4Frame(*tag, p, *head, available)});
    } else if (keptStart < available) {
      list.keptFrames.push_back({head->id, Bytes(tag->bytes.begin() + keptStart, tag->bytes.begin() + available)});
    } else {
      list.keptFrames.push_back({head->id, {}});
    }
    p += head->total;
  }
  return list;
}

Id3v2FrameList ListId3v2Frames(const std::string& path) {
  auto source = FileByteSource::Open(path);
  return ListId3v2Frames(source.get());
}

}  // namespace tonvault::audio
