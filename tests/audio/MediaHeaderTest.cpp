#include <gtest/gtest.h>

#include "audio/WavHeader.h"
#include "audio/WmaHeader.h"

namespace tonvault::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string DataFile(const char* name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

// Builds the parts of an ASF header the reader looks at.
struct WmaBuilder {
  Bytes bytes;

  WmaBuilder& Raw(std::initializer_list<std::uint8_t> raw) {
    bytes.insert(bytes.end(), raw);
    return *this;
  }
  WmaBuilder& Pad(std::size_t count, std::uint8_t value = 0) {
    bytes.insert(bytes.end(), count, value);
    return *this;
  }
  WmaBuilder& Le16(std::uint16_t v) { return Raw({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); }
  WmaBuilder& Le32(std::uint32_t v) { return Le16(static_cast<std::uint16_t>(v)).Le16(static_cast<std::uint16_t>(v >> 16)); }
  WmaBuilder& Text(std::u16string_view text, bool terminated = true) {
    for (char16_t c : text) Le16(c);
    if (terminated) Le16(0);
    return *this;
  }
  WmaBuilder& Attribute(std::u16string_view name, std::uint16_t type, std::u16string_view value) {
    Le16(static_cast<std::uint16_t>(2 * (name.size() + 1))).Text(name);
    Le16(type).Le16(static_cast<std::uint16_t>(2 * (value.size() + 1))).Text(value);
    return *this;
  }
  WmaBuilder& NumberAttribute(std::u16string_view name, std::uint32_t value) {
    Le16(static_cast<std::uint16_t>(2 * (name.size() + 1))).Text(name);
    return Le16(3).Le16(4).Le32(value);
  }
  WmaBuilder& ContentDescription(std::u16string_view title, std::u16string_view author, std::u16string_view copyright,
                                 std::u16string_view description) {
    Raw({0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C});
    Pad(8);
    for (auto s : {title, author, copyright, description}) Le16(static_cast<std::uint16_t>(s.empty() ? 0 : 2 * (s.size() + 1)));
    Le16(0);
    for (auto s : {title, author, copyright, description}) {
      if (!s.empty()) Text(s);
    }
    return *this;
  }
  MediaHeader Read() {
    MemoryByteSource source(bytes);
    return ReadWmaHeader(&source);
  }
};

TEST(ReadWmaHeader, CodecDescriptionGivesBitrateRateAndMode) {
  WmaBuilder wma;
  wma.Pad(100).Text(u"Windows Media Audio 9.2").Le16(40).Text(u"64 kbps, 22 kHz, stereo 1-pass CBR");
  const MediaHeader h = wma.Read();
  EXPECT_TRUE(h.result);
  EXPECT_EQ(h.codecText, "WMA 9.2");
  EXPECT_EQ(h.bitrateKbps, 64);
  EXPECT_EQ(h.sampleRate, 22050);
  EXPECT_EQ(h.modeText, "Stereo 1-pass CBR");

  WmaBuilder other;
  other.Pad(7).Text(u"128 kbps, 44 kHz, mono");
  EXPECT_EQ(other.Read().bitrateKbps, 128);
  EXPECT_EQ(other.Read().sampleRate, 44100);
  EXPECT_EQ(other.Read().modeText, "Mono") << "found at an odd offset too";
}

TEST(ReadWmaHeader, ContentDescriptionAtAnOddOffset) {
  WmaBuilder wma;
  wma.Pad(301).ContentDescription(u"Dancing Queen", u"ABBA", u"", u"from Arrival");
  const MediaHeader h = wma.Read();
  EXPECT_EQ(h.title, "Dancing Queen");
  EXPECT_EQ(h.artist, "ABBA");
  EXPECT_EQ(h.comment, "from Arrival") << "the description stands in for an empty third field";

  WmaBuilder withCopyright;
  withCopyright.Pad(40).ContentDescription(u"東京", u"Björk", u"(c) 1995", u"ignored");
  const MediaHeader c = withCopyright.Read();
  EXPECT_EQ(c.title, "東京") << "non-Latin text survives";
  EXPECT_EQ(c.artist, "Björk");
  EXPECT_EQ(c.comment, "(c) 1995");
}

TEST(ReadWmaHeader, AttributesMatchWholeNamesOnly) {
  WmaBuilder wma;
  wma.Pad(50)
      .Attribute(u"WM/GenreID", 0, u"(13)")
      .Attribute(u"WM/Genre", 0, u"Pop")
      .Attribute(u"WM/AlbumTitle", 0, u"Arrival")
      .Attribute(u"WM/Year", 0, u"0")
      .NumberAttribute(u"WM/TrackNumber", 9)
      .NumberAttribute(u"WM/Track", 261);
  const MediaHeader h = wma.Read();
  EXPECT_EQ(h.genre, "Pop");
  EXPECT_EQ(h.album, "Arrival");
  EXPECT_EQ(h.year, "") << "year 0 is no year";
  EXPECT_EQ(h.track, 5) << "type 3: the lowest byte of 261";

  WmaBuilder numberOnly;
  numberOnly.Attribute(u"WM/TrackNumber", 0, u"12").Attribute(u"WM/Year", 0, u"1976").Attribute(u"WM/AlbumTitle", 0, u"A???");
  const MediaHeader n = numberOnly.Read();
  EXPECT_EQ(n.track, 12) << "WM/TrackNumber when WM/Track is missing";
  EXPECT_EQ(n.year, "1976");
  EXPECT_EQ(n.album, "") << "an album holding ??? is garbage";
}

TEST(ReadWmaHeader, HostileAndTinyFilesGiveEmptyValues) {
  for (std::size_t size : {0u, 10u, 4096u, 5000u}) {
    WmaBuilder zeros;
    zeros.Pad(size);
    const MediaHeader h = zeros.Read();
    EXPECT_TRUE(h.result) << size;
    EXPECT_EQ(h.bitrateKbps, 0);
    EXPECT_EQ(h.codecText, "");
  }
  // An attribute name at the very end, and a content description whose
  // lengths run past the data.
  WmaBuilder cut;
  cut.Pad(4096 - 20).Text(u"WM/Track");
  EXPECT_EQ(cut.Read().track, 0);
  WmaBuilder lengths;
  lengths.Pad(3990).Raw({0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C})
      .Pad(8).Le16(0xFFFF).Le16(0xFFFF).Le16(0xFFFF).Le16(0xFFFF).Le16(0).Text(u"Title");
  EXPECT_EQ(lengths.Read().title, "Title");
  EXPECT_FALSE(ReadWmaHeader(static_cast<ByteSource*>(nullptr)).result);
}

// A 1 MB header object crowded with stream properties identifiers at odd
// offsets (none of them an audio stream), the audio stream's object last.
Bytes CrowdedWmaHeader() {
  const std::initializer_list<std::uint8_t> streamProperties = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                                                0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
  WmaBuilder wma;
  wma.Raw({0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C});
  wma.Le32(1 << 20).Le32(0).Pad(7);
  while (wma.bytes.size() < (1 << 20) - 200) wma.Raw(streamProperties).Pad(2);
  wma.Pad(wma.bytes.size() % 2 == 0 ? 1 : 0);
  wma.Raw(streamProperties).Pad(8);
  wma.Raw({0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11, 0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B});
  wma.Pad(78 - 40);
  wma.Le16(0x161).Le16(2).Le32(44100).Le32(16000).Pad(8);  // WMA v2, stereo, 44100 Hz, 128 kbit/s
  wma.Pad((1 << 20) - wma.bytes.size());
  return wma.bytes;
}

TEST(ReadWmaHeader, HeaderCrowdedWithStreamIdentifiersStillFindsTheAudioStream) {
  WmaBuilder wma;
  wma.bytes = CrowdedWmaHeader();
  const MediaHeader h = wma.Read();
  EXPECT_EQ(h.sampleRate, 44100);
  EXPECT_EQ(h.bitrateKbps, 128);
  EXPECT_EQ(h.modeText, "Stereo");
}

TEST(ReadWmaHeader, EncodedFilesFromFfmpeg) {
  MediaHeader h = ReadWmaHeader(DataFile("stereo-64k-22050.wma"));
  EXPECT_TRUE(h.result);
  EXPECT_EQ(h.codecText, "WMA V8");
  EXPECT_EQ(h.bitrateKbps, 64);
  EXPECT_EQ(h.sampleRate, 22050);
  EXPECT_EQ(h.modeText, "Stereo");
  EXPECT_EQ(h.title, "Waterloo");
  EXPECT_EQ(h.artist, "ABBA");
  EXPECT_EQ(h.album, "Gold");
  EXPECT_EQ(h.genre, "Pop");
  EXPECT_EQ(h.year, "1974");
  EXPECT_EQ(h.track, 3);
  EXPECT_EQ(h.fileSize, 16746);

  h = ReadWmaHeader(DataFile("nonascii-mono-32k-16000.wma"));
  EXPECT_EQ(h.title, "Ärger über Öl – 東京");
  EXPECT_EQ(h.artist, "Björk");
  EXPECT_EQ(h.album, "Café del Mar");
  EXPECT_EQ(h.genre, "Electronic");
  EXPECT_EQ(h.year, "");
  EXPECT_EQ(h.track, 12);
  EXPECT_EQ(h.bitrateKbps, 32);
  EXPECT_EQ(h.sampleRate, 16000);
  EXPECT_EQ(h.modeText, "Mono");
}

TEST(ReadWavHeader, FormatChunkValues) {
  MediaHeader h = ReadWavHeader(DataFile("stereo-44100-16bit.wav"));
  EXPECT_TRUE(h.result);
  EXPECT_EQ(h.codecText, "WAV");
  EXPECT_EQ(h.modeText, "Stereo");
  EXPECT_EQ(h.sampleRate, 44100);
  EXPECT_EQ(h.bitrateKbps, 1378) << "176400 bytes/s / 1024 x 8";
  EXPECT_EQ(h.fileSize, 8864);
  h = ReadWavHeader(DataFile("mono-8000-8bit.wav"));
  EXPECT_EQ(h.modeText, "Mono");
  EXPECT_EQ(h.bitrateKbps, 62);
  h = ReadWavHeader(DataFile("six-channels-48000.wav"));
  EXPECT_EQ(h.modeText, "6 Channels");
  EXPECT_EQ(h.bitrateKbps, 4500);
}

TEST(ReadWavHeader, ShortAndForeignFilesGiveNoValuesButSucceed) {
  Bytes tiny = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  MemoryByteSource source(tiny);
  MediaHeader h = ReadWavHeader(&source);
  EXPECT_TRUE(h.result);
  EXPECT_EQ(h.codecText, "");
  EXPECT_EQ(h.sampleRate, 0);
  Bytes random(3000, 0x5A);
  MemoryByteSource other(random);
  EXPECT_EQ(ReadWavHeader(&other).codecText, "");
  EXPECT_FALSE(ReadWavHeader("/nonexistent.wav").result);
}

}  // namespace
}  // namespace tonvault::audio

#include <filesystem>

#include "audio/MediaFiles.h"
#include "support/TempFolder.h"

namespace tonvault::audio {
namespace {

TEST(ReadMediaHeader, ExtensionInAnyCaseChoosesTheReader) {
  testing::TempFolder folder;
  const std::string upper = folder.Path() + "/SONG.WMA";
  std::filesystem::copy_file(DataFile("stereo-64k-22050.wma"), upper);
  const auto wma = ReadMediaHeader(upper);
  ASSERT_TRUE(wma.has_value());
  EXPECT_EQ(wma->title, "Waterloo");
  const std::string wav = folder.Path() + "/Tone.Wav";
  std::filesystem::copy_file(DataFile("stereo-44100-16bit.wav"), wav);
  ASSERT_TRUE(ReadMediaHeader(wav).has_value());
  EXPECT_EQ(ReadMediaHeader(wav)->codecText, "WAV");
  EXPECT_FALSE(ReadMediaHeader(DataFile("cbr-32k-32000-mono.mp3")).has_value());
}

}  // namespace
}  // namespace tonvault::audio
