// Import of a library like the users' own, page cache warm and cold.
//
// The library is made by the benchmark itself (no encoder needed): MP3
// files of 3 to 10 MB at 128 to 320 kbit/s, ID3v2.3 and ID3v2.4 tags, cover
// pictures of 100 to 500 KB in every third, ID3v1 tags in half, one in
// eight a VBR stream without a Xing header, some VBR with one, and the WMA
// and WAV files of the test data. TONVAULT_BENCH_FILES sets the number of
// files (default 160, about 900 MB in the temporary folder);
// TONVAULT_BENCH_KEEP=1 keeps the library for a look at it.
//
// Measured, in one run, against
//   - the floor: open each file, read its first 4 KB and its last 128
//     bytes, close it;
//   - TagLib's FileRef with accurate audio properties, when built with it.
// Warm: best of three runs with every page cached. Cold: every file's
// pages evicted first (posix_fadvise DONTNEED needs no privilege); the wall
// time and the bytes read from storage (/proc/self/io read_bytes), beside
// the bytes the program asked for (rchar).
// Targets: warm within 4x the floor and at least 2x as fast as TagLib; cold
// wall time below TagLib's; storage bytes at most 1.3x the bytes the rules
// need.
//
// What the rules need is counted from the generated layout, not from the
// import: the tag without its picture's content, the last 128 bytes, and
// from the audio start the frames up to the constant-bitrate decision (81
// frames with the default two seconds), the first frame of a stream with a
// Xing header, and the whole stream of a VBR stream without one (nothing
// else tells its bitrate). The "rules floor" reads exactly those bytes with
// plain reads (1 MB at a time): the least any import that follows the rules
// can do, and the fair floor for the default options, whose whole-stream
// walks the 4 KB floor does not pay.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "ImportFloor.h"
#include "QuietSession.h"
#include "audio/Id3v1.h"
#include "catalogue/Import.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"

#ifdef TONVAULT_BENCH_TAGLIB
#include <taglib/fileref.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace tonvault;
using testing::Bytes;

constexpr int kTagPadding = 1024;

Bytes NoiseBytes(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  for (std::uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  return bytes;
}

Bytes Tag(int major, int index, std::size_t pictureBytes) {
  testing::Id3v2Builder tag(major);
  tag.Text("TIT2", "Song " + std::to_string(index)).Text("TPE1", "Artist " + std::to_string(index % 37));
  tag.Text("TALB", "Album " + std::to_string(index % 53)).Text("TRCK", std::to_string(index % 14 + 1));
  tag.Text(major == 4 ? "TDRC" : "TYER", "2003").Text("TCON", "(17)");
  if (pictureBytes > 0) {
    Bytes picture{0, 'i', 'm', 'a', 'g', 'e', '/', 'j', 'p', 'e', 'g', 0, 3, 0};
    testing::Append(picture, NoiseBytes(pictureBytes, static_cast<std::uint32_t>(index)));
    tag.Frame("APIC", picture);
  }
  tag.Padding(kTagPadding);
  return tag.Build();
}

Bytes VariableStream(std::size_t bytes) {
  Bytes stream;
  const int rates[] = {128, 192, 160, 256, 112, 224};
  for (int i = 0; stream.size() < bytes; ++i) testing::Append(stream, testing::Frame({1, 3, rates[i % 6], 44100}));
  return stream;
}

Bytes ConstantStream(int kbps, std::size_t bytes) {
  const testing::FrameShape shape{1, 3, kbps, 44100};
  const Bytes frame = testing::Frame(shape);
  return testing::Frames(shape, static_cast<int>(bytes / frame.size()));
}

// The bytes the rules read of one file (see the top of this file).
struct Need {
  std::int64_t tagBytes = 0;    // from offset 0
  std::int64_t audioStart = 0;  // the first frame
  std::int64_t streamBytes = 0;  // from the audio start
  std::int64_t tailBytes = 128;
  std::int64_t Total() const { return tagBytes + streamBytes + tailBytes; }
};

struct GeneratedFile {
  Bytes bytes;
  Need need;
};

// Frames walked before a constant bitrate is decided, default settings.
constexpr int kCbrDecisionFrames = 81;

GeneratedFile MakeFile(int index) {
  const std::size_t size = (3 + static_cast<std::size_t>(index * 7919 % 8)) * 1024 * 1024;
  const std::size_t picture = index % 3 == 0 ? (100 + static_cast<std::size_t>(index * 31 % 400)) * 1024 : 0;
  GeneratedFile generated;
  Bytes& file = generated.bytes;
  Need& need = generated.need;
  switch (index % 8) {
    case 4: {  // VBR without a header: the scan walks the whole stream
      file = Tag(3, index, picture);
      need.audioStart = static_cast<std::int64_t>(file.size());
      const Bytes stream = VariableStream(size);
      need.streamBytes = static_cast<std::int64_t>(stream.size());
      testing::Append(file, stream);
      break;
    }
    case 5: {
      file = Tag(4, index, picture);
      need.audioStart = static_cast<std::int64_t>(file.size());
      const Bytes xing = testing::XingFrame({1, 3, 128, 44100}, static_cast<std::int32_t>(size / 500),
                                            static_cast<std::int32_t>(size));
      need.streamBytes = static_cast<std::int64_t>(xing.size());
      testing::Append(file, xing);
      testing::Append(file, VariableStream(size));
      break;
    }
    default: {
      file = Tag(index % 8 == 6 ? 4 : 3, index, picture);
      need.audioStart = static_cast<std::int64_t>(file.size());
      const int kbps = std::array{128, 192, 256, 320}[static_cast<std::size_t>(index % 4)];
      need.streamBytes = kCbrDecisionFrames * static_cast<std::int64_t>(testing::Frame({1, 3, kbps, 44100}).size());
      testing::Append(file, ConstantStream(kbps, size));
    }
  }
  // The tag's frames and the picture frame's header; not the picture, not
  // the padding.
  need.tagBytes = need.audioStart - static_cast<std::int64_t>(picture) - kTagPadding;
  if (index % 2 == 0) {
    audio::Id3v1Fields v1;
    v1.title = "Song " + std::to_string(index);
    const std::string tag = audio::EncodeId3v1Tag(v1);
    file.insert(file.end(), tag.begin(), tag.end());
  }
  return generated;
}

struct Library {
  std::vector<std::string> files;
  std::vector<Need> needs;  // one per file
  std::int64_t NeededBytes() const {
    std::int64_t total = 0;
    for (const Need& need : needs) total += need.Total();
    return total;
  }
};

Library MakeLibrary(const fs::path& root, int count) {
  Library library;
  for (int i = 0; i < count; ++i) {
    const fs::path dir = root / ("artist " + std::to_string(i % 12)) / ("album " + std::to_string(i % 24));
    fs::create_directories(dir);
    const fs::path path = dir / (std::to_string(i) + " - song.mp3");
    const GeneratedFile generated = MakeFile(i);
    const Bytes& bytes = generated.bytes;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fdatasync(fd) != 0) {
      std::perror("writing the library");
    }
    ::close(fd);
    library.files.push_back(path.string());
    library.needs.push_back(generated.need);
  }
  for (const char* data : {"stereo-64k-22050.wma", "nonascii-mono-32k-16000.wma", "stereo-44100-16bit.wav"}) {
    fs::copy_file(fs::path(TONVAULT_TEST_DATA) / data, root / data, fs::copy_options::overwrite_existing);
    // Small files: their whole size is counted, though only the headers are read.
    library.files.push_back((root / data).string());
    library.needs.push_back({static_cast<std::int64_t>(fs::file_size(root / data)), 0, 0, 0});
  }
  return library;
}

std::size_t Import(const fs::path& root, bool scan = true) {
  bench::QuietSession session;
  catalogue::Application& app = session.app;
  app.options.import.wma = app.options.import.wav = true;
  app.options.mp3.scanForVbr = scan;
  std::vector<std::string> candidates;
  catalogue::CollectFiles(root.string(), true, app.options.import, candidates, app.notRead);
  catalogue::SortCandidates(candidates);
  catalogue::BuildRows(app, candidates);
  return app.files.size();
}

void Floor(const std::vector<std::string>& files) { bench::ReadHeadsAndTails(files); }

// Reads [offset, offset + count) in pieces of at most 1 MB.
void ReadRange(int fd, std::vector<char>& buffer, std::int64_t offset, std::int64_t count) {
  while (count > 0) {
    const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size())));
    const ssize_t got = ::pread(fd, buffer.data(), piece, offset);
    if (got <= 0) return;
    offset += got;
    count -= got;
  }
}

// The bytes of the streams that are read whole.
std::int64_t WholeStreamBytes(const Library& library) {
  std::int64_t total = 0;
  for (const Need& need : library.needs) {
    if (need.streamBytes > 1024 * 1024) total += need.streamBytes;
  }
  return total;
}

// Reads what the rules need of every file and nothing else.
void RulesFloor(const Library& library) {
  std::vector<char> buffer(1024 * 1024);
  for (std::size_t i = 0; i < library.files.size(); ++i) {
    const Need& need = library.needs[i];
    const int fd = ::open(library.files[i].c_str(), O_RDONLY);
    if (fd < 0) continue;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ReadRange(fd, buffer, 0, need.tagBytes);
    ReadRange(fd, buffer, need.audioStart, need.streamBytes);
    ReadRange(fd, buffer, std::max<off_t>(0, size - need.tailBytes), need.tailBytes);
    ::close(fd);
  }
}

#ifdef TONVAULT_BENCH_TAGLIB
void TagLibRead(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Accurate);
    if (!ref.isNull() && ref.audioProperties() != nullptr) (void)ref.audioProperties()->lengthInMilliseconds();
  }
}
#endif

// Drops the files' pages from the page cache.
void Evict(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

struct IoCounters {
  long long asked = 0;    // rchar: bytes the process read through system calls
  long long storage = 0;  // read_bytes: bytes fetched from storage for it
};

IoCounters ReadIo() {
  IoCounters io;
  std::ifstream in("/proc/self/io");
  std::string key;
  long long value = 0;
  while (in >> key >> value) {
    if (key == "rchar:") io.asked = value;
    if (key == "read_bytes:") io.storage = value;
  }
  return io;
}

struct Cold {
  double seconds = 0;
  IoCounters io;
};

Cold MeasureCold(const std::vector<std::string>& files, const std::function<void()>& work) {
  Evict(files);
  const IoCounters before = ReadIo();
  Cold cold;
  cold.seconds = bench::Milliseconds(work) / 1000;
  const IoCounters after = ReadIo();
  cold.io = {after.asked - before.asked, after.storage - before.storage};
  return cold;
}

void ReportWarm(const char* what, double seconds, double floor, std::size_t files) {
  std::printf("  %-44s %8.0f files/s  %6.2fx the floor\n", what, static_cast<double>(files) / seconds, seconds / floor);
}

void ReportCold(const char* what, const Cold& cold) {
  std::printf("  %-44s %7.3f s  storage %7.1f MB  asked for %7.1f MB\n", what, cold.seconds, cold.io.storage / 1e6,
              cold.io.asked / 1e6);
}

}  // namespace

int main() {
  const char* count = std::getenv("TONVAULT_BENCH_FILES");
  const int files = count != nullptr ? std::max(8, std::atoi(count)) : 160;
  const fs::path root = fs::temp_directory_path() / ("tonvault-library-bench-" + std::to_string(::getpid()));
  const Library generated = MakeLibrary(root, files);
  const std::vector<std::string>& library = generated.files;
  std::uintmax_t total = 0;
  for (const std::string& file : library) total += fs::file_size(file);
  const double needed = static_cast<double>(generated.NeededBytes());
  std::printf("Import of a generated library: %zu files, %.0f MB (3-10 MB MP3s, cover art, VBR)\n", library.size(),
              static_cast<double>(total) / 1e6);
  std::printf(" the rules need %.1f MB of it (%.1f MB of them the whole VBR streams without a header)\n", needed / 1e6,
              static_cast<double>(WholeStreamBytes(generated)) / 1e6);

  Import(root);  // warm the page cache
  std::size_t rows = 0;
  const double floor = bench::BestSeconds([&] { Floor(library); }, 5);
  const double rulesFloor = bench::BestSeconds([&] { RulesFloor(generated); }, 5);
  const double warm = bench::BestSeconds([&] { rows = Import(root); }, 3);
  const double warmNoScan = bench::BestSeconds([&] { Import(root, false); }, 3);
  std::printf(" warm (best of 3, %zu rows):\n", rows);
  ReportWarm("floor: open, read 4 KB and 128 B, close", floor, floor, library.size());
  ReportWarm("rules floor: read what the rules need", rulesFloor, floor, library.size());
  ReportWarm("Tonvault import, default options", warm, floor, library.size());
  ReportWarm("Tonvault import, VBR scan off", warmNoScan, floor, library.size());
  std::printf("  default import vs the rules floor: %.2fx\n", warm / rulesFloor);
#ifdef TONVAULT_BENCH_TAGLIB
  const double taglibWarm = bench::BestSeconds([&] { TagLibRead(library); }, 3);
  ReportWarm("TagLib FileRef, tags and accurate properties", taglibWarm, floor, library.size());
  std::printf("  Tonvault vs TagLib warm: %.2fx as fast, VBR scan off %.2fx (target >= 2x); vs floor %.2fx, "
              "VBR scan off %.2fx (target <= 4x)\n",
              taglibWarm / warm, taglibWarm / warmNoScan, warm / floor, warmNoScan / floor);
#else
  std::printf("  (TagLib comparison not built: install libtag1-dev and rebuild)\n");
#endif

  std::printf(" cold (pages evicted before each run):\n");
  const Cold floorCold = MeasureCold(library, [&] { Floor(library); });
  const Cold rulesCold = MeasureCold(library, [&] { RulesFloor(generated); });
  const Cold importCold = MeasureCold(library, [&] { Import(root); });
  const Cold noScanCold = MeasureCold(library, [&] { Import(root, false); });
  ReportCold("floor", floorCold);
  ReportCold("rules floor", rulesCold);
  ReportCold("Tonvault import, default options", importCold);
  ReportCold("Tonvault import, VBR scan off", noScanCold);
#ifdef TONVAULT_BENCH_TAGLIB
  const Cold taglibCold = MeasureCold(library, [&] { TagLibRead(library); });
  ReportCold("TagLib FileRef, tags and accurate properties", taglibCold);
  std::printf("  Tonvault vs TagLib cold wall time: %.2fx, VBR scan off %.2fx (target < 1x)\n",
              importCold.seconds / taglibCold.seconds, noScanCold.seconds / taglibCold.seconds);
#endif
  if (importCold.io.storage > 0) {
    std::printf("  storage bytes / bytes the rules need: %.2fx (target <= 1.3x); / bytes asked for: %.2fx\n",
                static_cast<double>(importCold.io.storage) / needed,
                static_cast<double>(importCold.io.storage) / static_cast<double>(importCold.io.asked));
  } else {
    std::printf("  (this system does not count bytes read from storage)\n");
  }
  if (const char* keep = std::getenv("TONVAULT_BENCH_KEEP"); keep != nullptr && *keep == '1') {
    std::printf("  library kept in %s\n", root.c_str());
  } else {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  return 0;
}
