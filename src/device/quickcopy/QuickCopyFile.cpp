#include "device/quickcopy/QuickCopyFile.h"

#include <filesystem>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/Rounding.h"
#include "audio/StreamScan.h"
#include "audio/WavHeader.h"
#include "audio/WmaHeader.h"
#include "catalogue/AudioHost.h"
#include "catalogue/FillRow.h"
#include "catalogue/TextFormats.h"

namespace tonvault::device {

namespace {

// The leading whole number of a text ("3/12" is 3), 0 when there is none.
int LeadingNumber(const std::string& text) {
  int value = 0;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100'000'000; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

void SetIfNotEmpty(std::string& field, const std::string& text) {
  if (!text.empty()) field = text;
}

void SetIfPositive(std::string& field, const std::string& text) {
  if (const int number = LeadingNumber(text); number > 0) field = std::to_string(number);
}

// Title, Artist, Album, Comment, Year and Track of a tag, each only when it
// holds something.
template <typename Tag>
void TakeTexts(QuickCopyFile& file, const Tag& tag) {
  SetIfNotEmpty(file.title, tag.title);
  SetIfNotEmpty(file.artist, tag.artist);
  SetIfNotEmpty(file.album, tag.album);
  SetIfNotEmpty(file.comment, tag.comment);
  SetIfPositive(file.year, tag.year);
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

void ReadMpeg(const std::string& path, audio::ScanOptions scan, const catalogue::Options& options,
              audio::ScanHost& host, QuickCopyFile& file) {
  const audio::Id3v1Tag v1 = audio::ReadId3v1Tag(path);
  file.hasId3v1 = v1.present;
  if (v1.present && options.import.readId3v1) {
    TakeTexts(file, v1);
    if (v1.track > 0) file.track = std::to_string(v1.track);
    if (v1.genre >= 0 && v1.genre < audio::kGenreCount) file.genre = std::string(audio::GenreName(v1.genre));
  }
  host.SetFile(path);
  const audio::StreamScanResult scanned = audio::ScanMpegStream(path, scan, host);
  file.vbr = scanned.vbr;
  file.corrupt = scanned.corrupt;
  file.mode = scanned.modeText;
  file.sampleRate = scanned.sampleRate;
  const audio::Id3v2Values v2 = audio::ReadId3v2Tag(path);
  file.hasId3v2 = v2.present;
  if (v2.present && options.import.readId3v2) {
    TakeTexts(file, v2);
    SetIfPositive(file.track, v2.track);
    SetIfNotEmpty(file.genre, v2.genre);
  }
  if (scanned.bitrate > 0) {
    file.kbps = static_cast<int>(audio::RoundHalfEven(scanned.bitrate / 1000.0));
    file.length = QuickMpegSeconds(scanned.audioBytes, file.kbps);
  }
  file.codec = "MP3";
  file.bitrateText = std::to_string(file.kbps);
  if (options.mp3.scanForVbr) file.bitrateText += file.vbr ? " V" : " C";
}

void TakeHeader(QuickCopyFile& file, const audio::MediaHeader& header) {
  TakeTexts(file, header);
  SetIfNotEmpty(file.genre, header.genre);
  if (header.track > 0) file.track = std::to_string(header.track);
  file.mode = header.modeText;
  file.sampleRate = header.sampleRate;
  file.kbps = header.bitrateKbps;
  file.bitrateText = std::to_string(header.bitrateKbps);
}

}  // namespace

int QuickMpegSeconds(std::int64_t audioBytes, int kbps) {
  if (kbps < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(audioBytes) / kbps / 125.0));
}

int QuickWmaSeconds(std::int64_t fileSize, int kbps) {
  if (kbps < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(fileSize) / (kbps + 0.82) / 125.0));
}

int QuickWavSeconds(std::int64_t fileSize, int bitrate) {
  if (bitrate < 1) return 0;
  return static_cast<int>(audio::RoundHalfEven(static_cast<double>(fileSize) / bitrate / 128.0));
}

bool ReadQuickCopyFile(const std::string& path, int toleratedErrors, bool fullScan, const catalogue::Options& options,
                       audio::ScanHost& host, QuickCopyFile& file) {
  file = QuickCopyFile{};
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    const auto size = std::filesystem::file_size(path, error);
    if (!error) file.size = static_cast<std::int64_t>(size);
  }
  if (file.size == 0) return false;
  const std::string extension = catalogue::LowerExtension(path);
  const catalogue::ImportOptions& types = options.import;
  if ((Contains(extension, ".mp3") && types.mp3) || (Contains(extension, ".mp2") && types.mp2)) {
    audio::ScanOptions scan = catalogue::ImportScanOptions(options.mp3);
    scan.toleratedErrors = toleratedErrors;
    scan.fullScan = fullScan;
    ReadMpeg(path, scan, options, host, file);
  } else if (Contains(extension, ".wma") && types.wma) {
    TakeHeader(file, audio::ReadWmaHeader(path));
    file.length = QuickWmaSeconds(file.size, file.kbps);
    file.codec = "WMA";
  } else if (Contains(extension, ".wav") && types.wav) {
    TakeHeader(file, audio::ReadWavHeader(path));
    file.length = QuickWavSeconds(file.size, file.kbps);
    file.codec = "WAV";
  }
  return !file.codec.empty();
}

namespace {

std::string DetailsHead(const std::string& title, const std::string& artist, const std::string& album,
                        const std::string& comment, const std::string& genre, const std::string& year,
                        const std::string& track, const std::string& codec) {
  return "Song Info:\n\r\rTitle:       \t" + title + "\n\r" + "Artist:      " + "\t" + artist + "\n\r" +
         "Album:       " + "\t" + album + "\n\r" + "Comment:     " + "\t" + comment + "\n\r" + "Genre:       " +
         "\t" + genre + "\n\r" + "Year:        " + "\t" + year + "\n\r" + "Track:       " + "\t" + track + "\n\r" +
         "Codec:       " + "\t" + codec + "\n\r";
}

std::string DetailsTail(const std::string& bitrate, int length) {
  return "Bitrate:     \t" + bitrate + "  kbit/sec\n\r" + "Length:      " + "\t" + catalogue::FormatLength(length);
}

std::string EmptyIfZero(int value) { return value == 0 ? std::string() : std::to_string(value); }

}  // namespace

std::string SongDetailsText(const QuickCopyFile& file) {
  return DetailsHead(file.title, file.artist, file.album, file.comment, file.genre, file.year, file.track,
                     file.codec) +
         "Mode:        \t" + file.mode + "\n\r" + "Frequency:   " + "\t" + std::to_string(file.sampleRate) + " Hz" +
         "\n\r" + DetailsTail(file.bitrateText, file.length);
}

std::string PlayerSongDetailsText(const DeviceTrack& track) {
  return DetailsHead(track.title, track.artist, track.album, track.comment, track.genre, EmptyIfZero(track.year),
                     EmptyIfZero(track.trackNumber), track.codec) +
         DetailsTail(track.bitrate, track.length);
}

}  // namespace tonvault::device
