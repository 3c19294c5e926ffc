#include "audio/WmaHeader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "audio/LittleEndian.h"
#include "audio/Rounding.h"
#include "audio/TextEncoding.h"
#include "audio/WavHeader.h"

namespace tonvault::audio {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kSearchBytes = 4096;
constexpr std::uint64_t kMaxHeaderObject = 1 << 20;

constexpr std::array<std::uint8_t, 16> kHeaderObject = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                        0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::array<std::uint8_t, 16> kContentDescription = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::array<std::uint8_t, 16> kStreamProperties = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                                            0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr std::array<std::uint8_t, 16> kAudioMedia = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                                                      0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

std::vector<std::uint8_t> Utf16Pattern(std::string_view ascii, bool terminated) {
  std::vector<std::uint8_t> pattern;
  for (char c : ascii) pattern.insert(pattern.end(), {static_cast<std::uint8_t>(c), 0});
  if (terminated) pattern.insert(pattern.end(), {0, 0});
  return pattern;
}

// Every byte offset where `pattern` occurs, first at an even offset if any,
// else at an odd one: the order in which text of the two alignments is
// searched.
std::optional<std::size_t> Find(Bytes bytes, Bytes pattern) {
  std::optional<std::size_t> odd;
  if (pattern.empty() || bytes.size() < pattern.size()) return std::nullopt;
  for (auto it = bytes.begin();;) {
    it = std::search(it, bytes.end(), pattern.begin(), pattern.end());
    if (it == bytes.end()) break;
    const auto at = static_cast<std::size_t>(it - bytes.begin());
    if (at % 2 == 0) return at;
    if (!odd) odd = at;
    ++it;
  }
  return odd;
}

std::optional<std::size_t> FindText(Bytes bytes, std::string_view ascii, bool terminated = false) {
  const auto pattern = Utf16Pattern(ascii, terminated);
  return Find(bytes, pattern);
}

// UTF-16LE text from `offset` up to the first NUL unit, the end of `limit`
// bytes, or the end of the data.
std::string TextAt(Bytes bytes, std::size_t offset, std::size_t limit = SIZE_MAX) {
  if (offset >= bytes.size()) return {};
  const std::size_t end = std::min(bytes.size(), limit == SIZE_MAX ? bytes.size() : offset + limit);
  std::size_t stop = offset;
  while (stop + 1 < end && (bytes[stop] != 0 || bytes[stop + 1] != 0)) stop += 2;
  return Utf16ToUtf8(bytes.subspan(offset, stop - offset), true);
}

std::string Trimmed(std::string_view text) { return std::string(TrimControl(text)); }

bool Garbled(const std::string& text) { return text.find("???") != std::string::npos; }

// The whole number in the four units before the key text: leading
// non-digits dropped, the rest trimmed; 0 when it is not a number.
int NumberBefore(Bytes bytes, std::size_t keyOffset) {
  std::string text;
  for (int unit = 4; unit >= 1; --unit) {
    const auto at = static_cast<std::ptrdiff_t>(keyOffset) - 2 * unit;
    const std::uint16_t u = at < 0 ? 0 : ReadLe16(&bytes[static_cast<std::size_t>(at)]);
    text += u >= 0x20 && u < 0x7F ? static_cast<char>(u) : '\x01';
  }
  const std::size_t firstDigit = text.find_first_of("0123456789");
  if (firstDigit == std::string::npos) return 0;
  const std::string number = Trimmed(std::string_view(text).substr(firstDigit));
  if (number.empty() || number.size() > 4 || number.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(number);
}

int SampleRateFromKhz(int khz) {
  switch (khz) {
    case 48: return 48000;
    case 44: return 44100;
    case 32: return 32000;
    case 22: return 22050;
    case 16: return 16000;
    case 11: return 11025;
    case 8: return 8000;
    default: return khz;
  }
}

// Where an attribute's value starts: after its name, terminator, value type
// and value length. The value type sits right after the terminator.
struct Attribute {
  std::size_t typeOffset;
  std::size_t valueOffset;
};

std::optional<Attribute> FindAttribute(Bytes bytes, std::string_view name) {
  const auto at = FindText(bytes, name, true);
  if (!at) return std::nullopt;
  const std::size_t type = *at + 2 * (name.size() + 1);
  return Attribute{type, type + 4};
}

std::string AttributeText(Bytes bytes, std::string_view name) {
  const auto attribute = FindAttribute(bytes, name);
  if (!attribute) return {};
  std::size_t at = attribute->valueOffset;
  while (at + 1 < bytes.size() && ReadLe16(&bytes[at]) < 32) at += 2;
  return Trimmed(TextAt(bytes, at));
}

int NumberOf(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(text);
}

int Track(Bytes bytes) {
  auto attribute = FindAttribute(bytes, "WM/Track");
  if (!attribute) attribute = FindAttribute(bytes, "WM/TrackNumber");
  if (!attribute || attribute->valueOffset >= bytes.size()) return 0;
  switch (bytes[attribute->typeOffset]) {
    case 0: return NumberOf(Trimmed(TextAt(bytes, attribute->valueOffset)));
    case 3: return bytes[attribute->valueOffset];
    default: return 0;
  }
}

void ReadCodecDescription(Bytes bytes, MediaHeader& header) {
  if (header.codecText.empty()) {
    if (const auto at = FindText(bytes, "Windows Media Audio")) {
      header.codecText = "WMA " + Trimmed(TextAt(bytes, *at + 2 * 19));
    }
  }
  if (header.bitrateKbps == 0) {
    if (const auto at = FindText(bytes, "kbps")) header.bitrateKbps = NumberBefore(bytes, *at);
  }
  if (header.sampleRate == 0) {
    if (const auto at = FindText(bytes, "kHz")) header.sampleRate = SampleRateFromKhz(NumberBefore(bytes, *at));
  }
  if (header.modeText.empty()) {
    if (const auto at = FindText(bytes, "kHz,")) {
      std::string mode = Trimmed(TextAt(bytes, *at + 2 * 4));
      if (!mode.empty() && mode[0] >= 'a' && mode[0] <= 'z') mode[0] = static_cast<char>(mode[0] - 'a' + 'A');
      header.modeText = mode;
    }
  }
}

void ReadAttributes(Bytes bytes, MediaHeader& header) {
  if (header.album.empty()) header.album = AttributeText(bytes, "WM/AlbumTitle");
  if (Garbled(header.album)) header.album.clear();
  if (header.genre.empty()) header.genre = AttributeText(bytes, "WM/Genre");
  if (header.year.empty()) header.year = AttributeText(bytes, "WM/Year");
  if (header.year == "0") header.year.clear();
  if (header.track == 0) header.track = Track(bytes);
}

// Title, author and comment (the copyright field, or the description when
// that is empty) of the content description object, read with their stored
// byte lengths.
void ReadContentDescription(Bytes bytes, MediaHeader& header) {
  const auto g = Find(bytes, kContentDescription);
  if (!g || *g + 34 > bytes.size()) return;
  std::array<std::size_t, 5> lengths{};
  for (std::size_t i = 0; i < lengths.size(); ++i) lengths[i] = ReadLe16(&bytes[*g + 24 + 2 * i]);
  std::array<std::string, 4> strings;
  std::size_t at = *g + 34;
  for (std::size_t i = 0; i < strings.size(); ++i) {
    strings[i] = Trimmed(TextAt(bytes, at, lengths[i]));
    if (Garbled(strings[i])) strings[i].clear();
    at += lengths[i];
  }
  const std::string& comment = strings[2].empty() ? strings[3] : strings[2];
  if (header.title.empty()) header.title = strings[0];
  if (header.artist.empty()) header.artist = strings[1];
  if (header.comment.empty()) header.comment = comment;
}

// Sample rate, bitrate and channels from the format record of the first
// stream properties object, in byte order, that is an audio stream. One pass
// over the bytes, however many such identifiers they hold.
void ReadStreamFormat(Bytes bytes, MediaHeader& header) {
  const std::boyer_moore_horspool_searcher searcher(kStreamProperties.begin(), kStreamProperties.end());
  for (auto it = bytes.begin();; ++it) {
    it = std::search(it, bytes.end(), searcher);
    if (it == bytes.end()) return;
    const auto at = static_cast<std::size_t>(it - bytes.begin());
    if (at + 78 + 16 > bytes.size() || !std::equal(kAudioMedia.begin(), kAudioMedia.end(), &bytes[at + 24])) continue;
    const std::uint8_t* format = &bytes[at + 78];
    if (header.sampleRate == 0) header.sampleRate = static_cast<int>(ReadLe32(format + 4));
    if (header.bitrateKbps == 0) {
      header.bitrateKbps = static_cast<int>(RoundHalfEven(ReadLe32(format + 8) * 8.0 / 1000.0));
    }
    if (header.modeText.empty()) header.modeText = ChannelsText(ReadLe16(format + 2));
    return;
  }
}

void ReadAll(Bytes bytes, MediaHeader& header) {
  ReadCodecDescription(bytes, header);
  ReadAttributes(bytes, header);
  ReadContentDescription(bytes, header);
}

// The ASF header object, bounded by its size field, the file and 1 MB.
std::vector<std::uint8_t> HeaderObject(ByteSource& source, Bytes first) {
  if (first.size() < 24 || !std::equal(kHeaderObject.begin(), kHeaderObject.end(), first.begin())) return {};
  const std::uint64_t size = std::min<std::uint64_t>(
      {ReadLe64(&first[16]), kMaxHeaderObject, static_cast<std::uint64_t>(std::max<std::int64_t>(source.Size(), 0))});
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  const std::int64_t got = source.ReadAt(0, bytes);
  bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
  return bytes;
}

}  // namespace

MediaHeader ReadWmaHeader(ByteSource* source) {
  MediaHeader header;
  if (source == nullptr) {
    header.result = false;
    return header;
  }
  header.fileSize = source->Size();
  std::vector<std::uint8_t> first(kSearchBytes, 0);
  if (source->ReadAt(0, first) < 0) {
    header.result = false;
    return header;
  }
  ReadAll(first, header);
  if (header.bitrateKbps == 0 || header.sampleRate == 0) {
    const std::vector<std::uint8_t> whole = HeaderObject(*source, first);
    if (whole.size() > first.size()) ReadAll(whole, header);
    ReadStreamFormat(whole.empty() ? Bytes(first) : Bytes(whole), header);
  }
  return header;
}

MediaHeader ReadWmaHeader(const std::string& path) {
  auto source = FileByteSource::Open(path);
  return ReadWmaHeader(source.get());
}

}  // namespace tonvault::audio
