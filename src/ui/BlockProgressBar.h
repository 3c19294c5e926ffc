#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

#include "catalogue/Frontend.h"

namespace tonvault::ui {

// The colour of the progress colour table.
QColor ProgressColourOf(catalogue::ProgressColour colour);

// A progress bar with a range and two positions: the part between PosLo and
// PosHi is filled with a gradient from the first to the second colour, the
// rest shows the background colour. An optional label shows PosHi and a
// suffix (" %", " MByte free").
class BlockProgressBar : public QWidget {
  Q_OBJECT
 public:
  explicit BlockProgressBar(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetPositions(int posLo, int posHi);
  void SetColours(QColor first, QColor second);
  void SetBackground(QColor background);
  void SetLabelSuffix(const QString& suffix);  // empty string: no label
  void SetLabelVisible(bool visible);

  int PosLo() const { return posLo_; }
  int PosHi() const { return posHi_; }
  int Maximum() const { return maximum_; }
  QColor FirstColour() const { return first_; }
  QColor SecondColour() const { return second_; }
  const QString& LabelSuffix() const { return suffix_; }

  QSize sizeHint() const override { return {200, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int XOf(int position, int width) const;

  int minimum_ = 0;
  int maximum_ = 300;
  int posLo_ = 0;
  int posHi_ = 0;
  QColor first_{0, 0, 128};
  QColor second_{0, 255, 255};
  QColor background_;
  QString suffix_;
  bool labelVisible_ = false;
};

// The player page's position bar: reports presses, drags and releases of
// the left mouse button with the x position and the bar's width.
class SeekBar : public BlockProgressBar {
  Q_OBJECT
 public:
  using BlockProgressBar::BlockProgressBar;
  std::function<void(int x, int width)> pressed, moved;
  std::function<void()> released;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tonvault::ui
