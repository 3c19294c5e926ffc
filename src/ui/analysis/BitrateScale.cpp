#include "ui/analysis/BitrateScale.h"

#include <QPainter>

#include "ui/analysis/FramePicture.h"

namespace tonvault::ui {

BitrateScale::BitrateScale(QWidget* parent) : QWidget(parent) {}

void BitrateScale::SetLargestBitrate(int kbps) {
  largest_ = kbps;
  update();
}

void BitrateScale::Align(int pictureTop, int pictureHeight) {
  pictureTop_ = pictureTop;
  pictureHeight_ = pictureHeight;
  update();
}

QSize BitrateScale::sizeHint() const { return {fontMetrics().horizontalAdvance("0000") + 10, 200}; }

void BitrateScale::paintEvent(QPaintEvent*) {
  if (largest_ <= 0) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const int half = fontMetrics().height() / 2;
  for (int line = 0; line <= 8; ++line) {
    const int y = pictureTop_ + FramePicture::GridY(pictureHeight_, line);
    painter.drawText(QRect(0, y - half, width() - 4, 2 * half), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(line * largest_ / 8));
  }
}

}  // namespace tonvault::ui
