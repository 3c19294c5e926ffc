#pragma once

#include <cstdint>
#include <string>

#include "audio/ScanHost.h"
#include "audio/StreamScan.h"
#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"
#include "device/DeviceTypes.h"
#include "device/transfer/TransferWindow.h"

namespace tonvault::device {

// One file to send to the player: its full path and the texts of the
// catalogue row (or synchronisation line) that describes it.
struct SendItem {
  std::string path;
  std::string album, artist, title, genre, comment, bitrate, track, year;
  std::string sizeKb;  // the row's "Size [kB]" text

  bool operator==(const SendItem&) const = default;
};

// The item of a catalogue row: Path + Filename (the name trimmed) and the
// row's texts.
SendItem SendItemOfRow(const catalogue::TrackRecord& row, const catalogue::ColumnMap& map);

// The metadata the player is sent with, and whether the file is corrupt.
struct TransferMetadata {
  AudioInfo info;
  bool corrupt = false;
};

// "MP3" when the lower-cased extension holds ".mp", "WMA" for ".wma", "WAV"
// for ".wav", else empty.
std::string CodecOfPath(const std::string& path);
// Title, Artist and Album as the player shows them: trimmed; an empty title
// becomes the file name without its extension, an empty artist or album
// "<Unknown>".
std::string TitleOf(const SendItem& item);
std::string UnknownIfEmpty(const std::string& text);
// A row text as a whole number: 0 when empty or not a number.
int NumberOfText(const std::string& text);

// Seconds of a WMA file (file size and kbit/s) and of a WAV file (file size
// and its bitrate in units of 1024 bit/s); 0 when the bitrate is below 1.
int WmaSeconds(std::int64_t fileSize, int kbps);
int WavSeconds(std::int64_t fileSize, int bitrate);
// Seconds of an MPEG stream from its audio bytes and average bit/s.
int MpegSeconds(std::int64_t audioBytes, std::int64_t bitsPerSecond);

// Everything the player is told about the file, read from the item and from
// the file itself (size, length, soundness) with the transfer's scan options.
TransferMetadata MetadataOf(const SendItem& item, const audio::ScanOptions& scan, audio::ScanHost& host);

// The window's row for an item: Album, Artist and Title as sent, the path,
// the size text, "Waiting".
TransferRow TransferRowOf(const SendItem& item);

}  // namespace tonvault::device
