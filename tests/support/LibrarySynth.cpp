#include "support/LibrarySynth.h"

#include <filesystem>
#include <fstream>

#include "audio/Id3v1.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"

namespace tonvault::testing {

namespace {

namespace fs = std::filesystem;

// Bytes that look like picture data: every value, 0xFF included.
Bytes PictureData(std::size_t size) {
  Bytes bytes(size);
  std::uint32_t state = 12345;
  for (std::uint8_t& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(state >> 16);
  }
  return bytes;
}

Bytes Picture(std::size_t size) {
  Bytes content{0};
  for (char c : std::string("image/jpeg")) content.push_back(static_cast<std::uint8_t>(c));
  content.push_back(0);
  content.push_back(3);  // front cover
  content.push_back(0);  // empty description
  Append(content, PictureData(size));
  return content;
}

Bytes Latin(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A stream whose frames change bitrate: VBR without a header.
Bytes VariableStream(int frames) {
  Bytes bytes;
  const int rates[] = {128, 192, 160, 224, 96};
  for (int i = 0; i < frames; ++i) Append(bytes, Frame({1, 3, rates[i % 5], 44100}));
  return bytes;
}

Bytes Id3v1(const std::string& title, int track) {
  audio::Id3v1Fields fields;
  fields.title = title;
  fields.artist = "Library Artist";
  fields.album = "Library Album";
  fields.year = "1999";
  fields.genre = 17;
  fields.track = track;
  const std::string tag = audio::EncodeId3v1Tag(fields);
  return Bytes(tag.begin(), tag.end());
}

Id3v2Builder Tagged(int major, const std::string& title) {
  Id3v2Builder tag(major);
  tag.Text(major == 2 ? "TT2" : "TIT2", title).Text(major == 2 ? "TP1" : "TPE1", "Tagged Artist");
  if (major != 2) tag.Text("TALB", "Tagged Album").Text("TRCK", "7/12").Text("TCON", "(13)");
  if (major == 3) tag.Text("TYER", "2004").Comment("eng", "", "A comment");
  if (major == 4) tag.Text("TDRC", "2011-05-01").Text("TPE1", "Ärger \xC3\xBC", 3);
  return tag;
}

void Write(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::vector<std::string> MakeLibrary(const std::string& rootText) {
  const fs::path root(rootText);
  std::vector<std::pair<std::string, Bytes>> files;
  const FrameShape cbr{1, 3, 128, 44100};

  Bytes plain = Frames(cbr, 400);  // about 10 s
  Append(plain, Id3v1("Plain CBR", 1));
  files.emplace_back("cbr/plain.mp3", plain);

  Bytes v23 = Tagged(3, "Version 2.3").Build();
  Append(v23, Frames(cbr, 300));
  Append(v23, Id3v1("Both tags", 2));
  files.emplace_back("cbr/v23-and-v1.mp3", v23);

  Bytes cover = Tagged(3, "Cover art").Frame("APIC", Picture(2 * 1024 * 1024)).Frame("USLT", Latin("\0eng\0la la la")).Build();
  Append(cover, Frames(cbr, 200));
  files.emplace_back("cbr/cover-2mb.mp3", cover);

  Bytes v24 = Tagged(4, "Version 2.4").Frame("PRIV", PictureData(300 * 1024)).Padding(4000).Build();
  Append(v24, Frames({1, 3, 192, 48000}, 250));
  files.emplace_back("cbr/v24-priv.mp3", v24);

  Bytes v22 = Tagged(2, "Version 2.2").Build();
  Append(v22, Frames({2, 3, 64, 22050}, 300));
  files.emplace_back("mpeg2/v22.mp3", v22);
  files.emplace_back("mpeg2/mpeg25.mp3", Frames({3, 3, 32, 11025, 0, 3}, 200));

  Bytes unsync = Id3v2Builder(3).Flags(0x80).Raw(Unsynchronise(Tagged(3, "Unsynchronised").Build())).Build();
  Append(unsync, Frames(cbr, 100));
  files.emplace_back("tags/unsynchronised.mp3", unsync);

  Bytes pastEnd = Tagged(3, "Size past the end").DeclaredSize(50 * 1024 * 1024).Build();
  Append(pastEnd, Frames(cbr, 50));
  files.emplace_back("tags/size-past-end.mp3", pastEnd);

  Bytes cut = Tagged(3, "Cut short").Build();
  Append(cut, Frames(cbr, 120));
  cut.resize(cut.size() - 200);  // ends inside the last frame
  files.emplace_back("damaged/cut-mid-frame.mp3", cut);

  Bytes stray = Junk(700);
  Append(stray, Frames(cbr, 100));
  files.emplace_back("damaged/stray-bytes-first.mp3", stray);

  Bytes broken = Frames(cbr, 60);
  Append(broken, PictureData(5000));  // garbage in the middle
  Append(broken, Frames(cbr, 60));
  files.emplace_back("damaged/garbage-in-the-middle.mp3", broken);

  Bytes vbr = VariableStream(500);
  Append(vbr, Id3v1("VBR without header", 3));
  files.emplace_back("vbr/no-header.mp3", vbr);

  Bytes xing = Tagged(3, "VBR with Xing").Build();
  Append(xing, XingFrame(cbr, 400, 400 * 500));
  Append(xing, VariableStream(400));
  files.emplace_back("vbr/xing.mp3", xing);

  Bytes late = Frames(cbr, 150);  // constant long enough for the CBR decision, then it varies
  Append(late, VariableStream(200));
  files.emplace_back("vbr/varies-late.mp3", late);

  std::vector<std::string> paths;
  for (const auto& [name, bytes] : files) {
    Write(root / name, bytes);
    paths.push_back((root / name).string());
  }
  for (const char* data : {"stereo-64k-22050.wma", "nonascii-mono-32k-16000.wma", "stereo-44100-16bit.wav",
                           "six-channels-48000.wav", "id3lib-v23.mp3", "eyed3-v24-utf8.mp3", "mutagen-v23-utf16.mp3"}) {
    const fs::path target = root / "data" / data;
    fs::create_directories(target.parent_path());
    fs::copy_file(fs::path(TONVAULT_TEST_DATA) / data, target, fs::copy_options::overwrite_existing);
    paths.push_back(target.string());
  }
  return paths;
}

}  // namespace tonvault::testing
