// The stream scan's speed. Makes, in a temporary folder, a 200 MB VBR stream
// without a VBR header and 20,000 small CBR/VBR files, then reports:
//   - the full scan of the large file in MB/s and frames/s (best of 5),
//   - the floor: reading the same bytes from the page cache and nothing else,
//   - a naive baseline that reads 16 bytes with one system call per frame,
//   - files per second for the quick header read plus the default scan.
// Targets: full scan >= 2 GB/s, >= 10x the naive walk, and memory that does
// not grow with the file's size.
#include <fcntl.h>
#include <unistd.h>

#include "BenchFiles.h"
#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "audio/MpegFrames.h"
#include "audio/MpegHeader.h"
#include "audio/StreamScan.h"

namespace {

namespace fs = std::filesystem;
using tonvault::bench::PeakRssKb;
using tonvault::bench::ReadOnly;
using namespace tonvault::audio;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kLargeFileBytes = 200LL * 1000 * 1000;
constexpr int kSmallFiles = 20000;

Bytes Frame(int bitrateIndex, int sampleRateIndex, int mode) {
  const std::uint8_t header[4] = {0xFF, 0xFB, static_cast<std::uint8_t>(bitrateIndex << 4 | sampleRateIndex << 2),
                                  static_cast<std::uint8_t>(mode << 6)};
  Bytes frame(static_cast<std::size_t>(FrameLength(FrameHeader::Decode(header))), 0x11);
  std::copy(header, header + 4, frame.begin());
  return frame;
}

// A stream whose bitrate changes from frame to frame, as a VBR encoder's.
void WriteVbrStream(const fs::path& path, std::int64_t bytes, std::mt19937& random) {
  std::vector<Bytes> frames;
  for (int index = 9; index <= 14; ++index) frames.push_back(Frame(index, 0, 1));
  std::ofstream out(path, std::ios::binary);
  std::int64_t written = 0;
  while (written < bytes) {
    const Bytes& frame = frames[random() % frames.size()];
    out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    written += static_cast<std::int64_t>(frame.size());
  }
}

void WriteSmallFile(const fs::path& path, bool vbr, std::mt19937& random) {
  std::ofstream out(path, std::ios::binary);
  const Bytes cbr = Frame(9, 0, 1);
  const int frames = 60 + static_cast<int>(random() % 60);
  for (int i = 0; i < frames; ++i) {
    const Bytes frame = vbr ? Frame(9 + static_cast<int>(random() % 5), 0, 1) : cbr;
    out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
  }
}

double Seconds(const std::function<void()>& work, int repeats) { return tonvault::bench::BestSeconds(work, repeats); }

// One pread of 16 bytes per frame: the plain way to walk a stream.
std::int64_t NaiveWalk(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  const std::int64_t size = static_cast<std::int64_t>(fs::file_size(path));
  std::uint8_t window[16];
  std::int64_t frames = 0;
  for (std::int64_t p = 0; p < size - 16;) {
    if (::pread(fd, window, 16, p) != 16) break;
    if (IsFrameHeader(window)) {
      ++frames;
      p += std::max(FrameLength(FrameHeader::Decode(window)), 16);
    } else {
      p += 16;
    }
  }
  ::close(fd);
  return frames;
}


}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("tonvault-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder / "small");
  std::mt19937 random(42);
  const fs::path large = folder / "large-vbr.mp3";
  WriteVbrStream(large, kLargeFileBytes, random);
  std::vector<fs::path> small;
  for (int i = 0; i < kSmallFiles; ++i) {
    small.push_back(folder / "small" / (std::to_string(i) + ".mp3"));
    WriteSmallFile(small.back(), i % 3 == 0, random);
  }
  const double megabytes = static_cast<double>(fs::file_size(large)) / 1e6;
  ReadOnly(large);  // into the page cache

  SilentScanHost host;
  ScanOptions full;
  full.fullScan = true;
  StreamScanResult result;
  const long rssBefore = PeakRssKb();
  const double scan = Seconds([&] { result = ScanMpegStream(large.string(), full, host); }, 5);
  const long rssAfter = PeakRssKb();
  const double floor = Seconds([&] { ReadOnly(large); }, 5);
  std::int64_t naiveFrames = 0;
  const double naive = Seconds([&] { naiveFrames = NaiveWalk(large); }, 2);

  std::int64_t corrupt = 0;
  const double files = Seconds(
      [&] {
        corrupt = 0;
        for (const fs::path& path : small) {
          (void)ReadMpegHeader(path.string(), host);
          corrupt += ScanMpegStream(path.string(), {}, host).corrupt;
        }
      },
      2);

  std::printf("Stream scan, %.0f MB VBR stream without a VBR header (page cache), best of 5\n", megabytes);
  std::printf("  %-34s %9.0f MB/s  %12.0f frames/s  (%lld frames, VBR %s, %d bad)\n", "full scan", megabytes / scan,
              static_cast<double>(result.validFrames) / scan, static_cast<long long>(result.validFrames),
              result.vbr ? "yes" : "no", result.badPlaces);
  std::printf("  %-34s %9.0f MB/s\n", "floor: reading the bytes only", megabytes / floor);
  std::printf("  %-34s %9.0f MB/s  %12.0f frames/s  (%lld frames)\n", "baseline: one 16-byte read a frame",
              megabytes / naive, static_cast<double>(naiveFrames) / naive, static_cast<long long>(naiveFrames));
  std::printf("  full scan vs baseline: %.1fx (target >= 10x); vs floor: %.0f%%; target >= 2000 MB/s\n",
              naive / scan, floor / scan * 100.0);
  std::printf("  peak memory before/after the scans: %ld / %ld KB (grows by %ld KB for a %.0f MB file)\n", rssBefore,
              rssAfter, rssAfter - rssBefore, megabytes);
  std::printf("Quick read + default scan over %d small files: %.0f files/s (%lld corrupt)\n", kSmallFiles,
              kSmallFiles / files, static_cast<long long>(corrupt));

  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
