// Catalogue file speed on 100,000 rows: save (encode, write, flush, rename)
// and load (read, decode, split, build rows) against the floor of reading
// the file and splitting it into lines. Targets: load under 0.5 s and
// within 5x of the floor, save within 3x of it. Also the memory the loaded
// rows hold, against the size of the file (its text), for these rows and for
// a file of empty lines, where the rows' own bookkeeping is all there is.
#include <malloc.h>
#include <unistd.h>

#include "QuietSession.h"
#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/DatabaseFormat.h"

namespace {

namespace fs = std::filesystem;
using namespace tonvault;

constexpr int kRows = 100000;

double Best(const std::function<void()>& work, int repeats) { return tonvault::bench::BestSeconds(work, repeats); }

std::string Numbered(const char* prefix, int number) {
  std::string text(prefix);
  text += std::to_string(number);
  return text;
}

void FillRows(catalogue::Application& app) {
  const catalogue::ColumnMap& map = app.columnMap;
  app.files.resize(kRows);
  for (int i = 0; i < kRows; ++i) {
    catalogue::TrackRecord& row = app.files[static_cast<std::size_t>(i)];
    row.icon = 8 + i % 3;
    map.Set(row, catalogue::Column::Album, Numbered("Album number ", i / 12));
    map.Set(row, catalogue::Column::Artist, Numbered("Artist ", i / 40));
    map.Set(row, catalogue::Column::Title, Numbered("A song title of average length ", i));
    map.Set(row, catalogue::Column::Genre, "Rock");
    map.Set(row, catalogue::Column::Track, std::to_string(i % 12 + 1));
    map.Set(row, catalogue::Column::Year, "1999");
    map.Set(row, catalogue::Column::Size, std::to_string(3000 + i % 5000));
    map.Set(row, catalogue::Column::Bitrate, "192 V");
    map.Set(row, catalogue::Column::Freq, "44100");
    map.Set(row, catalogue::Column::Mode, "J. Stereo");
    map.Set(row, catalogue::Column::Length, "00:04:12");
    map.Set(row, catalogue::Column::Codec, "M1  L3");
    map.Set(row, catalogue::Column::Filename, Numbered("", i) + " - A song title.mp3");
    map.Set(row, catalogue::Column::Path, Numbered("/home/user/Music/Artist/Album number ", i / 12) + "/");
  }
}

// Bytes the allocator has handed out and not yet taken back.
std::size_t HeapInUse() {
  const struct mallinfo2 info = ::mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The heap the rows of `path` hold once loaded into an empty FILES.
std::size_t LoadedRowsMemory(catalogue::Application& app, const std::string& path) {
  app.files.clear();
  app.files.shrink_to_fit();
  const std::size_t before = HeapInUse();
  catalogue::ReadDatabase(app, path, false);
  return HeapInUse() - before;
}

void PrintMemory(const char* what, std::size_t rows, std::size_t memory, std::uintmax_t fileBytes) {
  std::printf("  %-44s %7.1f MB for %7.1f MB of file: %4.2fx the text, %5.0f bytes per row beyond it\n", what,
              static_cast<double>(memory) / 1e6, static_cast<double>(fileBytes) / 1e6,
              static_cast<double>(memory) / static_cast<double>(fileBytes),
              (static_cast<double>(memory) - static_cast<double>(fileBytes)) / static_cast<double>(rows));
}

std::size_t FloorLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  catalogue::LineReader lines(bytes);
  std::size_t count = 0;
  while (!lines.AtEnd()) count += !lines.Next().empty();
  return count;
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("tonvault-db-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "catalogue.tvd").string();
  bench::QuietSession session;
  catalogue::Frontend& frontend = session.frontend;
  catalogue::Application& app = session.app;
  FillRows(app);

  const double save = Best([&] { catalogue::WriteDatabase(app, path, app.files); }, 3);
  const double encode = Best([&] { (void)catalogue::EncodeDatabase(app.files, app.columnMap).size(); }, 3);
  const double megabytes = static_cast<double>(fs::file_size(path)) / 1e6;
  std::size_t lines = 0;
  const double floor = Best([&] { lines = FloorLines(path); }, 5);
  catalogue::Application loaded(frontend);
  // The rows of the previous run are freed outside the timing: a first load
  // starts from an empty list.
  double load = 1e30;
  for (int run = 0; run < 3; ++run) {
    loaded.files.clear();
    loaded.files.shrink_to_fit();
    load = std::min(load, Best([&] { catalogue::ReadDatabase(loaded, path, false); }, 1));
  }

  std::printf("Catalogue file of %d rows, %.1f MB (%zu non-empty lines), best of 3\n", kRows, megabytes, lines);
  std::printf("  %-44s %7.1f ms %8.0f MB/s\n", "floor: read the file and split its lines", floor * 1e3,
              megabytes / floor);
  std::printf("  %-44s %7.1f ms %8.0f MB/s %9.0f rows/s  %4.1fx the floor\n", "save (encode, write, flush, rename)",
              save * 1e3, megabytes / save, kRows / save, save / floor);
  std::printf("  %-44s %7.1f ms   (of which flushing to disk is the rest)\n", "  encoding alone", encode * 1e3);
  std::printf("  %-44s %7.1f ms %8.0f MB/s %9.0f rows/s  %4.1fx the floor\n", "load into FILES", load * 1e3,
              megabytes / load, kRows / load, load / floor);
  std::printf("  loaded %zu rows; targets: load < 500 ms and <= 5x the floor, save <= 3x the floor\n",
              loaded.files.size());

  // Memory: these rows, and a file of nothing but empty lines (2 MB, every
  // 17 lines one row with all texts empty).
  const std::size_t rowsMemory = LoadedRowsMemory(loaded, path);
  PrintMemory("memory of the loaded rows", loaded.files.size(), rowsMemory, fs::file_size(path));
  const std::string empty = (folder / "empty.tvd").string();
  {
    std::ofstream out(empty, std::ios::binary);
    out << "Fileversion: 1\r\n";
    for (int i = 0; i < 1000000; ++i) out << "\r\n";
  }
  const std::size_t emptyMemory = LoadedRowsMemory(loaded, empty);
  PrintMemory("memory of rows of empty lines", loaded.files.size(), emptyMemory, fs::file_size(empty));
  std::printf("  target: at most 2x the text\n");
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
