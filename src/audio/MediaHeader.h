#pragma once

#include <cstdint>
#include <string>

namespace tonvault::audio {

// What the WMA and WAV readers find: the same values the MPEG readers give,
// so callers fill a catalogue row the same way. Texts are UTF-8.
struct MediaHeader {
  std::string codecText;  // "WMA 9.2", "WAV"
  std::string modeText;   // "Stereo 1-pass CBR", "Mono", "6 Channels"
  int bitrateKbps = 0;    // WAV: units of 1024 bit/s
  int sampleRate = 0;
  std::int64_t fileSize = 0;
  std::string title, artist, comment, album, genre, year;
  int track = 0;
  bool result = true;  // false when the file could not be read
};

}  // namespace tonvault::audio
