#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "audio/ScanHost.h"

namespace tonvault::audio {

// The channel mode of a frame record; Bad marks a place where the walk lost
// the frame sequence.
enum class FrameMode : std::uint8_t { Stereo, JointStereo, DualChannel, Mono, Bad };

// "Stereo", "J. Stereo", "Dual Ch.", "Mono" or "- BAD -".
std::string_view FrameModeText(FrameMode mode);

// One frame, or one bad place, of an analysed stream, in file order.
struct FrameRecord {
  std::int64_t position = 0;  // frame header; for a bad place the end of the previous record
  std::int32_t bitrate = 0;   // kbit/s; 0 for a bad place
  std::int32_t sampleRate = 0;
  std::uint16_t length = 0;   // 0 for a bad place
  std::uint8_t version = 0;   // 1, 2, 3 (MPEG-2.5); 0 for a bad place
  std::uint8_t layer = 0;
  FrameMode mode = FrameMode::Bad;
  bool remove = false;        // set by a fix for the frames of checked groups

  bool IsBad() const { return mode == FrameMode::Bad; }
  std::int64_t End() const { return position + length; }
};

// One row of the frame list: the frames sharing MPEG version, layer,
// bitrate, sample rate and mode.
struct FrameGroup {
  std::int64_t count = 0;
  std::uint8_t version = 0;
  std::uint8_t layer = 0;
  std::int32_t bitrate = 0;
  std::int32_t sampleRate = 0;
  FrameMode mode = FrameMode::Bad;
  bool checked = false;

  bool IsBad() const { return mode == FrameMode::Bad; }
  bool Holds(const FrameRecord& record) const;
};

// "1", "2", "2.5"; "0" for the bad-place row.
std::string MpegText(int version);

// Collects what a stream scan in analysis mode reports: every frame and bad
// place as a record, the groups in the order their combination first
// occurs, the ID3v2 tag and the first frame's position.
class FrameAnalysis : public FrameSink {
 public:
  void Begin() override;
  void Id3v2Tag(std::int64_t totalLength, int majorVersion, int revision) override;
  void FirstFrame(std::int64_t position) override { firstFrame_ = position; }
  void Frame(const FrameReport& frame) override;
  void BadPlace(std::int64_t walkPosition) override;

  // The audio bytes the scan will walk: after the first frames the record
  // list reserves room for the whole file at their average length, so a
  // long file's records are not copied again and again as they grow.
  void ExpectAudioBytes(std::int64_t bytes) { expectedBytes_ = bytes; }

  const std::vector<FrameRecord>& Records() const { return records_; }
  std::vector<FrameRecord>& Records() { return records_; }
  const std::vector<FrameGroup>& Groups() const { return groups_; }
  std::vector<FrameGroup>& Groups() { return groups_; }
  int LargestBitrate() const { return largestBitrate_; }
  std::int64_t Id3v2Length() const { return id3v2Length_; }  // 0 without a tag
  int Id3v2Major() const { return id3v2Major_; }
  int Id3v2Revision() const { return id3v2Revision_; }
  std::int64_t FirstFrame() const { return firstFrame_; }  // -1 when none was found
  // The count of the bad-place row (0 without one).
  std::int64_t BadCount() const;

 private:
  void Add(const FrameRecord& record);

  std::vector<FrameRecord> records_;
  std::vector<FrameGroup> groups_;
  std::unordered_map<std::uint64_t, std::size_t> groupOfKey_;
  std::uint64_t lastKey_ = ~std::uint64_t{0};
  std::size_t lastGroup_ = 0;
  int largestBitrate_ = 0;
  std::int64_t id3v2Length_ = 0;
  int id3v2Major_ = 0;
  int id3v2Revision_ = 0;
  std::int64_t firstFrame_ = -1;
  std::int64_t expectedBytes_ = 0;
  std::int64_t sampledBytes_ = 0;
};

}  // namespace tonvault::audio
