#include "audio/StreamScan.h"

#include <array>
#include <cstring>

#include "audio/BufferedReader.h"
#include "audio/MpegFrames.h"
#include "audio/MpegHeader.h"
#include "audio/Rounding.h"

namespace tonvault::audio {

namespace {

constexpr std::int64_t kWindow = 16;
constexpr int kLastSearchOffset = 12;
// Damage this close to the end (an ID3v1 tag, a cut last frame) is normal.
constexpr std::int64_t kUncountedTail = 600;
constexpr int kFramesPerSecondForCbr = 40;
constexpr int kReferenceFrame = 11;

std::int32_t BigEndian32(const std::uint8_t* p) {
  return static_cast<std::int32_t>((std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                                   (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]});
}

struct VbrHeader {
  std::int32_t frames = 0;
  std::int32_t bytes = 0;
};

// The first "Xing" or "VBRI" in `bytes`, searched at offsets 0 to
// frameLength - 19 and never past the bytes that exist.
VbrHeader FindVbrHeader(std::span<const std::uint8_t> bytes, int frameLength) {
  const std::int64_t limit = std::min<std::int64_t>(frameLength, static_cast<std::int64_t>(bytes.size())) - 19;
  for (std::int64_t k = 0; k <= limit; ++k) {
    const std::uint8_t* p = bytes.data() + k;
    if (std::memcmp(p, "Xing", 4) == 0) return {BigEndian32(p + 8), BigEndian32(p + 12)};
    if (std::memcmp(p, "VBRI", 4) == 0) return {BigEndian32(p + 14), BigEndian32(p + 10)};
  }
  return {};
}


class Walk {
 public:
  Walk(BufferedReader& reader, const ScanOptions& options, ScanHost& host, FrameSink* sink, StreamScanResult& result)
      : reader_(reader), options_(options), host_(host), sink_(options.analysisMode ? sink : nullptr),
        result_(result), size_(reader.Size()), cbrFrameLimit_(options.cbrSeconds * kFramesPerSecondForCbr) {}

  void Run(std::int64_t position);
  void Finish();

 private:
  // Fills window_ with the 16 bytes at `position`; on a failed read the
  // window keeps what it held and the file counts as unreadable.
  void ReadWindow(std::int64_t position);
  int FindHeaderOffset() const;
  void CountBadPlace(std::int64_t position);
  // Returns false when the walk must end after this frame.
  bool TakeFrame(std::int64_t position, int offset);
  bool AcceptVbrHeader(std::int64_t position, int frameLength);

  BufferedReader& reader_;
  const ScanOptions& options_;
  ScanHost& host_;
  FrameSink* sink_;
  StreamScanResult& result_;
  const std::int64_t size_;
  const std::int64_t cbrFrameLimit_;

  std::array<std::uint8_t, kWindow> window_{};
  bool synchronised_ = false;
  std::int64_t sumKbps_ = 0;
  int firstBitrate_ = 0;
  int firstSampleRate_ = 0;
  std::int64_t records_ = 0;
  // The frame whose properties the result reports: the last valid one, or
  // the 11th when the stream was damaged.
  FrameHeader last_;
  FrameHeader reference_;
  int lastFrameLength_ = 0;
};

void Walk::ReadWindow(std::int64_t position) {
  bool failed = false;
  const auto bytes = reader_.Read(position, kWindow, failed);
  if (failed) {
    result_.corrupt = true;
    result_.result = -1;
    return;
  }
  // A whole window is copied at a size known here, which compiles to two
  // moves instead of a library call per frame.
  if (bytes.size() == kWindow) {
    std::memcpy(window_.data(), bytes.data(), kWindow);
  } else {
    std::memcpy(window_.data(), bytes.data(), bytes.size());
  }
}

int Walk::FindHeaderOffset() const {
  if (synchronised_) return 0;
  for (int offset = 0; offset <= kLastSearchOffset; ++offset) {
    if (IsFrameHeader(window_.data() + offset)) return offset;
  }
  return -1;
}

void Walk::CountBadPlace(std::int64_t position) {
  synchronised_ = false;
  if (position >= size_ - kUncountedTail) return;
  ++result_.badPlaces;
  if (sink_ != nullptr) {
    sink_->BadPlace(position);
    ++records_;
  }
  if (result_.badPlaces > options_.toleratedErrors) result_.corrupt = true;
}

bool Walk::AcceptVbrHeader(std::int64_t position, int frameLength) {
  bool failed = false;
  const auto frame = reader_.Read(position, static_cast<std::size_t>(frameLength), failed);
  if (failed) {
    result_.corrupt = true;
    result_.result = -1;
    return false;
  }
  const VbrHeader vbr = FindVbrHeader(frame, frameLength);
  if (vbr.frames <= 0 || vbr.bytes <= 0) return false;
  result_.vbr = true;
  result_.vbrHeaderFrames = vbr.frames;
  result_.vbrHeaderBytes = vbr.bytes;
  return true;
}

bool Walk::TakeFrame(std::int64_t position, int offset) {
  synchronised_ = true;
  const FrameHeader header = FrameHeader::Decode(window_.data() + offset);
  const int frameLength = FrameLength(header);
  lastFrameLength_ = frameLength;
  last_ = header;

  const bool first = result_.validFrames == 0;
  if (sink_ != nullptr) {
    const std::int64_t at = position + offset;
    sink_->Frame({header.version, header.layer, header.bitrateKbps, header.sampleRate, ModeText(header.channelMode),
                  frameLength, at});
    if (first) sink_->FirstFrame(at);
    if (++records_ % 1000 == 0) {
      if (host_.StopConfirmed()) {
        result_.stopped = true;
        return false;
      }
      host_.PumpEvents();
    }
  }

  ++result_.validFrames;
  sumKbps_ += header.bitrateKbps;
  if (first) {
    firstBitrate_ = header.bitrateKbps;
    firstSampleRate_ = header.sampleRate;
  } else if (header.bitrateKbps != firstBitrate_) {
    result_.vbr = true;
  }

  if (first && options_.readVbrHeader && !options_.fullScan && !options_.analysisMode && header.version == 1 &&
      (header.layer == 2 || header.layer == 3)) {
    if (AcceptVbrHeader(position, frameLength)) return false;
  }
  if (!options_.fullScan && !result_.vbr && result_.validFrames > cbrFrameLimit_) return false;
  if (result_.validFrames == kReferenceFrame) reference_ = header;
  return true;
}

void Walk::Run(std::int64_t position) {
  while (position < size_ - kWindow) {
    ReadWindow(position);
    const int offset = FindHeaderOffset();
    if (offset < 0) {
      position += kWindow;
      continue;
    }
    if (!IsFrameHeader(window_.data() + offset)) {
      CountBadPlace(position);
      continue;
    }
    if (!TakeFrame(position, offset)) break;
    position += std::max<std::int64_t>(lastFrameLength_ + offset, kWindow);
  }
}

void Walk::Finish() {
  if (result_.validFrames == 0) {
    result_.corrupt = true;
    return;
  }
  result_.bitrate = static_cast<std::int32_t>(
      RoundHalfEven(static_cast<double>(sumKbps_) / static_cast<double>(result_.validFrames) * 1000.0));
  if (result_.vbrHeaderFrames > 0) {
    result_.bitrate = static_cast<std::int32_t>(
        RoundHalfEven(static_cast<double>(result_.vbrHeaderBytes) / 1152.0 * firstSampleRate_ /
                      static_cast<double>(result_.vbrHeaderFrames) * 8.0));
  }
  // The walk keeps only headers; the texts are built once, here, from the
  // frame the result describes.
  const bool damaged = result_.badPlaces > 0 && result_.validFrames > kReferenceFrame - 1 && reference_.version != 0;
  const FrameHeader& shown = damaged ? reference_ : last_;
  result_.sampleRate = shown.sampleRate;
  result_.modeText = ModeText(shown.channelMode);
  result_.versionLayerText = VersionLayerText(shown.version, shown.layer);
}

}  // namespace

StreamScanResult ScanMpegStream(ByteSource* source, const ScanOptions& options, ScanHost& host, FrameSink* sink) {
  StreamScanResult result;
  std::array<std::uint8_t, 12> first{};
  const std::int64_t firstCount = source != nullptr ? source->ReadAt(0, first) : -1;
  if (firstCount < 0) {
    result.corrupt = true;
    result.result = -1;
    host.OpenFailed();
    return result;
  }
  if (options.analysisMode && sink != nullptr) sink->Begin();
  const std::int64_t start = AudioStart(first.data(), static_cast<std::size_t>(firstCount));
  result.audioBytes = std::max<std::int64_t>(0, source->Size() - start);
  if (start > 0 && options.analysisMode && sink != nullptr) sink->Id3v2Tag(start, first[3], first[4]);

  BufferedReader reader(*source);
  Walk walk(reader, options, host, sink, result);
  walk.Run(start);
  walk.Finish();
  return result;
}

StreamScanResult ScanMpegStream(const std::string& path, const ScanOptions& options, ScanHost& host,
                                FrameSink* sink) {
  host.SetFile(path);
  auto source = FileByteSource::Open(path);
  return ScanMpegStream(source.get(), options, host, sink);
}

}  // namespace tonvault::audio
