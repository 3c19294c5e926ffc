#pragma once

#include <array>
#include <string>
#include <vector>

namespace tonvault::catalogue {

struct Application;

// The album, artist and genre views: one line per distinct key of FILES.
enum class ViewKind : int { Albums = 0, Artists = 1, Genres = 2 };
inline constexpr int kViewCount = 3;

// One group line; every column is the text the list shows.
struct ViewLine {
  std::string key;
  std::string second;  // Artist (albums), Album (artists), Artist (genres), or "<Various>"
  std::string third;   // Genre, Genre, Album, or "<Various>"
  std::string tracks;
  std::string size;
  std::string length;
  bool selected = false;
};

inline constexpr int kViewColumnCount = 6;

struct ViewData {
  std::vector<ViewLine> lines;
  int sortColumn = -1;  // 0..5; -1 no arrow
  bool sortDescending = false;
};

// Builds a view from FILES; installed by the layer that knows how, so the
// page change can rebuild a view that is out of date.
class ViewBuilder {
 public:
  virtual ~ViewBuilder() = default;
  // Returns true when the build ran to its end (not stopped).
  virtual bool Build(Application& app, ViewKind kind, bool showProgress) = 0;
  // Computes the Statistics page's figures from FILES.
  virtual void ComputeStatistics(Application& app) = 0;
};

}  // namespace tonvault::catalogue

namespace tonvault::catalogue {

inline constexpr int kHistogramCounters = 73;

// The figures of the Statistics page, as the page shows them.
struct StatisticsData {
  std::string tracks, albums, artists, genres;
  std::string length, averageLength, fileSize, averageFileSize, averageBitrate;
  std::string cbr, vbr, unknownRate, corrupt;
  std::string noTag, id3v1, id3v2, id3v1And2, player;
  std::string mpeg1Layer1, mpeg1Layer2, mpeg1Layer3, mpeg2Layer1, mpeg2Layer2, mpeg2Layer3, unknownMp3, wma, wavNvf;
  std::array<long long, kHistogramCounters> histogram{};  // counter i+1 at index i
  long long largestCount = 0;
  int zoomLevel = -1;  // -1: automatic
  int lastLevel = 0;   // the level last drawn
};

}  // namespace tonvault::catalogue
