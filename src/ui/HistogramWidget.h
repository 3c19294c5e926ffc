#pragma once

#include <QWidget>

#include "catalogue/ViewData.h"

namespace tonvault::ui {

// The bitrate histogram: origin 40 pixels from the left and from the
// bottom, one pixel per kbit/s, a 3-pixel bar per counter coloured from red
// through yellow and green to cyan, dotted grid lines labelled with the
// bitrate and the count. Drawn in the palette's colours, so it reads on a
// dark theme too.
class HistogramWidget : public QWidget {
  Q_OBJECT
 public:
  // The plot: origin 40 pixels from the left and the bottom, six grid lines
  // 50 pixels apart above it, and room above the top one for its label and
  // the "Count" caption.
  static constexpr int kLeft = 40;
  static constexpr int kBottom = 40;
  static constexpr int kGridLines = 6;
  static constexpr int kGridSpacing = 50;
  static constexpr int kAbovePlot = 30;
  static constexpr int kPlotHeight = kBottom + kGridLines * kGridSpacing + kAbovePlot;

  explicit HistogramWidget(catalogue::StatisticsData& statistics, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {460, kPlotHeight}; }
  QSize minimumSizeHint() const override { return {440, kPlotHeight}; }

  // The colour of counter i (1..73).
  static QColor BarColour(int counter);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  catalogue::StatisticsData& statistics_;
};

}  // namespace tonvault::ui
