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
  explicit HistogramWidget(catalogue::StatisticsData& statistics, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {460, 280}; }
  QSize minimumSizeHint() const override { return {440, 260}; }

  // The colour of counter i (1..73).
  static QColor BarColour(int counter);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  catalogue::StatisticsData& statistics_;
};

}  // namespace tonvault::ui
