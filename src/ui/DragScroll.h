#pragma once

#include <QObject>
#include <QPoint>
#include <QScrollArea>

namespace tonvault::ui {

// Drag scrolling of a large scroll box: pressing the left button (no
// modifier) on the box's background while it shows a scroll bar grabs the
// content; moving with the button held scrolls both bars so that the content
// follows the mouse; releasing lets go. Presses on the controls inside work
// as usual, since only presses the controls leave unused reach the box.
class DragScroll : public QObject {
  Q_OBJECT
 public:
  // Installs drag scrolling on `area`; the object lives as long as the area.
  static void Install(QScrollArea* area);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit DragScroll(QScrollArea* area);
  bool ShowsAScrollBar() const;

  QScrollArea* area_;
  bool dragging_ = false;
  QPoint last_;
};

}  // namespace tonvault::ui
