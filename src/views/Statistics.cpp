#include "views/Statistics.h"

#include <array>
#include <charconv>

#include "audio/Rounding.h"
#include "catalogue/TextFormats.h"
#include "views/Durations.h"
#include "views/Views.h"

namespace tonvault::views {

using catalogue::Column;
using catalogue::StatisticsData;

namespace {

struct Level {
  long long upTo;
  long long step;
};
constexpr std::array<Level, 16> kLevels = {{{6, 1},
                                            {12, 2},
                                            {30, 5},
                                            {60, 10},
                                            {120, 20},
                                            {300, 50},
                                            {600, 100},
                                            {1200, 200},
                                            {3000, 500},
                                            {6000, 1000},
                                            {12000, 2000},
                                            {30000, 5000},
                                            {60000, 10000},
                                            {120000, 20000},
                                            {300000, 50000},
                                            {-1, 100000}}};

long long NumberOrZero(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

void SetProgress(catalogue::Application& app, int position) { app.frontend.SetProgress(0, position); }

// The counts by kind; each row adds to one counter of each group.
struct Counts {
  long long cbr = 0, vbr = 0, unknownRate = 0, corrupt = 0;
  long long noTag = 0, id3v1 = 0, id3v2 = 0, both = 0, player = 0;
  std::array<long long, 9> mpeg{};  // MPEG 1 L1..L3, MPEG 2/2.5 L1..L3, unknown, WMA, WAV + NVF
};

void CountRate(Counts& counts, const std::string& bitrate) {
  if (Contains(bitrate, "<C")) ++counts.corrupt;
  else if (Contains(bitrate, "C")) ++counts.cbr;
  else if (Contains(bitrate, "V")) ++counts.vbr;
  else ++counts.unknownRate;
}

void CountTag(Counts& counts, int icon) {
  switch (icon) {
    case 7:
    case 12: ++counts.noTag; break;
    case 8: ++counts.id3v1; break;
    case 9: ++counts.id3v2; break;
    case 10: ++counts.both; break;
    case 20:
    case 37:
    case 38: ++counts.player; break;
    default: break;
  }
}

void CountCodec(Counts& counts, const std::string& codec) {
  static const std::pair<std::string_view, int> tests[] = {
      {"M1  L1", 0}, {"M1  L2", 1}, {"M1  L3", 2}, {"M2  L1", 3},   {"M2  L2", 4},   {"M2  L3", 5},
      {"M2.5  L3", 5}, {"M2.5  L1", 3}, {"M2.5  L2", 4}, {"WMA", 7}, {"WAV", 8}, {"NVF", 8}};
  for (const auto& [text, index] : tests) {
    if (Contains(codec, text)) {
      ++counts.mpeg[static_cast<std::size_t>(index)];
      return;
    }
  }
  ++counts.mpeg[6];
}

int ViewCount(catalogue::Application& app, catalogue::ViewKind kind) {
  if (app.viewRebuildNeeded.ForView(kind)) BuildView(app, kind, false);
  return static_cast<int>(app.views[static_cast<std::size_t>(kind)].lines.size());
}

}  // namespace

std::string CountText(long long count, std::size_t rows) {
  const long long tenths = rows == 0 ? 0 : audio::RoundHalfEven(static_cast<double>(count) * 1000.0 / static_cast<double>(rows));
  std::string text = std::to_string(count);
  text += "     ";
  text += std::to_string(tenths / 10);
  if (tenths % 10 != 0) {
    text += ',';
    text += std::to_string(tenths % 10);
  }
  text += " %";
  return text;
}

std::string TotalLengthText(long long seconds) {
  return std::to_string(seconds / 3600) + " h   " + std::to_string(seconds / 60 % 60) + " min   " +
         std::to_string(seconds % 60) + " sec";
}

int HistogramCounter(std::string_view bitrateText) {
  const std::string_view number = bitrateText.substr(0, bitrateText.find(' '));
  long long bitrate = -1;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), bitrate);
  if (number.empty() || error != std::errc() || end != number.data() + number.size()) bitrate = -1;
  const long long counter = bitrate / 5 + 1;
  return static_cast<int>(std::clamp<long long>(counter, 1, catalogue::kHistogramCounters));
}

HistogramScale ScaleFor(long long largestCount, int zoomLevel) {
  for (std::size_t level = 0; level < kLevels.size(); ++level) {
    const bool fits = kLevels[level].upTo < 0 || largestCount <= kLevels[level].upTo;
    if (fits || static_cast<int>(level) == zoomLevel) return {static_cast<int>(level), kLevels[level].step};
  }
  return {15, kLevels.back().step};
}

void ZoomIn(StatisticsData& statistics) {
  statistics.zoomLevel = std::max(0, ScaleFor(statistics.largestCount, statistics.zoomLevel).level - 1);
}

void ZoomOut(StatisticsData& statistics) {
  if (statistics.zoomLevel < 0) return;
  if (statistics.zoomLevel + 1 <= ScaleFor(statistics.largestCount, -1).level) ++statistics.zoomLevel;
}

void ComputeStatistics(catalogue::Application& app) {
  StatisticsData& out = app.statistics;
  catalogue::SetCommandState(app, 0);
  catalogue::StartProgress(app);
  app.stopRequest = false;
  out = StatisticsData{};
  app.frontend.ListsChanged();
  app.frontend.PumpEvents();
  const std::size_t rows = app.files.size();
  out.tracks = std::to_string(rows);
  SetProgress(app, 30);
  if (rows == 0) {
    app.frontend.Beep(catalogue::Sound::Default);
  } else {
    out.albums = std::to_string(ViewCount(app, catalogue::ViewKind::Albums));
    SetProgress(app, 60);
    out.artists = std::to_string(ViewCount(app, catalogue::ViewKind::Artists));
    SetProgress(app, 90);
    out.genres = std::to_string(ViewCount(app, catalogue::ViewKind::Genres));
    SetProgress(app, 120);

    long long seconds = 0, kilobytes = 0;
    Counts counts;
    const catalogue::ColumnMap& map = app.columnMap;
    for (std::size_t i = 0; i < rows; ++i) {
      const catalogue::TrackRecord& row = app.files[i];
      long long length = 0;
      if (ParseTimeOfDay(map.Get(row, Column::Length), length)) seconds += length;
      kilobytes += NumberOrZero(map.Get(row, Column::Size));
      CountRate(counts, map.Get(row, Column::Bitrate));
      CountTag(counts, row.icon);
      CountCodec(counts, map.Get(row, Column::Codec));
      long long& counter = out.histogram[static_cast<std::size_t>(HistogramCounter(map.Get(row, Column::Bitrate)) - 1)];
      out.largestCount = std::max(out.largestCount, ++counter);
      if (i % 25 == 0) app.frontend.PumpEvents();
    }
    out.length = TotalLengthText(seconds);
    out.averageLength = catalogue::FormatLength(static_cast<double>(seconds) / static_cast<double>(rows));
    SetProgress(app, 150);
    out.fileSize = catalogue::FormatThousands(audio::RoundHalfEven(static_cast<double>(kilobytes) / 1024.0)) + " MByte";
    out.averageFileSize =
        catalogue::FormatThousands(audio::RoundHalfEven(static_cast<double>(kilobytes) / static_cast<double>(rows))) +
        " kByte";
    out.averageBitrate =
        seconds < 1 ? "not available"
                    : std::to_string(audio::RoundHalfEven(static_cast<double>(kilobytes) / static_cast<double>(seconds) *
                                                          8.0 * 1.024)) + " kBit/sec";
    SetProgress(app, 180);
    out.cbr = CountText(counts.cbr, rows);
    out.vbr = CountText(counts.vbr, rows);
    out.unknownRate = CountText(counts.unknownRate, rows);
    out.corrupt = CountText(counts.corrupt, rows);
    out.noTag = CountText(counts.noTag, rows);
    out.id3v1 = CountText(counts.id3v1, rows);
    out.id3v2 = CountText(counts.id3v2, rows);
    out.id3v1And2 = CountText(counts.both, rows);
    out.player = CountText(counts.player, rows);
    std::string* codecTexts[] = {&out.mpeg1Layer1, &out.mpeg1Layer2, &out.mpeg1Layer3, &out.mpeg2Layer1, &out.mpeg2Layer2,
                                 &out.mpeg2Layer3, &out.unknownMp3,  &out.wma,         &out.wavNvf};
    for (std::size_t i = 0; i < counts.mpeg.size(); ++i) *codecTexts[i] = CountText(counts.mpeg[i], rows);
    SetProgress(app, 300);
    if (!app.stopRequest) app.viewRebuildNeeded.statistics = false;
  }
  SetProgress(app, 0);
  catalogue::SetCommandState(app, 7);
  app.frontend.ListsChanged();
}

}  // namespace tonvault::views
