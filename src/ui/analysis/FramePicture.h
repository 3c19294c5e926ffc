#pragma once

#include <QWidget>
#include <vector>

#include "audio/analysis/FrameRecords.h"
#include "ui/analysis/FrameColumns.h"

namespace tonvault::ui {

// The bitrate of every frame record as a vertical line coloured by mode
// (Stereo green, J. Stereo cyan, Mono yellow, Dual Ch. purple), red
// full-height lines at bad places, and eight dotted grid lines. The lines
// come from per-pixel summaries made once per width, so a file of half a
// million frames repaints as fast as a short one at every zoom.
class FramePicture : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kMargin = 5;     // left and right of the plot
  static constexpr int kBaseline = 26;  // above the bottom
  static constexpr int kTopRoom = 14;   // height − 40 is the full scale

  explicit FramePicture(QWidget* parent = nullptr);

  // The records stay owned by the caller and must outlive the next SetRecords.
  void SetRecords(const std::vector<audio::FrameRecord>* records, int largestBitrate, std::int64_t playingSeconds);
  // "HH:mm:ss" of the playing time at x.
  QString TimeAt(int x) const;
  static QColor ModeColour(audio::FrameMode mode);
  // The y of grid line i (0 the baseline, 8 the full scale) for a height.
  static int GridY(int height, int line);

 signals:
  void TimeHovered(const QString& time);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const std::vector<FrameColumn>& Columns();

  const std::vector<audio::FrameRecord>* records_ = nullptr;
  int largestBitrate_ = 0;
  std::int64_t playingSeconds_ = 0;
  std::vector<FrameColumn> columns_;
  bool columnsValid_ = false;
};

}  // namespace tonvault::ui
