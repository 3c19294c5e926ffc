#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "catalogue/Version.h"

namespace tonvault::ui {

namespace {

void DrawWaveform(QPainter& painter, const QRectF& area) {
  painter.setPen(Qt::NoPen);
  const int bars = 48;
  const double step = area.width() / bars;
  for (int i = 0; i < bars; ++i) {
    const double phase = i * 0.42;
    const double level = 0.25 + 0.75 * std::fabs(std::sin(phase) * std::cos(phase * 0.37));
    const double height = area.height() * level;
    const QRectF bar(area.left() + i * step + step * 0.2, area.center().y() - height / 2, step * 0.6, height);
    painter.setBrush(QColor::fromHsv((200 + i * 2) % 360, 160, 255, 200));
    painter.drawRoundedRect(bar, step * 0.3, step * 0.3);
  }
}

}  // namespace

QPixmap ProgramPicture(QSize size) {
  QPixmap pixmap(size);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, size.height());
  background.setColorAt(0, QColor(18, 32, 64));
  background.setColorAt(1, QColor(8, 12, 28));
  painter.fillRect(pixmap.rect(), background);

  const QRectF full(pixmap.rect());
  DrawWaveform(painter, QRectF(full.width() * 0.08, full.height() * 0.52, full.width() * 0.84, full.height() * 0.34));

  QFont title = painter.font();
  title.setPixelSize(std::max(12, size.height() / 5));
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(QColor(235, 240, 255));
  painter.drawText(QRectF(0, full.height() * 0.1, full.width(), full.height() * 0.3), Qt::AlignCenter, "Tonvault");

  QFont small = painter.font();
  small.setPixelSize(std::max(9, size.height() / 16));
  small.setBold(false);
  painter.setFont(small);
  painter.setPen(QColor(160, 180, 220));
  painter.drawText(QRectF(0, full.height() * 0.36, full.width(), full.height() * 0.14), Qt::AlignCenter,
                   QString("Version %1").arg(QString::fromStdString(catalogue::ProgramVersionText())));
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, side);
    background.setColorAt(0, QColor(30, 56, 110));
    background.setColorAt(1, QColor(8, 12, 28));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(0, 0, side, side), side * 0.18, side * 0.18);
    const double levels[] = {0.35, 0.7, 1.0, 0.6, 0.4};
    const double step = side * 0.8 / 5;
    for (int i = 0; i < 5; ++i) {
      const double height = side * 0.7 * levels[i];
      const QRectF bar(side * 0.1 + i * step + step * 0.15, (side - height) / 2, step * 0.7, height);
      painter.setBrush(QColor::fromHsv(190 + i * 12, 150, 255));
      painter.drawRoundedRect(bar, step * 0.3, step * 0.3);
    }
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tonvault::ui
