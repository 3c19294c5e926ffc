#include "ui/StatusIcons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace tonvault::ui {

namespace {

struct IconLook {
  QColor fill;
  QString text;
};

// Each code gets a small badge: the colour tells the kind at a glance
// (red for corrupt files), the letters say which tags or which device.
bool LookFor(int code, IconLook& look) {
  switch (code) {
    case 7: look = {QColor(150, 150, 150), "-"}; return true;
    case 8: look = {QColor(70, 130, 200), "1"}; return true;
    case 9: look = {QColor(60, 160, 90), "2"}; return true;
    case 10: look = {QColor(120, 90, 180), "12"}; return true;
    case 12: look = {QColor(210, 30, 30), "!"}; return true;
    case 20: look = {QColor(230, 140, 20), "J"}; return true;
    case 21: look = {QColor(40, 110, 160), "W"}; return true;
    case 27: look = {QColor(60, 130, 110), "PL"}; return true;
    case 28: look = {QColor(70, 130, 200), "M"}; return true;
    case 29: look = {QColor(110, 110, 60), "~"}; return true;
    case 30: look = {QColor(180, 100, 20), "P"}; return true;
    case 33: look = {QColor(130, 130, 130), "D"}; return true;
    case 35: look = {QColor(180, 60, 60), "P"}; return true;
    case 37: look = {QColor(200, 120, 40), "I"}; return true;
    case 38: look = {QColor(200, 120, 40), "E"}; return true;
    case 39: look = {QColor(90, 60, 140), "V"}; return true;
    default: return false;
  }
}

QIcon Paint(const IconLook& look) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(look.fill.darker(140));
  painter.setBrush(look.fill);
  painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  QFont font = painter.font();
  font.setPixelSize(look.text.size() > 1 ? 8 : 11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, look.text);
  return QIcon(pixmap);
}

}  // namespace

QIcon StatusIconFor(int code) {
  static QHash<int, QIcon> cache;
  if (auto found = cache.constFind(code); found != cache.constEnd()) return *found;
  IconLook look;
  const QIcon icon = LookFor(code, look) ? Paint(look) : QIcon();
  cache.insert(code, icon);
  return icon;
}

}  // namespace tonvault::ui
