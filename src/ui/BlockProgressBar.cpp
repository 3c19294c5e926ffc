#include "ui/BlockProgressBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tonvault::ui {

BlockProgressBar::BlockProgressBar(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(8);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BlockProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum + 1, maximum);
  update();
}

void BlockProgressBar::SetPositions(int posLo, int posHi) {
  if (posLo == posLo_ && posHi == posHi_) return;
  posLo_ = posLo;
  posHi_ = posHi;
  update();
}

void BlockProgressBar::SetColours(QColor first, QColor second) {
  first_ = first;
  second_ = second;
  update();
}

void BlockProgressBar::SetBackground(QColor background) {
  background_ = background;
  update();
}

void BlockProgressBar::SetLabelSuffix(const QString& suffix) {
  suffix_ = suffix;
  update();
}

void BlockProgressBar::SetLabelVisible(bool visible) {
  labelVisible_ = visible;
  update();
}

int BlockProgressBar::XOf(int position, int width) const {
  const int clamped = std::clamp(position, minimum_, maximum_);
  return static_cast<int>(static_cast<long long>(clamped - minimum_) * width / (maximum_ - minimum_));
}

void BlockProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(rect(), palette().color(QPalette::Mid));
  painter.fillRect(area, background_.isValid() ? background_ : palette().color(QPalette::Base));

  const int left = area.left() + XOf(std::min(posLo_, posHi_), area.width());
  const int right = area.left() + XOf(std::max(posLo_, posHi_), area.width());
  if (right > left) {
    QLinearGradient gradient(left, 0, right, 0);
    gradient.setColorAt(0, first_);
    gradient.setColorAt(1, second_);
    painter.fillRect(QRect(left, area.top(), right - left, area.height()), gradient);
  }
  if (labelVisible_) {
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area, Qt::AlignCenter, QString::number(posHi_) + suffix_);
  }
}

QColor ProgressColourOf(catalogue::ProgressColour colour) {
  static const QColor colours[] = {QColor(0, 0, 128),   QColor(255, 0, 255), QColor(0, 255, 0), QColor(0, 128, 0),
                                   QColor(128, 0, 0),   QColor(0, 0, 255),   QColor(128, 0, 128),
                                   QColor(255, 0, 0),   QColor(255, 255, 0), QColor(0, 255, 255)};
  return colours[static_cast<int>(colour)];
}

void SeekBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressed) pressed(static_cast<int>(event->position().x()), width());
}

void SeekBar::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) && moved) moved(static_cast<int>(event->position().x()), width());
}

void SeekBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && released) released();
}

}  // namespace tonvault::ui
