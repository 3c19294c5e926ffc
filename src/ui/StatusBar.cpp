#include "ui/StatusBar.h"

#include <QResizeEvent>

namespace tonvault::ui {

QRect ProgressBarGeometry(int statusWidth, int statusHeight, int panel0Width, int panel1Width) {
  const int left = panel0Width + panel1Width + 4;
  return {left, 4, std::max(0, statusWidth - panel0Width - panel1Width - 16), std::max(0, statusHeight - 6)};
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), progress_(new BlockProgressBar(this)) {
  setSizeGripEnabled(false);
  setMinimumHeight(24);
  int left = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
    label->setGeometry(left, 2, kPanelWidths[i], 20);
    left += kPanelWidths[i];
    panels_[i] = label;
  }
  progress_->SetRange(0, 300);
}

void StatusBar::SetPanelText(int panel, const QString& text) {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) panels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString StatusBar::PanelText(int panel) const {
  return panels_.at(static_cast<std::size_t>(panel))->text();
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  const int height = event->size().height();
  for (QLabel* label : panels_) label->setGeometry(label->x(), 2, label->width(), height - 3);
  progress_->setGeometry(ProgressBarGeometry(event->size().width(), height, kPanelWidths[0], kPanelWidths[1]));
}

}  // namespace tonvault::ui
