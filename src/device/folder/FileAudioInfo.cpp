#include "device/folder/FileAudioInfo.h"

#include <filesystem>
#include <string_view>

#include "audio/Genres.h"
#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"
#include "audio/MediaFiles.h"
#include "audio/MpegHeader.h"

namespace tonvault::device {
namespace {

std::string LowerExtension(const std::string& name) {
  std::string extension = std::filesystem::path(name).extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

int NumberPrefix(const std::string& text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > 100000) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

void FillFromMpegTags(const std::string& path, AudioInfo& info) {
  const audio::Id3v2Values v2 = audio::ReadId3v2Tag(path);
  if (v2.present) {
    info.title = v2.title, info.artist = v2.artist, info.album = v2.album;
    info.genre = v2.genre, info.comment = v2.comment;
    info.year = NumberPrefix(v2.year), info.trackNumber = NumberPrefix(v2.track);
    return;
  }
  const audio::Id3v1Tag v1 = audio::ReadId3v1Tag(path);
  if (!v1.present) return;
  info.title = v1.title, info.artist = v1.artist, info.album = v1.album, info.comment = v1.comment;
  info.genre = std::string(audio::GenreName(v1.genre));
  info.year = NumberPrefix(v1.year), info.trackNumber = v1.track > 0 ? v1.track : 0;
}

}  // namespace

bool IsAudioFileName(const std::string& name) {
  const std::string extension = LowerExtension(name);
  return extension == ".mp3" || extension == ".mp2" || extension == ".wma" || extension == ".wav";
}

AudioInfo ReadFileAudioInfo(const std::string& path) {
  AudioInfo info;
  const std::filesystem::path file(path);
  info.fileName = file.filename().string();
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  info.fileSize = error ? 0 : static_cast<std::int64_t>(size);
  const std::string extension = LowerExtension(path);
  if (extension == ".wma" || extension == ".wav") {
    info.codec = extension == ".wma" ? "WMA" : "WAV";
    if (const auto header = audio::ReadMediaHeader(path)) {
      info.title = header->title, info.artist = header->artist, info.album = header->album;
      info.genre = header->genre, info.comment = header->comment;
      info.year = NumberPrefix(header->year), info.trackNumber = header->track;
      if (header->bitrateKbps > 0) {
        info.bitrate = std::to_string(header->bitrateKbps);
        // WAV rates count units of 1024 bit/s.
        const std::int64_t unit = extension == ".wav" ? 1024 : 1000;
        info.length = static_cast<int>(info.fileSize * 8 / (header->bitrateKbps * unit));
      }
    }
  } else {
    info.codec = "MP3";
    FillFromMpegTags(path, info);
    // The length at the first frame's bitrate: exact for constant-bitrate
    // files, an estimate for the others.
    audio::SilentScanHost host;
    const audio::MpegHeaderInfo header = audio::ReadMpegHeader(path, host);
    if (!header.error && header.bitrateKbps > 0) {
      info.length = static_cast<int>(header.audioBytes * 8 / (static_cast<std::int64_t>(header.bitrateKbps) * 1000));
    }
  }
  if (info.title.empty()) info.title = file.stem().string();
  return info;
}

std::string SafeFileName(const std::string& name, const std::string& fallback) {
  std::string safe;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool refused = byte < 0x20 || byte == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    safe += refused ? '_' : c;
  }
  const std::size_t first = safe.find_first_not_of(". ");
  safe = first == std::string::npos ? std::string() : safe.substr(first);
  while (!safe.empty() && (safe.back() == ' ' || safe.back() == '.')) safe.pop_back();
  if (safe.size() > 200) {  // keeps room for " (n)" and the extension within NAME_MAX
    std::size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    safe.resize(cut);
  }
  return safe.empty() ? fallback : safe;
}

}  // namespace tonvault::device
