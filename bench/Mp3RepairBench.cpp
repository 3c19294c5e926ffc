// The MP3 analysis and repair on a 200 MB stream in the page cache. Makes,
// in a temporary folder, a VBR stream with an ID3v2 tag, space before the
// first frame, a few damaged places and space at the end, then reports
// (best of several runs):
//   - the floor: reading the bytes in 256 KB blocks and nothing else,
//   - the analysis with its frame records, and the memory it grows by,
//   - a plain copy that is not flushed, and a safe copy of the file
//     (written beside, flushed, renamed): the repair writes as much,
//   - the repair (space at both ends and the damaged places removed):
//     written beside, flushed, scanned again and checked, renamed.
// Targets: analysis >= 2 GB/s warm, memory growing only by the records;
// repair >= 1 GB/s.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "BenchFiles.h"
#include "BenchTiming.h"
#include "audio/MpegFrames.h"
#include "audio/analysis/Mp3Analysis.h"
#include "audio/analysis/Mp3Rebuild.h"
#include "files/CopyFile.h"

namespace {

namespace fs = std::filesystem;
using tonvault::bench::PeakRssKb;
using tonvault::bench::ReadOnly;
using namespace tonvault::audio;
using Bytes = std::vector<char>;

constexpr std::int64_t kFileBytes = 200LL * 1000 * 1000;

Bytes Frame(int bitrateIndex) {
  const std::uint8_t header[4] = {0xFF, 0xFB, static_cast<std::uint8_t>(bitrateIndex << 4), 0x40};
  Bytes frame(static_cast<std::size_t>(FrameLength(FrameHeader::Decode(header))), 0x11);
  std::copy(header, header + 4, frame.begin());
  return frame;
}

void WriteDamagedStream(const fs::path& path, std::mt19937& random) {
  std::ofstream out(path, std::ios::binary);
  const char tag[10] = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x0F, 0x76};  // 2038 bytes + header
  out.write(tag, 10);
  out << std::string(2038, '\0') << std::string(1000, '\x55');
  std::vector<Bytes> frames;
  for (int index = 9; index <= 14; ++index) frames.push_back(Frame(index));
  std::int64_t written = 3048;
  std::int64_t nextDamage = kFileBytes / 8;
  while (written < kFileBytes) {
    const Bytes& frame = frames[random() % frames.size()];
    out.write(frame.data(), static_cast<std::streamsize>(frame.size()));
    written += static_cast<std::int64_t>(frame.size());
    if (written > nextDamage) {
      out << std::string(300, '\x55');
      written += 300;
      nextDamage += kFileBytes / 8;
    }
  }
  out << std::string(4000, '\x55');
}


// Writes the file's bytes to a new file and does not flush them: what the
// repair's writing costs without waiting for the disk.
void CopyUnflushed(const fs::path& from, const fs::path& to) {
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char> block(1 << 20);
  for (ssize_t got; (got = ::read(in, block.data(), block.size())) > 0;) {
    if (::write(out, block.data(), static_cast<std::size_t>(got)) != got) break;
  }
  ::close(in);
  ::close(out);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("tonvault-repair-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::mt19937 random(7);
  const fs::path original = folder / "original.mp3";
  const fs::path work = folder / "work.mp3";
  WriteDamagedStream(original, random);
  const double megabytes = static_cast<double>(fs::file_size(original)) / 1e6;
  ReadOnly(original);

  SilentScanHost host;
  const double floor = tonvault::bench::BestSeconds([&] { ReadOnly(original); }, 5);
  Mp3Analysis analysis;
  const long rssBefore = PeakRssKb();
  const double analyse = tonvault::bench::BestSeconds([&] {
    analysis = Mp3Analysis();  // the last run's records go first
    analysis = AnalyzeMp3(original.string(), 0, host);
  }, 5);
  const long rssAfter = PeakRssKb();
  const std::size_t records = analysis.frames.Records().size();

  const double copy = tonvault::bench::BestSeconds(
      [&] { (void)tonvault::files::CopyFile(original.string(), (folder / "copy.mp3").string()); }, 3);

  const double unflushed =
      tonvault::bench::BestSeconds([&] { CopyUnflushed(original, folder / "unflushed.mp3"); }, 3);
  double repair = 1e30;
  RebuildResult result;
  std::int64_t kept = 0;
  for (int run = 0; run < 3; ++run) {
    (void)tonvault::files::CopyFile(original.string(), work.string());
    Mp3Analysis before = AnalyzeMp3(work.string(), 0, host);
    for (FrameRecord& record : before.frames.Records()) record.remove = record.IsBad();
    repair = std::min(repair, tonvault::bench::BestSeconds(
                                  [&] { result = RebuildMp3(before, {.dropSpaceBefore = true, .dropSpaceAfter = true}); },
                                  1));
    kept = static_cast<std::int64_t>(fs::file_size(work));
  }

  std::printf("MP3 analysis and repair, %.0f MB VBR stream with damage (page cache)\n", megabytes);
  std::printf("  %-44s %8.0f MB/s\n", "floor: reading the bytes only", megabytes / floor);
  std::printf("  %-44s %8.0f MB/s  (%zu records, %lld bad places; target >= 2000 MB/s)\n",
              "analysis with frame records", megabytes / analyse, records,
              static_cast<long long>(analysis.frames.BadCount()));
  std::printf("  %-44s %8ld KB  (the records hold %zu KB)\n", "peak memory growth of the analysis",
              rssAfter - rssBefore, records * sizeof(FrameRecord) / 1024);
  std::printf("  %-44s %8.0f MB/s\n", "baseline: plain copy, not flushed", megabytes / unflushed);
  std::printf("  %-44s %8.0f MB/s\n", "baseline: safe copy of the file (flushed)", megabytes / copy);
  std::printf("  %-44s %8.0f MB/s  (%s, %lld bytes kept; target >= 1000 MB/s)\n",
              "repair: write, flush, check, rename", megabytes / repair, result.Ok() ? "ok" : "FAILED",
              static_cast<long long>(kept));

  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return result.Ok() ? 0 : 1;
}
