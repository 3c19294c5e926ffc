#pragma once

#include <QWidget>

namespace tonvault::ui {

// The labels beside the frame picture: i × largest bitrate / 8 at the
// height of grid line i, for i = 0 to 8.
class BitrateScale : public QWidget {
  Q_OBJECT
 public:
  explicit BitrateScale(QWidget* parent = nullptr);
  void SetLargestBitrate(int kbps);
  // The picture's height and its top within this widget, so the labels
  // line up with its grid.
  void Align(int pictureTop, int pictureHeight);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int largest_ = 0;
  int pictureTop_ = 0;
  int pictureHeight_ = 0;
};

}  // namespace tonvault::ui
