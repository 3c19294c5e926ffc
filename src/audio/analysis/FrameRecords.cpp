#include "audio/analysis/FrameRecords.h"

#include <algorithm>
#include <array>

namespace tonvault::audio {

namespace {

constexpr std::size_t kSampledFrames = 64;
// No more than 2^24 records (400 MB of records) are reserved at once.
constexpr std::int64_t kMostReserved = std::int64_t{1} << 24;

constexpr std::array<std::string_view, 5> kModeTexts = {"Stereo", "J. Stereo", "Dual Ch.", "Mono", "- BAD -"};

FrameMode ModeOfText(std::string_view text) {
  for (std::size_t i = 0; i + 1 < kModeTexts.size(); ++i) {
    if (kModeTexts[i] == text) return static_cast<FrameMode>(i);
  }
  return FrameMode::Bad;
}

std::uint64_t KeyOf(const FrameRecord& r) {
  return (std::uint64_t{r.version} << 60) | (std::uint64_t{r.layer} << 56) |
         (std::uint64_t{static_cast<std::uint8_t>(r.mode)} << 52) |
         (std::uint64_t{static_cast<std::uint32_t>(r.bitrate) & 0xFFFFFu} << 24) |
         (std::uint64_t{static_cast<std::uint32_t>(r.sampleRate)} & 0xFFFFFFu);
}

}  // namespace

std::string_view FrameModeText(FrameMode mode) { return kModeTexts[static_cast<std::size_t>(mode)]; }

std::string MpegText(int version) {
  switch (version) {
    case 1: return "1";
    case 2: return "2";
    case 3: return "2.5";
    default: return "0";
  }
}

bool FrameGroup::Holds(const FrameRecord& r) const {
  return r.version == version && r.layer == layer && r.bitrate == bitrate && r.sampleRate == sampleRate &&
         r.mode == mode;
}

void FrameAnalysis::Begin() {
  records_.clear();
  sampledBytes_ = 0;
  groups_.clear();
  groupOfKey_.clear();
  lastKey_ = ~std::uint64_t{0};
  largestBitrate_ = 0;
  id3v2Length_ = 0;
  id3v2Major_ = id3v2Revision_ = 0;
  firstFrame_ = -1;
}

void FrameAnalysis::Id3v2Tag(std::int64_t totalLength, int majorVersion, int revision) {
  id3v2Length_ = totalLength;
  id3v2Major_ = majorVersion;
  id3v2Revision_ = revision;
}

void FrameAnalysis::Frame(const FrameReport& frame) {
  FrameRecord record;
  record.position = frame.position;
  record.bitrate = frame.bitrateKbps;
  record.sampleRate = frame.sampleRate;
  record.length = static_cast<std::uint16_t>(std::clamp(frame.frameLength, 0, 0xFFFF));
  record.version = static_cast<std::uint8_t>(frame.version);
  record.layer = static_cast<std::uint8_t>(frame.layer);
  record.mode = ModeOfText(frame.mode);
  largestBitrate_ = std::max(largestBitrate_, record.bitrate);
  if (records_.size() < kSampledFrames) {
    sampledBytes_ += std::max<std::int64_t>(record.length, 1);
  } else if (records_.size() == kSampledFrames && expectedBytes_ > 0) {
    // A fifth more than the estimate leaves room for shorter frames later on.
    const std::int64_t estimate = expectedBytes_ * static_cast<std::int64_t>(kSampledFrames) / sampledBytes_;
    records_.reserve(static_cast<std::size_t>(std::min<std::int64_t>(estimate + estimate / 5, kMostReserved)));
  }
  Add(record);
}

void FrameAnalysis::BadPlace(std::int64_t walkPosition) {
  FrameRecord record;
  record.position = records_.empty() ? walkPosition : records_.back().End();
  Add(record);
}

void FrameAnalysis::Add(const FrameRecord& record) {
  records_.push_back(record);
  const std::uint64_t key = KeyOf(record);
  if (key != lastKey_) {
    const auto [found, added] = groupOfKey_.try_emplace(key, groups_.size());
    if (added) {
      groups_.push_back({0, record.version, record.layer, record.bitrate, record.sampleRate, record.mode, false});
    }
    lastKey_ = key;
    lastGroup_ = found->second;
  }
  ++groups_[lastGroup_].count;
}

std::int64_t FrameAnalysis::BadCount() const {
  for (const FrameGroup& group : groups_) {
    if (group.IsBad()) return group.count;
  }
  return 0;
}

}  // namespace tonvault::audio
