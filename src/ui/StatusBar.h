#pragma once

#include <QLabel>
#include <QRect>
#include <QStatusBar>
#include <array>

#include "ui/BlockProgressBar.h"

namespace tonvault::ui {

// Where the progress bar sits in a status bar of the given size: right of
// the first two panels, over the third.
QRect ProgressBarGeometry(int statusWidth, int statusHeight, int panel0Width, int panel1Width);

// The status bar: three text panels (widths 100, 100, 50) and the main
// progress bar (range 0..300) placed by ProgressBarGeometry on every resize.
class StatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit StatusBar(QWidget* parent = nullptr);

  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;
  BlockProgressBar* Progress() const { return progress_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  static constexpr std::array<int, 3> kPanelWidths = {100, 100, 50};
  std::array<QLabel*, 3> panels_{};
  BlockProgressBar* progress_;
};

}  // namespace tonvault::ui
