#include "ui/analysis/BitrateHistogram.h"

#include <QPainter>
#include <algorithm>

#include "audio/MpegFrames.h"

namespace tonvault::ui {

BitrateHistogram::BitrateHistogram(QWidget* parent) : QWidget(parent) {}

void BitrateHistogram::SetGroups(const std::vector<audio::FrameGroup>& groups) {
  bars_ = {};
  mixed_ = false;
  const audio::FrameGroup* first = nullptr;
  for (const audio::FrameGroup& group : groups) {
    if (group.IsBad()) continue;
    if (first == nullptr) first = &group;
    if (group.version != first->version || group.layer != first->layer) mixed_ = true;
  }
  empty_ = first == nullptr;
  if (!empty_) {
    for (int index = 1; index <= 14; ++index) {
      bars_[static_cast<std::size_t>(index - 1)].first = audio::BitrateKbps(first->version, first->layer, index);
    }
    for (const audio::FrameGroup& group : groups) {
      for (auto& [bitrate, count] : bars_) {
        if (!group.IsBad() && group.bitrate == bitrate) count += group.count;
      }
    }
  }
  update();
}

void BitrateHistogram::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Text));
  if (empty_) return;
  if (mixed_) {
    painter.drawText(rect(), Qt::AlignCenter, "Different MPEG\nor layer versions !");
    return;
  }
  const int labelWidth = fontMetrics().horizontalAdvance("0000") + 6;
  const int rowHeight = std::max(1, height() / 14);
  std::int64_t most = 1;
  for (const auto& bar : bars_) most = std::max(most, bar.second);
  const int barRoom = width() - labelWidth - 4;
  for (int i = 0; i < 14; ++i) {
    const auto& [bitrate, count] = bars_[static_cast<std::size_t>(i)];
    const int y = i * rowHeight;
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(0, y, labelWidth - 4, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(bitrate));
    const int length = static_cast<int>(count * barRoom / most);
    if (length > 0) painter.fillRect(labelWidth, y + 2, length, std::max(1, rowHeight - 4), QColor(0, 140, 220));
  }
}

}  // namespace tonvault::ui
