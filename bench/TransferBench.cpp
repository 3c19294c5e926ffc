// Sending files to a folder player and receiving them back, through the
// code the headless tool runs for `tonvault-cli player send` and
// `tonvault-cli player get` (called in this process, with the tool's own
// options: nothing is turned off), and Quick Copy to the player through the
// Quick Copy page's command with a fresh program's settings. Every figure
// stands beside `cp` + `sync` and `rsync` + `sync` of the same files into a
// fresh folder on the same file system, measured in the same run:
//   a. 200 songs of 3 to 10 MB with cover art, each way; target 1.5x cp + sync
//   b. 2,000 short files (20 to 90 KB), each way; target 3x cp + sync
//   c. the time per short file at 500 and at 2,000 files; target: at 2,000
//      within 1.5x of the time at 500
//   d. Quick Copy of 5,000 short files to the player; target 3x cp + sync
// The program syncs every file it places before it names it, so the
// baselines wait for the disk too. The page cache is dropped before every
// timed run when the benchmark may (root); otherwise the output says
// "warm". Baselines are the median of three runs; the program's figures the
// median of three, or of fewer when one run already takes over 10 s (the
// two sizes of c. run in turns). Each file the program places costs several
// fsyncs, so its figures move with the rest of the machine's disk traffic
// far more than one `sync` does: read them with the load printed.
// Exits 1 when a target is missed or a file did not arrive. The optional
// first argument scales every file count, in percent (for a quick look).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "QuietSession.h"
#include "cli/PlayerTransferCommand.h"
#include "device/folder/FolderPlayer.h"
#include "device/quickcopy/QuickCopy.h"
#include "device/session/HeadlessHost.h"
#include "device/transfer/TransferRecord.h"
#include "support/Id3v2Builder.h"
#include "support/MpegSynth.h"

namespace {

using namespace tonvault;
namespace fs = std::filesystem;
using testing::Bytes;

constexpr int kSongs = 200;
constexpr int kShortFiles = 2000;
constexpr int kShortFilesFirst = 500;
constexpr int kQuickCopyFiles = 5000;
constexpr double kSongTarget = 1.5, kShortTarget = 3.0, kGrowthTarget = 1.5, kQuickCopyTarget = 3.0;
constexpr int kRuns = 3;
constexpr double kLongRunMs = 10000;

bool g_cold = false;
bool g_rsync = false;
bool g_missed = false;

// --- the files ---

Bytes Noise(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  for (std::uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  return bytes;
}

// An ID3v2.3 tag as taggers leave it: the usual text frames, a JPEG-typed
// picture when `pictureBytes` is not 0, and 1 KB of padding.
Bytes Tag(const std::string& title, const std::string& artist, const std::string& album, int track,
          std::size_t pictureBytes, std::uint32_t seed) {
  testing::Id3v2Builder tag(3);
  tag.Text("TIT2", title).Text("TPE1", artist).Text("TALB", album).Text("TRCK", std::to_string(track));
  tag.Text("TYER", "2004").Text("TCON", "(17)");
  if (pictureBytes > 0) {
    Bytes picture{0, 'i', 'm', 'a', 'g', 'e', '/', 'j', 'p', 'e', 'g', 0, 3, 0};
    testing::Append(picture, Noise(pictureBytes, seed));
    tag.Frame("APIC", picture);
  }
  tag.Padding(1024);
  return tag.Build();
}

// The tag, then constant-bitrate frames up to `audioBytes`.
void WriteMp3(const std::string& path, const Bytes& tag, int kbps, std::size_t audioBytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(tag.data()), static_cast<std::streamsize>(tag.size()));
  const Bytes frames = testing::Frames(testing::FrameShape{1, 3, kbps, 44100}, 64);
  for (std::size_t written = 0; written < audioBytes; written += frames.size()) {
    out.write(reinterpret_cast<const char*>(frames.data()), static_cast<std::streamsize>(frames.size()));
  }
}

// Full-length songs: 3 to 10 MB at 128 to 320 kbit/s, a cover of 100 to
// 500 KB in every tag, albums of 12 tracks.
std::vector<std::string> WriteSongs(const std::string& folder, int count) {
  fs::create_directories(folder);
  std::vector<std::string> paths;
  for (int n = 0; n < count; ++n) {
    const std::size_t bytes = (3 + static_cast<std::size_t>(n * 7919 % 8)) << 20;
    const std::size_t cover = (100 + static_cast<std::size_t>(n * 31 % 400)) << 10;
    const int kbps = std::array{128, 192, 256, 320}[static_cast<std::size_t>(n % 4)];
    const std::string title = "Song " + std::to_string(n);
    const std::string path = folder + "/" + std::to_string(n / 12 + 1) + "-" + std::to_string(n % 12 + 1) + " " + title + ".mp3";
    const Bytes tag = Tag(title, "Artist " + std::to_string(n / 12 % 9), "Album " + std::to_string(n / 12), n % 12 + 1,
                          cover, static_cast<std::uint32_t>(n));
    WriteMp3(path, tag, kbps, bytes - tag.size());
    paths.push_back(path);
  }
  return paths;
}

// Short clips: 20 to 90 KB at 128 kbit/s (one to six seconds), tagged
// without a picture, albums of 25.
std::vector<std::string> WriteShortFiles(const std::string& folder, int count) {
  fs::create_directories(folder);
  std::vector<std::string> paths;
  for (int n = 0; n < count; ++n) {
    const std::size_t bytes = (20 + static_cast<std::size_t>(n * 37 % 70)) << 10;
    const std::string title = "Clip " + std::to_string(n);
    const std::string path = folder + "/" + title + ".mp3";
    const Bytes tag = Tag(title, "Artist " + std::to_string(n / 25 % 7), "Set " + std::to_string(n / 25), n % 25 + 1, 0, 0);
    WriteMp3(path, tag, 128, bytes - tag.size());
    paths.push_back(path);
  }
  return paths;
}

std::uintmax_t FolderBytes(const std::string& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  return bytes;
}

// --- timing ---

// Writes every dirty page and drops the page cache, so the next run reads
// from the disk; false when the system does not let this process.
bool DropCaches() {
  ::sync();
  const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
  if (fd < 0) return false;
  const bool dropped = ::write(fd, "3\n", 2) == 2;
  ::close(fd);
  return dropped;
}

// The time of `work` after `prepare`, with the cache dropped in between
// (when it can be) and nothing else written but what `work` writes.
double Timed(const std::function<void()>& prepare, const std::function<void()>& work) {
  prepare();
  if (g_cold) {
    DropCaches();
  } else {
    ::sync();
  }
  return bench::Milliseconds(work);
}

struct Figure {
  double ms = 0;
  int runs = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Up to kRuns runs of `run` (which returns its milliseconds); fewer when
// one run is long enough that the machine's noise cannot matter.
Figure Repeated(const std::function<double()>& run, int runs = kRuns) {
  std::vector<double> times;
  double total = 0;
  while (static_cast<int>(times.size()) < runs && (times.empty() || total / static_cast<double>(times.size()) < kLongRunMs)) {
    times.push_back(run());
    total += times.back();
  }
  return {Median(times), static_cast<int>(times.size())};
}

// `cp -r` of a folder into a fresh one, then `sync`.
Figure CpSync(const std::string& from, const std::string& to) {
  const std::string command = "cp -r '" + from + "' '" + to + "' && sync";
  return Repeated([&] {
    return Timed([&] { fs::remove_all(to); }, [&] {
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "transfer_bench: cp failed\n");
    });
  });
}

// `rsync -a` of a folder into a fresh one (each file under a temporary
// name, renamed when complete, as the program does), then `sync`.
std::optional<Figure> RsyncSync(const std::string& from, const std::string& to) {
  if (!g_rsync) return std::nullopt;
  const std::string command = "rsync -a '" + from + "/' '" + to + "/' && sync";
  const Figure figure = Repeated([&] {
    return Timed([&] { fs::remove_all(to); }, [&] {
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "transfer_bench: rsync failed\n");
    });
  });
  fs::remove_all(to);
  return figure;
}

// --- the program ---

// Standard output and standard error of the headless commands, kept
// apart from the figures.
class Captured {
 public:
  Captured() : out_(std::cout.rdbuf(outText_.rdbuf())), err_(std::cerr.rdbuf(errText_.rdbuf())) {}
  ~Captured() {
    std::cout.rdbuf(out_);
    std::cerr.rdbuf(err_);
  }
  Captured(const Captured&) = delete;
  Captured& operator=(const Captured&) = delete;
  std::string Out() const { return outText_.str(); }

 private:
  std::ostringstream outText_, errText_;
  std::streambuf* out_;
  std::streambuf* err_;
};

// What a send or get printed: one JSON line per file.
struct Rows {
  std::vector<int> ids;
  std::size_t done = 0;
};

Rows ReadRows(const std::string& text) {
  Rows rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("\"state\": \"Done\"") != std::string::npos) ++rows.done;
    const std::size_t id = line.find("\"id\": ");
    if (id != std::string::npos) rows.ids.push_back(std::atoi(line.c_str() + id + 6));
  }
  return rows;
}

std::string Player(const std::string& card) { return "folder:" + card; }

struct Transfer {
  Figure time;
  Rows rows;  // of the last run
  int exitCode = 0;
};

cli::Arguments SendArguments(const std::vector<std::string>& files, const std::string& card) {
  cli::Arguments arguments = files;
  arguments.insert(arguments.end(), {"--player", Player(card)});
  return arguments;
}

cli::Arguments GetArguments(const std::vector<int>& ids, const std::string& card, const std::string& folder) {
  cli::Arguments arguments;
  for (const int id : ids) arguments.push_back(std::to_string(id));
  arguments.insert(arguments.end(), {"-o", folder, "--player", Player(card)});
  return arguments;
}

// One run of `tonvault-cli player send FILE... --player folder:CARD` onto
// an empty card, in milliseconds.
double SendOnce(const cli::Arguments& arguments, const std::string& card, Transfer& transfer) {
  std::optional<Captured> captured;
  const double ms = Timed(
      [&] {
        fs::remove_all(card);
        fs::create_directories(card);
      },
      [&] {
        captured.emplace();
        transfer.exitCode = cli::PlayerSend(arguments);
      });
  transfer.rows = ReadRows(captured->Out());
  return ms;
}

// One run of `tonvault-cli player get ID... -o DIR --player folder:CARD`
// into an empty folder.
double ReceiveOnce(const cli::Arguments& arguments, const std::string& folder, Transfer& transfer) {
  std::optional<Captured> captured;
  const double ms = Timed(
      [&] {
        fs::remove_all(folder);
        fs::create_directories(folder);
      },
      [&] {
        captured.emplace();
        transfer.exitCode = cli::PlayerGet(arguments);
      });
  transfer.rows = ReadRows(captured->Out());
  return ms;
}

// `a` and `b` in turns, up to kRuns times each (fewer when a round takes
// over kLongRunMs): when the machine's load changes during the benchmark,
// it weighs on both alike.
std::pair<Figure, Figure> Interleaved(const std::function<double()>& a, const std::function<double()>& b) {
  std::vector<double> as, bs;
  double round = 0;
  while (static_cast<int>(as.size()) < kRuns && round < kLongRunMs) {
    as.push_back(a());
    bs.push_back(b());
    round = as.back() + bs.back();
  }
  const int runs = static_cast<int>(as.size());
  return {{Median(as), runs}, {Median(bs), runs}};
}

// The Quick Copy page in Audio mode: the folder listed in the computer
// pane, every file selected, Copy to the player pressed. Only the copy is
// timed (quick_copy_bench times the listing).
struct QuickCopied {
  Figure time;
  std::size_t done = 0;
};

QuickCopied QuickCopyToPlayer(const std::string& folder, const std::string& card) {
  QuickCopied copied;
  copied.time = Repeated([&] {
    fs::remove_all(card);
    fs::create_directories(card);
    bench::QuietSession session;
    session.app.options.quick.audio = true;
    device::HeadlessHost host;
    device::DeviceSession player(session.app, host, [&card] { return std::make_unique<device::FolderPlayer>(card); });
    device::PlayerContent content(session.app, player);
    device::TransferRecord window;
    window.After().beep = false;
    device::TransferContext context{session.app, player, content, window};
    device::QuickCopy quick(context);
    std::vector<std::size_t> rows;
    const double ms = Timed(
        [&] {
          quick.FillPcPane(folder);
          for (std::size_t n = 0; n < quick.PcRows().size(); ++n) {
            if (!quick.PcRows()[n].folder) rows.push_back(n);
          }
        },
        [&] { quick.CopyToPlayer(rows); });
    copied.done = window.Counters().done - static_cast<std::size_t>(window.Counters().errors);
    player.StopDevice(true, false);
    return ms;
  });
  return copied;
}

// --- the report ---

std::string Runs(const Figure& figure) {
  return figure.runs == 1 ? "1 run" : "median of " + std::to_string(figure.runs);
}

// One line: the program's time, the baselines, the ratio to cp + sync
// against its target (and to rsync + sync, for reference).
void Compare(const std::string& what, const Transfer& transfer, std::size_t expected, const Figure& cp,
             const std::optional<Figure>& rsync, double target) {
  const double ratio = transfer.time.ms / cp.ms;
  std::printf("  %-9s program %9.0f ms (%s)   cp + sync %7.0f ms", what.c_str(), transfer.time.ms,
              Runs(transfer.time).c_str(), cp.ms);
  if (rsync) {
    std::printf("   rsync + sync %7.0f ms", rsync->ms);
  } else {
    std::printf("   rsync + sync skipped (no rsync)");
  }
  std::printf("   %6.2fx cp + sync", ratio);
  if (rsync) std::printf(" (%.2fx rsync)", transfer.time.ms / rsync->ms);
  std::printf("   target <= %.1fx", target);
  const bool arrived = transfer.rows.done == expected && transfer.exitCode == 0;
  if (ratio > target) std::printf("   SLOWER THAN TARGET");
  if (!arrived) std::printf("   FAILED: %zu of %zu arrived", transfer.rows.done, expected);
  std::printf("\n");
  g_missed = g_missed || ratio > target || !arrived;
}

void Growth(const std::string& what, const Figure& first, int firstCount, const Figure& all, int allCount,
            const Figure& cpFirst, const Figure& cpAll) {
  const double perFirst = first.ms / firstCount, perAll = all.ms / allCount;
  const double ratio = perAll / perFirst;
  std::printf("  %-9s program %7.2f ms a file at %d, %7.2f at %d (%s)   cp + sync %5.2f and %5.2f   %5.2fx   target <= "
              "%.1fx%s\n",
              what.c_str(), perFirst, firstCount, perAll, allCount, Runs(all).c_str(), cpFirst.ms / firstCount,
              cpAll.ms / allCount, ratio, kGrowthTarget, ratio > kGrowthTarget ? "   SLOWER THAN TARGET" : "");
  g_missed = g_missed || ratio > kGrowthTarget;
}

int Scaled(int count, int percent) { return std::max(1, count * percent / 100); }

// A folder of files sent to a player and received back, and the
// baselines of both directions.
struct BothWays {
  Transfer send, receive;
  Figure cpTo, cpFrom;
  std::optional<Figure> rsyncTo, rsyncFrom;
};

void Report(const BothWays& both, std::size_t count, double target) {
  Compare("send", both.send, count, both.cpTo, both.rsyncTo, target);
  Compare("receive", both.receive, count, both.cpFrom, both.rsyncFrom, target);
}

// The send baselines (`source` into a fresh folder).
void ToBaselines(const std::string& source, const std::string& copy, BothWays& both) {
  both.cpTo = CpSync(source, copy);
  both.rsyncTo = RsyncSync(source, copy);
}

// The receive baselines (the card's Music folder into a fresh folder).
void FromBaselines(const std::string& card, const std::string& copy, BothWays& both) {
  both.cpFrom = CpSync(card + "/Music", copy);
  both.rsyncFrom = RsyncSync(card + "/Music", copy);
  fs::remove_all(copy);
}

// Each way: the baselines, then the program; repeated while a run is short.
BothWays SongsBothWays(const std::string& source, const std::vector<std::string>& files, const std::string& scratch) {
  const std::string card = scratch + "/card", copy = scratch + "/copy", back = scratch + "/back";
  BothWays both;
  ToBaselines(source, copy, both);
  const cli::Arguments send = SendArguments(files, card);
  both.send.time = Repeated([&] { return SendOnce(send, card, both.send); });
  FromBaselines(card, copy, both);
  const cli::Arguments get = GetArguments(both.send.rows.ids, card, back);
  both.receive.time = Repeated([&] { return ReceiveOnce(get, back, both.receive); });
  fs::remove_all(back);
  fs::remove_all(card);
  return both;
}

// Two sizes of the same kind of files, each way, the program's runs of the
// two sizes taken in turns.
std::pair<BothWays, BothWays> ShortBothWays(const std::string& firstSource, const std::vector<std::string>& firstFiles,
                                            const std::string& allSource, const std::vector<std::string>& allFiles,
                                            const std::string& scratch) {
  const std::string firstCard = scratch + "/card-first", allCard = scratch + "/card-all";
  const std::string firstBack = scratch + "/back-first", allBack = scratch + "/back-all", copy = scratch + "/copy";
  BothWays first, all;
  ToBaselines(firstSource, copy, first);
  ToBaselines(allSource, copy, all);
  const cli::Arguments firstSend = SendArguments(firstFiles, firstCard), allSend = SendArguments(allFiles, allCard);
  std::tie(first.send.time, all.send.time) = Interleaved([&] { return SendOnce(firstSend, firstCard, first.send); },
                                                         [&] { return SendOnce(allSend, allCard, all.send); });
  FromBaselines(firstCard, copy, first);
  FromBaselines(allCard, copy, all);
  const cli::Arguments firstGet = GetArguments(first.send.rows.ids, firstCard, firstBack);
  const cli::Arguments allGet = GetArguments(all.send.rows.ids, allCard, allBack);
  std::tie(first.receive.time, all.receive.time) =
      Interleaved([&] { return ReceiveOnce(firstGet, firstBack, first.receive); },
                  [&] { return ReceiveOnce(allGet, allBack, all.receive); });
  for (const std::string& folder : {firstCard, allCard, firstBack, allBack}) fs::remove_all(folder);
  return {first, all};
}

}  // namespace

int main(int argc, char** argv) {
  const int percent = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 100) : 100;
  const std::string scratch = (fs::temp_directory_path() / "tonvault-transfer-bench").string();
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  g_cold = DropCaches();
  g_rsync = std::system("rsync --version > /dev/null 2>&1") == 0;

  std::string load;
  std::getline(std::ifstream("/proc/loadavg"), load);
  std::printf("transfer to and from a folder player: tonvault-cli player send and get (run in this process\n"
              "with the tool's own options) and the Quick Copy page's copy to the player\n"
              "  page cache: %s\n"
              "  baselines: into a fresh folder on the same file system, median of %d runs%s\n"
              "  program: median of %d runs, or of fewer when a run takes over %.0f s\n"
              "  load average at the start: %s\n",
              g_cold ? "dropped before every run (cold)" : "not dropped, not permitted (warm)", kRuns,
              g_rsync ? "" : "; rsync not installed, its baseline is skipped", kRuns, kLongRunMs / 1000, load.c_str());

  {
    const int count = Scaled(kSongs, percent);
    const std::string songs = scratch + "/songs";
    const std::vector<std::string> files = WriteSongs(songs, count);
    std::printf("a. %d songs, 3-10 MB with cover art (%.0f MB)\n", count, static_cast<double>(FolderBytes(songs)) / 1048576);
    std::fflush(stdout);
    Report(SongsBothWays(songs, files, scratch), files.size(), kSongTarget);
    fs::remove_all(songs);
  }

  {
    const int firstCount = Scaled(kShortFilesFirst, percent), allCount = Scaled(kShortFiles, percent);
    const std::string firstSource = scratch + "/short-first", allSource = scratch + "/short-all";
    const std::vector<std::string> firstFiles = WriteShortFiles(firstSource, firstCount);
    const std::vector<std::string> allFiles = WriteShortFiles(allSource, allCount);
    std::printf("b. %d short files, 20-90 KB (%.0f MB)\n", allCount,
                static_cast<double>(FolderBytes(allSource)) / 1048576);
    std::fflush(stdout);
    const auto [first, all] = ShortBothWays(firstSource, firstFiles, allSource, allFiles, scratch);
    Report(all, allFiles.size(), kShortTarget);
    std::printf("c. growth: the short files' time per file at %d and at %d files\n", firstCount, allCount);
    Growth("send", first.send.time, firstCount, all.send.time, allCount, first.cpTo, all.cpTo);
    Growth("receive", first.receive.time, firstCount, all.receive.time, allCount, first.cpFrom, all.cpFrom);
    if (first.send.rows.done != firstFiles.size() || first.receive.rows.done != firstFiles.size()) {
      std::printf("  FAILED: of %d files %zu sent, %zu received\n", firstCount, first.send.rows.done,
                  first.receive.rows.done);
      g_missed = true;
    }
    fs::remove_all(firstSource);
    fs::remove_all(allSource);
  }
  std::fflush(stdout);

  {
    const int count = Scaled(kQuickCopyFiles, percent);
    const std::string folder = scratch + "/quick", card = scratch + "/card", copy = scratch + "/copy";
    const std::vector<std::string> files = WriteShortFiles(folder, count);
    std::printf("d. Quick Copy of %d short files to the player (%.0f MB)\n", count,
                static_cast<double>(FolderBytes(folder)) / 1048576);
    std::fflush(stdout);
    const Figure cp = CpSync(folder, copy);
    const std::optional<Figure> rsync = RsyncSync(folder, copy);
    fs::remove_all(copy);
    const QuickCopied copied = QuickCopyToPlayer(folder, card);
    Transfer transfer;
    transfer.time = copied.time;
    transfer.rows.done = copied.done;
    Compare("copy", transfer, files.size(), cp, rsync, kQuickCopyTarget);
  }
  fs::remove_all(scratch);
  return g_missed ? 1 : 0;
}
