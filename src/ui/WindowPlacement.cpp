#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "catalogue/SettingsDefaults.h"

namespace tonvault::ui {

namespace {
constexpr int kUnknown = -9999;
constexpr int kSmallest = 200;  // a remembered size below this is not restored
}  // namespace

catalogue::ScreenSize PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->geometry();
  return {area.width(), area.height()};
}

void PlaceAtDefault(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
  const QSize size(std::min(catalogue::kDefaultWindowWidth, area.width()),
                   std::min(catalogue::kDefaultWindowHeight, area.height()));
  window.resize(size);
  window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void ApplyWindowOptions(QWidget& window, const catalogue::WindowOptions& options) {
  if (!options.remember) return;
  if (options.width >= kSmallest && options.height >= kSmallest) window.resize(options.width, options.height);
  if (options.left != kUnknown && options.top != kUnknown) window.move(options.left, options.top);
}

void StoreWindowOptions(const QWidget& window, catalogue::WindowOptions& options) {
  options.maximized = window.isMaximized();
  const QRect bounds = options.maximized ? window.normalGeometry() : window.frameGeometry();
  if (bounds.width() <= 0 || bounds.height() <= 0) return;  // keep what was read
  options.left = bounds.x();
  options.top = bounds.y();
  options.width = options.maximized ? bounds.width() : window.width();
  options.height = options.maximized ? bounds.height() : window.height();
}

}  // namespace tonvault::ui
