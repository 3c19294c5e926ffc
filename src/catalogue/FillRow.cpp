#include "catalogue/FillRow.h"

#include <array>
#include <optional>
#include <vector>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/MpegHeader.h"
#include "audio/Rounding.h"
#include "audio/StreamScan.h"
#include "audio/WavHeader.h"
#include "audio/WmaHeader.h"
#include "catalogue/AudioHost.h"
#include "catalogue/TextCase.h"
#include "catalogue/TextFormats.h"

namespace tonvault::catalogue {

namespace {

using audio::ByteSource;

// Writes the columns of one row through the column map.
// Collects the texts the steps write and stores them in the row at once
// when it goes out of scope: a row keeps its texts in one block, which a
// write of one slot would rebuild each time.
class RowWriter {
 public:
  RowWriter(TrackRecord& row, const ColumnMap& map) : row_(row), map_(map) {}
  ~RowWriter() { Commit(); }
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  void Set(Column column, std::string_view text) { Pending(column).assign(text); }
  void SetIfNotEmpty(Column column, const std::string& text) {
    if (!text.empty()) Set(column, text);
  }
  std::string Get(Column column) const {
    const auto slot = static_cast<std::size_t>(map_.SlotOf(column));
    return written_[slot] ? pending_[slot] : std::string(map_.Get(row_, column));
  }
  void Icon(int code) { row_.icon = code; }
  int Icon() const { return row_.icon; }

 private:
  std::string& Pending(Column column) {
    const auto slot = static_cast<std::size_t>(map_.SlotOf(column));
    written_[slot] = true;
    return pending_[slot];
  }
  void Commit() {
    const std::size_t count = std::max<std::size_t>(row_.texts.size(), kDiskRowSlots);
    std::vector<std::string_view> all(count);
    for (std::size_t slot = 0; slot < count; ++slot) {
      const bool written = slot < kDiskRowSlots && written_[slot];
      all[slot] = written ? std::string_view(pending_[slot]) : std::string_view(row_.texts[slot]);
    }
    row_.texts.Assign(all);  // views into the row's own block are copied before it is replaced
  }

  TrackRecord& row_;
  const ColumnMap& map_;
  std::array<std::string, kDiskRowSlots> pending_;
  std::array<bool, kDiskRowSlots> written_{};
};

void SetLength(RowWriter& row, FillDetails& details, double seconds) {
  details.lengthSeconds = seconds;
  row.Set(Column::Length, FormatLength(seconds));
}

void MarkCorrupt(RowWriter& row, FillDetails& details) {
  for (Column c : {Column::Bitrate, Column::Freq, Column::Mode, Column::Codec}) row.Set(c, kCorruptText);
  SetLength(row, details, 0);
  row.Icon(StatusIcon::Corrupt);
}

// The ID3v1 step; returns whether a tag was found.
bool FillFromId3v1(RowWriter& row, ByteSource* source, const Options& options, FillDetails& details) {
  const Column tagColumns[] = {Column::Album, Column::Artist, Column::Title, Column::Genre,
                               Column::Track, Column::Year,   Column::Comment};
  audio::Id3v1Tag tag;
  if (options.import.readId3v1) tag = audio::ReadId3v1Tag(source);
  row.Set(Column::Size, std::to_string(options.import.readId3v1 ? tag.fileSize / 1024 : 0));
  if (!tag.present) {
    row.Icon(StatusIcon::NoTag);
    for (Column c : tagColumns) row.Set(c, "");
    return false;
  }
  row.Icon(StatusIcon::Id3v1);
  row.Set(Column::Album, tag.album);
  row.Set(Column::Artist, tag.artist);
  row.Set(Column::Title, tag.title);
  if (tag.genre >= 0 && tag.genre < audio::kGenreCount) row.Set(Column::Genre, std::string(audio::GenreName(tag.genre)));
  row.Set(Column::Track, tag.track == -1 ? std::string() : std::to_string(tag.track));
  row.Set(Column::Year, tag.year);
  row.Set(Column::Comment, tag.comment);
  details.fileSize = tag.fileSize;
  return true;
}

void FillFromId3v2(RowWriter& row, ByteSource* source) {
  const audio::Id3v2Values tag = audio::ReadId3v2Tag(source);
  if (!tag.present) return;
  row.SetIfNotEmpty(Column::Title, tag.title);
  row.SetIfNotEmpty(Column::Artist, tag.artist);
  row.SetIfNotEmpty(Column::Album, tag.album);
  row.SetIfNotEmpty(Column::Comment, tag.comment);
  row.SetIfNotEmpty(Column::Year, tag.year);
  row.SetIfNotEmpty(Column::Track, tag.track);
  row.SetIfNotEmpty(Column::Genre, tag.genre);
}

void FillFromScan(RowWriter& row, ByteSource* source, FillContext& context, FillDetails& details) {
  const audio::StreamScanResult scan =
      audio::ScanMpegStream(source, ImportScanOptions(context.options.mp3), context.host);
  details.scanBadPlaces = scan.badPlaces;
  if (scan.corrupt) {
    MarkCorrupt(row, details);
    details.scanCorrupt = true;
    return;
  }
  row.Set(Column::Mode, scan.modeText);
  row.Set(Column::Freq, std::to_string(scan.sampleRate));
  row.Set(Column::Codec, scan.versionLayerText);
  if (scan.vbr && scan.bitrate > 0) {
    row.Set(Column::Bitrate, std::to_string(audio::RoundHalfEven(scan.bitrate / 1000.0)) + " V");
    SetLength(row, details, static_cast<double>(scan.audioBytes) * 8.0 / scan.bitrate);
  } else {
    row.Set(Column::Bitrate, row.Get(Column::Bitrate) + " C");
  }
}

void FillMpeg(RowWriter& row, ByteSource* source, FillContext& context, FillDetails& details) {
  const Options& options = context.options;
  const bool id3v1 = FillFromId3v1(row, source, options, details);
  const audio::MpegHeaderInfo header = audio::ReadMpegHeader(source, context.host);
  if (header.error) {
    MarkCorrupt(row, details);
  } else {
    row.Set(Column::Bitrate, std::to_string(header.bitrateKbps));
    row.Set(Column::Freq, std::to_string(header.sampleRate));
    row.Set(Column::Mode, header.modeText);
    row.Set(Column::Codec, header.versionLayerText);
    SetLength(row, details, static_cast<double>(header.audioBytes) / (header.bitrateKbps * 125.0));
    row.Set(Column::Size, std::to_string(header.fileSize / 1024));
    details.fileSize = header.fileSize;
  }
  if (header.hasId3v2) {
    row.Icon(id3v1 ? StatusIcon::Id3v1AndV2 : StatusIcon::Id3v2);
    if (options.import.readId3v2) FillFromId3v2(row, source);
  }
  // A file that could not be opened was reported once already; the scan
  // would only ask the same question again.
  if (options.mp3.scanForVbr && source != nullptr) FillFromScan(row, source, context, details);
}

// WMA and WAV rows are filled alike; only the length formula differs.
void FillMedia(RowWriter& row, const audio::MediaHeader& header, int icon, double lengthDivisor,
               FillDetails& details) {
  row.Icon(icon);
  row.SetIfNotEmpty(Column::Title, header.title);
  row.SetIfNotEmpty(Column::Artist, header.artist);
  row.SetIfNotEmpty(Column::Album, header.album);
  row.SetIfNotEmpty(Column::Comment, header.comment);
  row.SetIfNotEmpty(Column::Year, header.year);
  row.SetIfNotEmpty(Column::Genre, header.genre);
  row.Set(Column::Bitrate, std::to_string(header.bitrateKbps));
  row.Set(Column::Freq, std::to_string(header.sampleRate));
  row.Set(Column::Mode, header.modeText);
  row.Set(Column::Codec, header.codecText);
  row.Set(Column::Size, std::to_string(audio::RoundHalfEven(static_cast<double>(header.fileSize) / 1024.0)));
  details.fileSize = header.fileSize;
  SetLength(row, details, header.bitrateKbps >= 1 ? static_cast<double>(header.fileSize) / lengthDivisor : 0.0);
  if (header.track > 0) row.Set(Column::Track, std::to_string(header.track));
}

// Past a large tag (cover art), the quick read and the scan start where
// the audio starts: have the system fetch those bytes while the tags are
// read.
void AnnounceAudioStart(ByteSource& source) {
  constexpr std::int64_t kAnnounced = 64 * 1024;
  std::array<std::uint8_t, 10> header{};
  if (source.ReadAt(0, header) != static_cast<std::int64_t>(header.size())) return;
  const std::int64_t start = audio::AudioStart(header.data(), header.size());
  if (start > static_cast<std::int64_t>(audio::PrefetchedSource::kDefaultHead)) source.WillRead(start, kAnnounced);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(const std::string& path) {
  const std::string name = NameOf(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : AsciiLower(name.substr(dot));
}

OpenedAudioFile OpenAudioFile(const std::string& path) {
  OpenedAudioFile opened;
  opened.source = audio::FileByteSource::Open(path, &opened.error);
  return opened;
}

FillDetails FillRow(TrackRecord& row, const std::string& path, FillContext& context, OpenedAudioFile opened) {
  FillDetails details;
  RowWriter writer(row, context.map);
  writer.Icon(StatusIcon::NoTag);
  writer.Set(Column::Filename, NameOf(path));
  writer.Set(Column::Path, FolderOf(path));
  writer.Set(Column::Label, context.labels.LabelOf(path));

  const std::string extension = LowerExtension(path);
  const bool mpeg = extension.find(".mp") != std::string::npos;
  const bool wma = !mpeg && extension.find(".wma") != std::string::npos;
  const bool wav = !mpeg && !wma && extension.find(".wav") != std::string::npos;
  if (!mpeg && !wma && !wav) return details;

  context.host.SetFile(path);
  if (!opened.source && !opened.error) opened = OpenAudioFile(path);
  details.openError = opened.error;
  if (!opened.source) return details;
  audio::PrefetchedSource prefetched(*opened.source);
  ByteSource* source = &prefetched;
  if (mpeg) AnnounceAudioStart(prefetched);
  // The file's size in bytes whatever its readers find in it: a file of
  // zeros has no tag and no frame but still its size.
  details.fileSize = source->Size();
  if (mpeg) {
    FillMpeg(writer, source, context, details);
  } else if (wma) {
    const audio::MediaHeader header = audio::ReadWmaHeader(source);
    FillMedia(writer, header, StatusIcon::Wma, (header.bitrateKbps + 0.82) * 125.0, details);
  } else {
    const audio::MediaHeader header = audio::ReadWavHeader(source);
    FillMedia(writer, header, StatusIcon::Wav, header.bitrateKbps * 128.0, details);
  }
  return details;
}

}  // namespace tonvault::catalogue
