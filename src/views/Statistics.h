#pragma once

#include <string>

#include "catalogue/Application.h"

namespace tonvault::views {

// Computes the Statistics page's figures from the FILES rows (and the three
// views, rebuilt first when out of date) into app.statistics.
void ComputeStatistics(catalogue::Application& app);

// count + "     " + percentage + " %", the percentage rounded to one
// decimal and written with only the decimals it needs ("66,7", "100").
std::string CountText(long long count, std::size_t rows);

// Hours, minutes and seconds of a total: "30 h   0 min   5 sec".
std::string TotalLengthText(long long seconds);

// The histogram counter (1..73) of a Bitrate text.
int HistogramCounter(std::string_view bitrateText);

// The histogram's grid: the level drawn and its step (counts per grid line)
// for the largest counter value; `zoomLevel` -1 is automatic.
struct HistogramScale {
  int level = 0;
  long long step = 1;
};
HistogramScale ScaleFor(long long largestCount, int zoomLevel);

// "Zoom in" and "Zoom out" of the histogram.
void ZoomIn(catalogue::StatisticsData& statistics);
void ZoomOut(catalogue::StatisticsData& statistics);

}  // namespace tonvault::views
