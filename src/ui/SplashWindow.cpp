#include "ui/SplashWindow.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "catalogue/StartUp.h"
#include "ui/Artwork.h"

namespace tonvault::ui {

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(420, 240);
}

void SplashWindow::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  shownSecond_ = catalogue::TickMilliseconds() / 1000;
  show();
  repaint();
  QApplication::processEvents();
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, ProgramPicture(size()));
}

}  // namespace tonvault::ui
