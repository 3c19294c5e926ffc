#include "ui/StatusBar.h"

#include <QResizeEvent>
#include <algorithm>

namespace tonvault::ui {

namespace {
// Frame, indent and a little air around a panel's text.
constexpr int kTextPadding = 14;
}  // namespace

QRect ProgressBarGeometry(int statusWidth, int statusHeight, int panel0Width, int panel1Width) {
  const int left = panel0Width + panel1Width + 4;
  return {left, 4, std::max(0, statusWidth - panel0Width - panel1Width - 16), std::max(0, statusHeight - 6)};
}

int MessagePanelWidth(int needed, int statusWidth, int keepForProgress) {
  const int most = std::max(100, statusWidth - 100 - keepForProgress);
  return std::clamp(needed, 100, most);
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), progress_(new BlockProgressBar(this)) {
  setSizeGripEnabled(false);
  setMinimumHeight(24);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
    panels_[i] = label;
  }
  progress_->SetRange(0, 300);
  Relayout();
}

void StatusBar::SetPanelText(int panel, const QString& text) {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return;
  texts_[static_cast<std::size_t>(panel)] = text;
  Relayout();
}

QString StatusBar::PanelText(int panel) const { return texts_.at(static_cast<std::size_t>(panel)); }

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  Relayout();
}

void StatusBar::Relayout() {
  const int height = std::max(minimumHeight(), this->height());
  const QFontMetrics metrics(panels_[0]->font());
  std::array<int, 3> widths = kPanelWidths;
  widths[0] = MessagePanelWidth(metrics.horizontalAdvance(texts_[0]) + kTextPadding, width(), kProgressRoom);
  int left = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    QLabel* label = panels_[i];
    const QString& text = texts_[i];
    const int room = widths[i] - kTextPadding;
    const bool fits = metrics.horizontalAdvance(text) <= room;
    label->setText(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
    label->setToolTip(fits ? QString() : text);
    label->setGeometry(left, 2, widths[i], height - 3);
    left += widths[i];
  }
  progress_->setGeometry(ProgressBarGeometry(width(), height, widths[0], widths[1]));
}

}  // namespace tonvault::ui
