#include "ui/analysis/FramePicture.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace tonvault::ui {

FramePicture::FramePicture(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setToolTip("Red lines = BAD frames");
  setAutoFillBackground(false);
}

void FramePicture::SetRecords(const std::vector<audio::FrameRecord>* records, int largestBitrate,
                              std::int64_t playingSeconds) {
  records_ = records;
  largestBitrate_ = largestBitrate;
  playingSeconds_ = playingSeconds;
  columnsValid_ = false;
  update();
}

QColor FramePicture::ModeColour(audio::FrameMode mode) {
  switch (mode) {
    case audio::FrameMode::Stereo: return QColor(0, 200, 0);
    case audio::FrameMode::JointStereo: return QColor(0, 220, 220);
    case audio::FrameMode::Mono: return QColor(230, 230, 0);
    case audio::FrameMode::DualChannel: return QColor(170, 60, 200);
    case audio::FrameMode::Bad: break;
  }
  return QColor(220, 0, 0);
}

int FramePicture::GridY(int height, int line) {
  return height - kBaseline - line * (height - 40) / 8;
}

QString FramePicture::TimeAt(int x) const {
  const int plot = width() - 2 * kMargin;
  if (plot <= 0) return "00:00:00";
  const int clamped = std::clamp(x - kMargin, 0, plot);
  const std::int64_t seconds = playingSeconds_ * clamped / plot;
  return QString("%1:%2:%3")
      .arg(seconds / 3600, 2, 10, QChar('0'))
      .arg(seconds / 60 % 60, 2, 10, QChar('0'))
      .arg(seconds % 60, 2, 10, QChar('0'));
}

const std::vector<FrameColumn>& FramePicture::Columns() {
  if (!columnsValid_) {
    columns_ = records_ != nullptr ? SummarizeFrames(*records_, width() - 2 * kMargin) : std::vector<FrameColumn>();
    columnsValid_ = true;
  }
  return columns_;
}

void FramePicture::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, Qt::black);
  const int h = height();
  const int baseline = h - kBaseline;
  const auto& columns = Columns();
  const int first = std::max(0, exposed.left() - kMargin);
  const int last = std::min(static_cast<int>(columns.size()) - 1, exposed.right() - kMargin);
  for (int x = first; x <= last; ++x) {
    const FrameColumn& column = columns[static_cast<std::size_t>(x)];
    if (column.bad) {
      painter.setPen(ModeColour(audio::FrameMode::Bad));
      painter.drawLine(x + kMargin, 0, x + kMargin, h);
    } else if (column.hasFrame && largestBitrate_ > 0) {
      painter.setPen(ModeColour(column.mode));
      painter.drawLine(x + kMargin, baseline, x + kMargin,
                       baseline - static_cast<int>(std::int64_t{column.bitrate} * (h - 40) / largestBitrate_));
    }
  }
  painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
  for (int line = 1; line <= 8; ++line) {
    const int y = GridY(h, line);
    painter.drawLine(exposed.left(), y, exposed.right(), y);
  }
  painter.setPen(QColor(150, 150, 150));
  painter.drawLine(exposed.left(), baseline, exposed.right(), baseline);
}

void FramePicture::mouseMoveEvent(QMouseEvent* event) {
  emit TimeHovered(TimeAt(event->position().toPoint().x()));
  QWidget::mouseMoveEvent(event);
}

void FramePicture::resizeEvent(QResizeEvent* event) {
  columnsValid_ = false;
  QWidget::resizeEvent(event);
}

}  // namespace tonvault::ui
