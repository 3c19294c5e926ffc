#include "ui/DragScroll.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace tonvault::ui {

void DragScroll::Install(QScrollArea* area) { new DragScroll(area); }

DragScroll::DragScroll(QScrollArea* area) : QObject(area), area_(area) {
  area->viewport()->installEventFilter(this);
}

bool DragScroll::ShowsAScrollBar() const {
  return area_->verticalScrollBar()->isVisible() || area_->horizontalScrollBar()->isVisible();
}

bool DragScroll::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
    return QObject::eventFilter(watched, event);
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint position = mouse->globalPosition().toPoint();
  if (type == QEvent::MouseButtonPress) {
    if (mouse->button() != Qt::LeftButton || mouse->modifiers() != Qt::NoModifier || !ShowsAScrollBar()) return false;
    dragging_ = true;
    last_ = position;
    area_->viewport()->setCursor(Qt::ClosedHandCursor);
    return true;
  }
  if (!dragging_) return false;
  if (type == QEvent::MouseMove) {
    const QPoint moved = position - last_;
    last_ = position;
    area_->horizontalScrollBar()->setValue(area_->horizontalScrollBar()->value() - moved.x());
    area_->verticalScrollBar()->setValue(area_->verticalScrollBar()->value() - moved.y());
    return true;
  }
  if (mouse->button() == Qt::LeftButton) {
    dragging_ = false;
    area_->viewport()->unsetCursor();
  }
  return true;
}

}  // namespace tonvault::ui
