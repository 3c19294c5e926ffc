#include "audio/MpegAudioCheck.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "audio/MpegFrames.h"

namespace tonvault::audio {

namespace {

// How far after the tag the first frame may start (encoders and taggers
// leave some padding or stray bytes there).
constexpr std::int64_t kSearchWindow = 64 * 1024;
constexpr int kMaxStackedTags = 4;

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::size_t at, std::string_view signature) {
  return at + signature.size() <= bytes.size() && std::memcmp(bytes.data() + at, signature.data(), signature.size()) == 0;
}

bool ForeignSignatureAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  static constexpr std::array<std::string_view, 6> kSignatures = {
      "RIFF", std::string_view("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8), "fLaC", "OggS", "FORM", "RIFX"};
  for (const std::string_view signature : kSignatures) {
    if (StartsWith(bytes, at, signature)) return true;
  }
  return StartsWith(bytes, at + 4, "ftyp");
}

// The end of the ID3v2 tags at the start (taggers sometimes stack them).
std::size_t TagsEnd(const std::vector<std::uint8_t>& bytes) {
  std::size_t at = 0;
  for (int i = 0; i < kMaxStackedTags && at + 10 <= bytes.size() && StartsWith(bytes, at, "ID3"); ++i) {
    at += static_cast<std::size_t>(DecodeTagSize(bytes[at + 6], bytes[at + 7], bytes[at + 8], bytes[at + 9])) + 10;
  }
  return at;
}

}  // namespace

bool LooksLikeMpegAudio(ByteSource& source) {
  std::array<std::uint8_t, 10> header{};
  if (source.ReadAt(0, header) < 4) return false;
  std::int64_t tagLength = 0;
  if (std::memcmp(header.data(), "ID3", 3) == 0) tagLength = DecodeTagSize(header[6], header[7], header[8], header[9]) + 10;
  // Enough bytes for stacked tags of ordinary size and the search window.
  const std::int64_t wanted = std::min<std::int64_t>(source.Size(), tagLength + kSearchWindow + 8);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(wanted, 0)));
  const std::int64_t got = source.ReadAt(0, bytes);
  if (got < 0) return false;
  bytes.resize(static_cast<std::size_t>(got));
  const std::size_t start = TagsEnd(bytes);
  if (ForeignSignatureAt(bytes, 0) || ForeignSignatureAt(bytes, start)) return false;
  // A frame may run up to the ID3v1 tag at the end; a file of one frame is
  // as much MPEG audio as a long one.
  std::int64_t audioEnd = source.Size();
  std::array<std::uint8_t, 3> tail{};
  if (audioEnd >= 128 && source.ReadAt(audioEnd - 128, tail) == 3 && std::memcmp(tail.data(), "TAG", 3) == 0) {
    audioEnd -= 128;
  }
  const std::size_t end = std::min(bytes.size(), start + static_cast<std::size_t>(kSearchWindow));
  for (std::size_t at = start; at + 4 <= end; ++at) {
    if (!IsFrameHeader(&bytes[at])) continue;
    const std::int64_t next = static_cast<std::int64_t>(at) + FrameLength(FrameHeader::Decode(&bytes[at]));
    if (next >= audioEnd) return true;
    std::array<std::uint8_t, 4> following{};
    if (source.ReadAt(next, following) != 4) continue;
    if (IsFrameHeader(following.data())) return true;
  }
  return false;
}

std::string NotMpegAudioText(const std::string& fileName) {
  return "Not an MPEG audio file:\n\r" + fileName + "\n\r\rThe file is left unchanged.";
}

}  // namespace tonvault::audio
