#include "ui/HistogramWidget.h"

#include <QPainter>
#include <cmath>

#include "views/Statistics.h"

namespace tonvault::ui {

HistogramWidget::HistogramWidget(catalogue::StatisticsData& statistics, QWidget* parent)
    : QWidget(parent), statistics_(statistics) {}

QColor HistogramWidget::BarColour(int i) {
  if (i <= 15) return QColor(255, std::min(255, 18 * (i - 1)), 0);
  if (i <= 39) return QColor(std::clamp(431 - 11 * i, 0, 255), 255, 0);
  return QColor(0, 255, std::clamp(7 * i - 273, 0, 255));
}

void HistogramWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  const QColor ink = palette().color(QPalette::Text);
  const int originY = height() - kBottom;
  const int top = originY - kGridLines * kGridSpacing;
  const views::HistogramScale scale = views::ScaleFor(statistics_.largestCount, statistics_.zoomLevel);
  statistics_.lastLevel = scale.level;

  QPen dotted(ink, 1, Qt::DotLine);
  painter.setPen(dotted);
  QFont small = painter.font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  painter.setFont(small);
  for (int x = 0; x <= 380; x += 20) {
    painter.setPen(dotted);
    if (x > 0) painter.drawLine(kLeft + x, originY, kLeft + x, top);
    // Labels every 40 pixels: three-digit rates would run into each other.
    if (x % 40 != 0) continue;
    painter.setPen(ink);
    painter.drawText(QRect(kLeft + x - 15, originY + 4, 30, 14), Qt::AlignCenter, QString::number(x));
  }
  for (int line = 0; line <= kGridLines; ++line) {
    const int y = originY - line * kGridSpacing;
    painter.setPen(dotted);
    if (line > 0) painter.drawLine(kLeft, y, kLeft + 380, y);
    painter.setPen(ink);
    painter.drawText(QRect(0, y - 7, kLeft - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(static_cast<long long>(line) * scale.step));
  }
  painter.setPen(QPen(ink, 1));
  painter.drawLine(kLeft, originY, kLeft + 380, originY);
  painter.drawLine(kLeft, originY, kLeft, top);
  painter.drawText(QRect(kLeft, originY + 20, 380, 16), Qt::AlignCenter, "Bitrate [kb/sec]");
  painter.drawText(QRect(4, top - kAbovePlot + 4, 80, 16), Qt::AlignLeft, "Count");

  for (int i = 1; i <= catalogue::kHistogramCounters; ++i) {
    const long long count = statistics_.histogram[static_cast<std::size_t>(i - 1)];
    if (count == 0) continue;
    const int barHeight = static_cast<int>(std::min<long long>(
        std::llround(static_cast<double>(count) * kGridSpacing / static_cast<double>(scale.step)), originY - top));
    painter.fillRect(QRect(5 * i + 36, originY - barHeight, 3, barHeight), BarColour(i));
  }
}

}  // namespace tonvault::ui
