#include "device/transfer/TransferMetadata.h"

#include <charconv>
#include <filesystem>

#include "audio/Rounding.h"
#include "audio/WavHeader.h"
#include "audio/WmaHeader.h"
#include "catalogue/FillRow.h"
#include "tagging/editor/EditFields.h"

namespace tonvault::device {

using catalogue::Column;

SendItem SendItemOfRow(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map) {
  const auto text = [&](Column column) { return std::string(map.Get(row, column)); };
  SendItem item;
  item.path = text(Column::Path) + tagging::TrimBlanks(map.Get(row, Column::Filename));
  item.album = text(Column::Album), item.artist = text(Column::Artist), item.title = text(Column::Title);
  item.genre = text(Column::Genre), item.comment = text(Column::Comment), item.bitrate = text(Column::Bitrate);
  item.track = text(Column::Track), item.year = text(Column::Year), item.sizeKb = text(Column::Size);
  return item;
}

std::string CodecOfPath(const std::string& path) {
  const std::string extension = catalogue::LowerExtension(path);
  if (extension.find(".mp") != std::string::npos) return "MP3";
  if (extension == ".wma") return "WMA";
  if (extension == ".wav") return "WAV";
  return {};
}

std::string TitleOf(const SendItem& item) {
  std::string title = tagging::TrimBlanks(item.title);
  if (!title.empty()) return title;
  const std::string name = catalogue::NameOf(item.path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string UnknownIfEmpty(const std::string& text) {
  std::string trimmed = tagging::TrimBlanks(text);
  return trimmed.empty() ? "<Unknown>" : trimmed;
}

int NumberOfText(const std::string& text) {
  const std::string trimmed = tagging::TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  return error == std::errc() && end == trimmed.data() + trimmed.size() ? value : 0;
}

int WmaSeconds(std::int64_t fileSize, int kbps) {
  if (kbps < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(fileSize) / kbps / 125.0) - 2);
}

int WavSeconds(std::int64_t fileSize, int bitrate) {
  if (bitrate < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(fileSize) / bitrate / 128.0));
}

int MpegSeconds(std::int64_t audioBytes, std::int64_t bitsPerSecond) {
  if (bitsPerSecond < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(audioBytes) / static_cast<double>(bitsPerSecond) * 8.0));
}

namespace {

std::int64_t SizeOfFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<std::int64_t>(size);
}

}  // namespace

TransferMetadata MetadataOf(const SendItem& item, const audio::ScanOptions& scan, audio::ScanHost& host) {
  TransferMetadata metadata;
  AudioInfo& info = metadata.info;
  info.title = TitleOf(item);
  info.artist = UnknownIfEmpty(item.artist);
  info.album = UnknownIfEmpty(item.album);
  info.genre = tagging::TrimBlanks(item.genre);
  if (info.genre.empty()) info.genre = "(None)";
  info.comment = tagging::TrimBlanks(item.comment);
  info.bitrate = tagging::TrimBlanks(item.bitrate);
  info.trackNumber = NumberOfText(item.track);
  info.year = NumberOfText(item.year);
  info.codec = CodecOfPath(item.path);
  info.fileSize = SizeOfFile(item.path);
  info.fileName = catalogue::NameOf(item.path);
  info.isProtected = false;
  if (info.codec == "MP3") {
    host.SetFile(item.path);
    const audio::StreamScanResult scanned = audio::ScanMpegStream(item.path, scan, host);
    metadata.corrupt = scanned.corrupt;
    info.length = MpegSeconds(scanned.audioBytes, scanned.bitrate);
  } else if (info.codec == "WMA") {
    const audio::MediaHeader header = audio::ReadWmaHeader(item.path);
    metadata.corrupt = !header.result;
    info.length = WmaSeconds(info.fileSize, header.bitrateKbps);
  } else if (info.codec == "WAV") {
    const audio::MediaHeader header = audio::ReadWavHeader(item.path);
    metadata.corrupt = !header.result;
    info.length = WavSeconds(info.fileSize, header.bitrateKbps);
  }
  return metadata;
}

TransferRow TransferRowOf(const SendItem& item) {
  TransferRow row;
  row.album = UnknownIfEmpty(item.album);
  row.artist = UnknownIfEmpty(item.artist);
  row.title = TitleOf(item);
  row.fileName = item.path;
  row.sizeKb = item.sizeKb;
  return row;
}

}  // namespace tonvault::device
