// Settings file speed: reading every key of a complete file into the
// options and writing them back, against the floor of parsing the same text
// and printing it again. The read runs once at start-up and the write once
// at exit; the target is that neither is noticeable (under 5 ms).
#include <cstdio>

#include "BenchTiming.h"
#include "QuietSession.h"
#include "catalogue/Settings.h"

int main() {
  using namespace tonvault;
  bench::QuietSession session;
  for (int n = 0; n < 10; ++n) session.app.recentDatabases.Add("/home/user/Music/catalogue" + std::to_string(n) + ".tvd");
  const std::string text = catalogue::WriteSettings(session.app).Text();

  std::size_t sink = 0;
  const double floor = bench::BestSeconds([&] { sink += catalogue::IniFile::Parse(text).Text().size(); }, 200);
  const double read = bench::BestSeconds(
      [&] {
        bench::QuietSession fresh;
        catalogue::ReadSettings(catalogue::IniFile::Parse(text), fresh.app, {1920, 1080});
      },
      200);
  const double write = bench::BestSeconds([&] { sink += catalogue::WriteSettings(session.app).Text().size(); }, 200);

  std::printf("settings file: %zu bytes\n", text.size());
  std::printf("  floor (parse + print)   %8.1f us\n", floor * 1e6);
  std::printf("  read into the options   %8.1f us  (%.1fx floor)\n", read * 1e6, read / floor);
  std::printf("  write from the options  %8.1f us  (%.1fx floor)\n", write * 1e6, write / floor);
  std::printf("  target: each under 5000 us -> %s\n", read < 5e-3 && write < 5e-3 ? "met" : "NOT met");
  return sink == 0 ? 1 : 0;
}
