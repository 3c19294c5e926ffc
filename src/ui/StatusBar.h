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

// How wide panel 0 is for a text that needs `needed` pixels in a status
// bar `statusWidth` wide: its own 100 pixels when the text fits, else
// wide enough for the text, leaving panel 1 and a progress bar of
// `keepForProgress` pixels their room. A text still too wide is elided.
int MessagePanelWidth(int needed, int statusWidth, int keepForProgress);

// The status bar: three text panels (widths 100, 100, 50) and the main
// progress bar (range 0..300) placed by ProgressBarGeometry after the first
// two. Panel 0 carries the messages: one that does not fit widens it (the
// progress bar moves right), and one that does not fit even then is shown
// elided with the whole text as its tooltip. Panels 1 and 2 elide likewise.
class StatusBar : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kProgressRoom = 80;  // the least a widened panel 0 leaves the progress bar

  explicit StatusBar(QWidget* parent = nullptr);

  void SetPanelText(int panel, const QString& text);
  // The whole text, also when the panel shows it elided.
  QString PanelText(int panel) const;
  QLabel* Panel(int panel) const { return panels_.at(static_cast<std::size_t>(panel)); }
  BlockProgressBar* Progress() const { return progress_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Relayout();

  static constexpr std::array<int, 3> kPanelWidths = {100, 100, 50};
  std::array<QLabel*, 3> panels_{};
  std::array<QString, 3> texts_{};
  BlockProgressBar* progress_;
};

}  // namespace tonvault::ui
