// Import speed. Makes 10,000 small MP3 files in 100 nested folders (copies
// of the encoder-made test files, each with its own ID3v1 title) and imports
// them page-cache warm, as the window does:
//   - with the default options (VBR scan on) and with the VBR scan off,
//   - the floor: open each file, read its first 4 KB and last 128 bytes,
//     close it; no import can do less,
//   - TagLib's FileRef with audio properties over the same files, when the
//     benchmark was built with TagLib.
//   - python3-mutagen over the same files, when it is installed.
// Target with the default options: within 3x of the floor.
#include <fcntl.h>
#include <unistd.h>

#include "QuietSession.h"
#include "BenchTiming.h"
#include "ImportFloor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "audio/Id3v1.h"
#include "catalogue/Import.h"

#ifdef TONVAULT_BENCH_TAGLIB
#include <taglib/fileref.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace tonvault;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> MakeCorpus(const fs::path& root) {
  const char* sources[] = {"cbr-32k-32000-mono.mp3", "vbr-xing-32000-mono.mp3", "mpeg2-24k-22050-mono.mp3",
                           "eyed3-v24-utf8.mp3", "mutagen-v23-utf16.mp3", "id3v2-cbr-32k.mp3"};
  std::vector<std::string> contents;
  for (const char* name : sources) contents.push_back(ReadWhole(fs::path(TONVAULT_TEST_DATA) / name));
  std::vector<std::string> files;
  for (int folder = 0; folder < kFolders; ++folder) {
    const fs::path dir = root / ("artist " + std::to_string(folder / 10)) / ("album " + std::to_string(folder));
    fs::create_directories(dir);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      audio::Id3v1Fields tag;
      tag.title = "Track " + std::to_string(i);
      tag.album = "Album " + std::to_string(folder);
      tag.track = i + 1;
      const fs::path path = dir / (std::to_string(i) + " - song.mp3");
      std::ofstream out(path, std::ios::binary);
      out << contents[static_cast<std::size_t>(i) % contents.size()] << audio::EncodeId3v1Tag(tag);
      files.push_back(path.string());
    }
  }
  return files;
}

// Seconds python3-mutagen takes to read tags and audio properties of the
// files listed in `list`, or a negative number when it is not installed.
double MutagenSeconds(const fs::path& list) {
  const std::string command =
      "/usr/bin/python3 -c \"import sys, time\n"
      "try:\n import mutagen.mp3\n"
      "except ImportError:\n print(-1); sys.exit()\n"
      "names = open(sys.argv[1]).read().split(chr(10))[:-1]\n"
      "start = time.perf_counter()\n"
      "for n in names: mutagen.mp3.MP3(n)\n"
      "print(time.perf_counter() - start)\" " + list.string() + " 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  double seconds = -1;
  if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = -1;
  ::pclose(pipe);
  return seconds;
}

double Best(const std::function<void()>& work, int repeats) { return tonvault::bench::BestSeconds(work, repeats); }

std::size_t Import(const fs::path& root, const catalogue::Options& options) {
  bench::QuietSession session;
  catalogue::Application& app = session.app;
  app.options = options;
  std::vector<std::string> candidates;
  catalogue::CollectFiles(root.string(), true, options.import, candidates, app.notRead);
  catalogue::SortCandidates(candidates);
  catalogue::BuildRows(app, candidates);
  return app.files.size();
}

void Floor(const std::vector<std::string>& files) { bench::ReadHeadsAndTails(files); }

void Report(const char* what, double seconds, double floor) {
  const double files = kFolders * kFilesPerFolder;
  std::printf("  %-40s %8.0f files/s  %7.1f us/file  %5.2fx the floor\n", what, files / seconds, seconds / files * 1e6,
              seconds / floor);
}

}  // namespace

int main() {
  const fs::path root = fs::temp_directory_path() / ("tonvault-import-bench-" + std::to_string(::getpid()));
  const std::vector<std::string> files = MakeCorpus(root);
  catalogue::Options defaults;
  catalogue::Options noScan;
  noScan.mp3.scanForVbr = false;
  Import(root, defaults);  // warm the page cache

  std::size_t rows = 0;
  const double floor = Best([&] { Floor(files); }, 5);
  const double withScan = Best([&] { rows = Import(root, defaults); }, 3);
  const double withoutScan = Best([&] { Import(root, noScan); }, 3);

  std::printf("Import of %zu small MP3 files in %d folders (page cache warm), best of 3\n", rows, kFolders);
  Report("floor: open, read 4 KB and 128 B, close", floor, floor);
  Report("import, default options (VBR scan on)", withScan, floor);
  Report("import, VBR scan off", withoutScan, floor);
#ifdef TONVAULT_BENCH_TAGLIB
  const double taglib = Best(
      [&] {
        for (const std::string& file : files) {
          TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Accurate);
          if (!ref.isNull() && ref.audioProperties() != nullptr) (void)ref.audioProperties()->lengthInMilliseconds();
        }
      },
      3);
  Report("TagLib FileRef, tags and accurate properties", taglib, floor);
  std::printf("  Tonvault (default options) vs TagLib: %.2fx as fast\n", taglib / withScan);
#else
  std::printf("  (TagLib comparison not built: install libtag1-dev and rebuild)\n");
#endif
  const fs::path list = root / "files.txt";
  {
    std::ofstream out(list);
    for (const std::string& file : files) out << file << '\n';
  }
  if (const double mutagen = MutagenSeconds(list); mutagen > 0) {
    Report("python3-mutagen MP3(), one run", mutagen, floor);
    std::printf("  Tonvault (default options) vs mutagen: %.1fx as fast (target >= 5x)\n", mutagen / withScan);
  } else {
    std::printf("  (mutagen comparison skipped: python3-mutagen is not installed)\n");
  }
  std::printf("  target: default options within 3x of the floor\n");
  std::error_code ignored;
  fs::remove_all(root, ignored);
  return 0;
}
