#pragma once

#include <cstdint>
#include <string>

#include "audio/ScanHost.h"
#include "catalogue/Options.h"
#include "device/content/DeviceTrackTable.h"

namespace tonvault::device {

// What the Quick Copy page knows of a file on the computer.
struct QuickCopyFile {
  std::string title, artist, album, comment, year, track, genre;
  std::string codec;        // "MP3", "WMA" or "WAV"
  std::string bitrateText;  // kbit/s, for MPEG with " V" or " C" when the VBR scan is on
  int kbps = 0;
  int length = 0;  // seconds
  std::int64_t size = 0;
  int sampleRate = 0;
  std::string mode;
  bool vbr = false, corrupt = false, hasId3v1 = false, hasId3v2 = false;
};

// Reads a file for the Quick Copy page with the import's file types and tag
// settings: ID3v1, the stream scan and ID3v2 for MPEG, the header for WMA
// and WAV. False when the type is not enabled, the file is empty or no
// reader applied.
bool ReadQuickCopyFile(const std::string& path, int toleratedErrors, bool fullScan, const catalogue::Options& options,
                       audio::ScanHost& host, QuickCopyFile& file);

// The page's own length formulas, in whole seconds (0 without a bitrate):
// MPEG from the audio bytes and the rounded kbit/s, WMA from the file size
// and kbit/s + 0.82, WAV from the file size and its bitrate in units of
// 1024 bit/s.
int QuickMpegSeconds(std::int64_t audioBytes, int kbps);
int QuickWmaSeconds(std::int64_t fileSize, int kbps);
int QuickWavSeconds(std::int64_t fileSize, int bitrate);

// The texts of "Song details": for a file on the computer, and for a track
// of the player (without mode and frequency; year and track empty when 0).
std::string SongDetailsText(const QuickCopyFile& file);
std::string PlayerSongDetailsText(const DeviceTrack& track);

}  // namespace tonvault::device
