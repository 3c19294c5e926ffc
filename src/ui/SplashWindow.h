#pragma once

#include <QWidget>
#include <cstdint>

namespace tonvault::ui {

// The borderless window shown while the program starts.
class SplashWindow : public QWidget {
  Q_OBJECT
 public:
  SplashWindow();
  // Shows it centred on the screen and paints it at once.
  void ShowNow();
  // The whole second of the tick count when it appeared.
  std::int64_t ShownSecond() const { return shownSecond_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::int64_t shownSecond_ = 0;
};

}  // namespace tonvault::ui
