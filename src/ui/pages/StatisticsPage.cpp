#include "ui/pages/StatisticsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <string_view>

#include "ui/DragScroll.h"
#include "views/Statistics.h"

namespace tonvault::ui {

using S = catalogue::StatisticsData;

StatisticsPage::StatisticsPage(catalogue::Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  auto* outer = new QVBoxLayout(this);
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  DragScroll::Install(scroll);
  outer->addWidget(scroll);
  auto* content = new QWidget(scroll);
  scroll->setWidget(content);
  // Two columns: the counting groups one above the other, then the codecs
  // above the histogram. Side by side they fit the default window width.
  auto* columns = new QHBoxLayout(content);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  columns->addStretch(1);
  // Room for the longest figures ("100.000     100,0 %", "12.345 MByte").
  const int valueWidth = fontMetrics().horizontalAdvance("100.000     100,0 %") + 8;

  struct Group {
    const char* title;
    std::vector<std::pair<const char*, std::string S::*>> rows;
  };
  const Group groups[] = {
      {" Files ", {{"Tracks", &S::tracks}, {"Albums", &S::albums}, {"Artists", &S::artists}, {"Genres", &S::genres}}},
      {" Summary ",
       {{"Length", &S::length}, {"av. Length", &S::averageLength}, {"Filesize", &S::fileSize},
        {"av. Filesize", &S::averageFileSize}, {"av. Bitrate", &S::averageBitrate}}},
      {" CBR / VBR ", {{"CBR", &S::cbr}, {"VBR", &S::vbr}, {"unknown", &S::unknownRate}, {"corrupt", &S::corrupt}}},
      {" ID3 - Tags ",
       {{"none", &S::noTag}, {"Vers. 1", &S::id3v1}, {"Vers. 2", &S::id3v2}, {"Vers. 1 + 2", &S::id3v1And2},
        {"NJB", &S::player}}},
      {" Codec ",
       {{"MPEG 1  Layer 1", &S::mpeg1Layer1}, {"MPEG 1  Layer 2", &S::mpeg1Layer2}, {"MPEG 1  Layer 3", &S::mpeg1Layer3},
        {"MPEG 2 and 2.5  Layer 1", &S::mpeg2Layer1}, {"MPEG 2 and 2.5  Layer 2", &S::mpeg2Layer2},
        {"MPEG 2 and 2.5  Layer 3", &S::mpeg2Layer3}, {"unknown MP3", &S::unknownMp3}, {"WMA", &S::wma},
        {"WAV + NVF", &S::wavNvf}}},
  };
  for (const Group& group : groups) {
    auto* box = new QGroupBox(group.title, content);
    auto* form = new QFormLayout(box);
    for (const auto& [caption, value] : group.rows) {
      auto* label = new QLabel(box);
      label->setMinimumWidth(valueWidth);
      form->addRow(QString(caption), label);
      figures_.push_back({caption, value, label});
    }
    (std::string_view(group.title) == " Codec " ? right : left)->addWidget(box);
  }
  auto* histogramBox = new QGroupBox(" Bitrate ", content);
  auto* histogramLayout = new QVBoxLayout(histogramBox);
  histogram_ = new HistogramWidget(app_.statistics, histogramBox);
  histogramLayout->addWidget(histogram_);
  auto* zoom = new QHBoxLayout;
  auto* zoomIn = new QPushButton("Zoom in", histogramBox);
  auto* zoomOut = new QPushButton("Zoom out", histogramBox);
  zoom->addWidget(zoomIn);
  zoom->addWidget(zoomOut);
  zoom->addStretch(1);
  histogramLayout->addLayout(zoom);
  connect(zoomIn, &QPushButton::clicked, this, [this] {
    views::ZoomIn(app_.statistics);
    histogram_->update();
  });
  connect(zoomOut, &QPushButton::clicked, this, [this] {
    views::ZoomOut(app_.statistics);
    histogram_->update();
  });
  right->addWidget(histogramBox);
  left->addStretch(1);
  right->addStretch(1);
}

void StatisticsPage::Reload() {
  for (const Figure& figure : figures_) figure.label->setText(QString::fromStdString(app_.statistics.*figure.value));
  histogram_->update();
}

QString StatisticsPage::FigureText(const QString& caption) const {
  for (const Figure& figure : figures_) {
    if (figure.caption == caption) return figure.label->text();
  }
  return {};
}

}  // namespace tonvault::ui
