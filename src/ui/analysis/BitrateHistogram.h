#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "audio/analysis/FrameRecords.h"

namespace tonvault::ui {

// The frame count of each of the 14 bitrates of the file's MPEG version and
// layer, as bars; "Different MPEG" / "or layer versions !" when the frame
// list holds more than one version or layer.
class BitrateHistogram : public QWidget {
  Q_OBJECT
 public:
  explicit BitrateHistogram(QWidget* parent = nullptr);
  void SetGroups(const std::vector<audio::FrameGroup>& groups);
  QSize sizeHint() const override { return {220, 200}; }
  QSize minimumSizeHint() const override { return {180, 160}; }

  bool Mixed() const { return mixed_; }
  // Bitrate (kbit/s) and frame count of bitrate index 1..14.
  const std::array<std::pair<int, std::int64_t>, 14>& Bars() const { return bars_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<std::pair<int, std::int64_t>, 14> bars_{};
  bool mixed_ = false;
  bool empty_ = true;
};

}  // namespace tonvault::ui
