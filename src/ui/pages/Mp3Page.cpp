#include "ui/pages/Mp3Page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <iterator>

#include "catalogue/repair/ManualFix.h"
#include "ui/DragScroll.h"

namespace tonvault::ui {

namespace {

using audio::FrameMode;

constexpr int kGroupRole = Qt::UserRole;
const QStringList kCaptions = {"", "Frames", "MPEG", "Layer", "Bitrate", "Frequency", "Mode"};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// A row of the frame list that sorts by check state (first column), by
// number ("Frames" to "Frequency") or by text ("Mode").
class GroupItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
    if (column == 0) return checkState(0) < other.checkState(0);
    if (column == 6) return text(6) < other.text(6);
    return text(column).toDouble() < other.text(column).toDouble();
  }
};

// The mode's icon: two circles for the two-channel modes (overlapping for
// joint stereo), one for mono, a cross for a bad place.
QIcon ModeIcon(FrameMode mode) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor colour = FramePicture::ModeColour(mode);
  painter.setBrush(colour);
  painter.setPen(colour.darker(160));
  switch (mode) {
    case FrameMode::Mono: painter.drawEllipse(4, 4, 8, 8); break;
    case FrameMode::JointStereo:
      painter.drawEllipse(1, 4, 8, 8);
      painter.drawEllipse(6, 4, 8, 8);
      break;
    case FrameMode::Stereo:
    case FrameMode::DualChannel:
      painter.drawEllipse(0, 4, 7, 7);
      painter.drawEllipse(9, 4, 7, 7);
      break;
    case FrameMode::Bad:
      painter.setPen(QPen(colour, 2));
      painter.drawLine(3, 3, 13, 13);
      painter.drawLine(13, 3, 3, 13);
      break;
  }
  return QIcon(pixmap);
}

QLabel* Value(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

Mp3Page::Mp3Page(catalogue::Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  auto* outer = new QVBoxLayout(this);
  BuildTexts(outer);
  BuildListAndFix(outer);
  BuildPictures(outer);
  ShowAnalysis();
}

void Mp3Page::BuildTexts(QVBoxLayout* outer) {
  auto* box = new QGroupBox(this);
  auto* form = new QFormLayout(box);
  fileName_ = Value(box);
  fileName_->setWordWrap(true);
  id3v1_ = Value(box);
  id3v2Length_ = Value(box);
  id3v2Version_ = Value(box);
  firstFrame_ = Value(box);
  badFrames_ = Value(box);
  endSpace_ = Value(box);
  auto* tag2 = new QHBoxLayout;
  tag2->addWidget(id3v2Length_);
  tag2->addSpacing(20);
  tag2->addWidget(id3v2Version_);
  tag2->addStretch(1);
  auto* frames = new QHBoxLayout;
  frames->addWidget(firstFrame_);
  frames->addSpacing(20);
  frames->addWidget(badFrames_);
  frames->addSpacing(20);
  frames->addWidget(endSpace_);
  frames->addStretch(1);
  form->addRow("Filename", fileName_);
  form->addRow("ID3 V1 tag", id3v1_);
  form->addRow("ID3 V2 tag", tag2);
  form->addRow("First valid frame at", frames);
  outer->addWidget(box);
}

void Mp3Page::BuildListAndFix(QVBoxLayout* outer) {
  auto* row = new QHBoxLayout;
  list_ = new QTreeWidget(this);
  list_->setObjectName("MP3ListView");
  list_->setToolTip("Check frames you want to delete");
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels(kCaptions);
  list_->setSortingEnabled(true);
  list_->header()->setSortIndicatorShown(false);
  list_->setMinimumHeight(110);
  connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column != 0) return;
    state_.CheckGroup(item->data(0, kGroupRole).toULongLong(), item->checkState(0) == Qt::Checked);
    UpdateControls();
  });
  connect(list_->header(), &QHeaderView::sectionClicked, this,
          [this] { list_->header()->setSortIndicatorShown(true); });
  row->addWidget(list_, 1);

  auto* box = new QGroupBox(" Fix ", this);
  auto* grid = new QGridLayout(box);
  before_ = new QCheckBox("Delete space before first", box);
  after_ = new QCheckBox("Delete space after last", box);
  frames_ = new QCheckBox("Delete frames checked on", box);
  beforeLabel_ = new QLabel(catalogue::kValidFrame, box);
  afterLabel_ = new QLabel(catalogue::kValidFrame, box);
  keepCopy_ = new QCheckBox("Keep a copy ", box);
  keepDate_ = new QCheckBox("Keep original file date", box);
  fix_ = new QPushButton("&Fix MP3", box);
  grid->addWidget(before_, 0, 0);
  grid->addWidget(beforeLabel_, 0, 1);
  grid->addWidget(after_, 1, 0);
  grid->addWidget(afterLabel_, 1, 1);
  grid->addWidget(frames_, 2, 0, 1, 2);
  grid->addWidget(keepCopy_, 3, 0);
  grid->addWidget(keepDate_, 3, 1);
  grid->addWidget(fix_, 4, 0, 1, 2, Qt::AlignLeft);
  for (auto [box2, option] : {std::pair{before_, &state_.spaceBefore}, std::pair{after_, &state_.spaceAfter},
                              std::pair{frames_, &state_.frames}}) {
    connect(box2, &QCheckBox::toggled, this, [this, option](bool on) {
      option->checked = on;
      UpdateControls();
    });
  }
  connect(keepCopy_, &QCheckBox::toggled, this, [this](bool on) { state_.keepCopy = on; });
  connect(fix_, &QPushButton::clicked, this, &Mp3Page::Fix);
  row->addWidget(box);
  outer->addLayout(row, 1);
}

void Mp3Page::BuildPictures(QVBoxLayout* outer) {
  auto* row = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel("Bitrate  [kBit/sec]", this));
  auto* plot = new QHBoxLayout;
  scale_ = new BitrateScale(this);
  pictureArea_ = new QScrollArea(this);
  pictureArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pictureArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  picture_ = new FramePicture(pictureArea_);
  pictureArea_->setWidget(picture_);
  pictureArea_->setMinimumHeight(180);
  DragScroll::Install(pictureArea_);
  pictureArea_->viewport()->installEventFilter(this);
  plot->addWidget(scale_);
  plot->addWidget(pictureArea_, 1);
  left->addLayout(plot, 1);
  auto* zoomRow = new QHBoxLayout;
  zoomOut_ = new QPushButton("Zoom &out", this);
  zoomIn_ = new QPushButton("Zoom &in", this);
  zoomText_ = new QLabel(this);
  zoomText_->setMinimumWidth(zoomText_->fontMetrics().horizontalAdvance("40  :  1") + 4);
  time_ = new QLabel(this);
  zoomRow->addWidget(zoomOut_);
  zoomRow->addWidget(zoomIn_);
  zoomRow->addWidget(zoomText_);
  zoomRow->addStretch(1);
  zoomRow->addWidget(time_);
  left->addLayout(zoomRow);
  connect(zoomIn_, &QPushButton::clicked, this, [this] { ZoomBy(1); });
  connect(zoomOut_, &QPushButton::clicked, this, [this] { ZoomBy(-1); });
  connect(picture_, &FramePicture::TimeHovered, time_, &QLabel::setText);
  row->addLayout(left, 1);
  histogram_ = new BitrateHistogram(this);
  row->addWidget(histogram_);
  outer->addLayout(row, 2);
}

void Mp3Page::AnalyzeSelected(catalogue::ListId list) {
  const auto& rows = catalogue::Rows(app_, list);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].selected) continue;
    const catalogue::Page back = app_.currentPage;
    catalogue::AnalyzeRow(app_, state_, list, i, back);
    ShowAnalysis();
    return;
  }
}

void Mp3Page::AnalyzePath(const std::string& path) {
  catalogue::AnalyzeFile(app_, state_, path, app_.currentPage);
  ShowAnalysis();
}

void Mp3Page::ShowAnalysis() {
  fileName_->setText(Qs(state_.fileName));
  id3v1_->setText(Qs(state_.id3v1Text));
  id3v2Length_->setText(Qs(state_.id3v2LengthText));
  id3v2Version_->setText(state_.analysis.TagLength() > 0 ? Qs(state_.id3v2VersionText) : QString());
  firstFrame_->setText(Qs(state_.firstFrameText));
  badFrames_->setText(Qs(state_.badFramesText));
  endSpace_->setText(Qs(state_.endSpaceText));
  FillList();
  const auto& frames = state_.analysis.frames;
  picture_->SetRecords(state_.analysed ? &frames.Records() : nullptr, frames.LargestBitrate(),
                       state_.analysis.PlayingSeconds());
  scale_->SetLargestBitrate(frames.LargestBitrate());
  histogram_->SetGroups(frames.Groups());
  time_->clear();
  zoomIndex_ = 0;
  ZoomBy(0);
  UpdateControls();
}

void Mp3Page::FillList() {
  const QSignalBlocker blocker(list_);
  list_->setSortingEnabled(false);
  list_->clear();
  const auto& groups = state_.analysis.frames.Groups();
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const audio::FrameGroup& group = groups[i];
    auto* item = new GroupItem(list_);
    item->setData(0, kGroupRole, static_cast<qulonglong>(i));
    item->setCheckState(0, group.checked ? Qt::Checked : Qt::Unchecked);
    item->setIcon(0, ModeIcon(group.mode));
    item->setText(1, QString::number(group.count));
    item->setText(2, Qs(audio::MpegText(group.version)));
    item->setText(3, QString::number(group.layer));
    item->setText(4, QString::number(group.bitrate));
    item->setText(5, QString::number(group.sampleRate));
    item->setText(6, QString::fromUtf8(audio::FrameModeText(group.mode).data()));
    for (int column = 1; column < 6; ++column) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  list_->setSortingEnabled(true);
  list_->header()->setSortIndicatorShown(false);
  // Room for the sort arrow beside each caption.
  const int arrow = list_->fontMetrics().horizontalAdvance("W");
  for (int column = 0; column < list_->columnCount(); ++column) {
    list_->resizeColumnToContents(column);
    list_->setColumnWidth(column, list_->columnWidth(column) + arrow);
  }
}

void Mp3Page::UpdateControls() {
  const QSignalBlocker b1(before_), b2(after_), b3(frames_), b4(keepCopy_);
  before_->setChecked(state_.spaceBefore.checked);
  before_->setEnabled(state_.spaceBefore.enabled);
  beforeLabel_->setText(Qs(state_.spaceBefore.label));
  after_->setChecked(state_.spaceAfter.checked);
  after_->setEnabled(state_.spaceAfter.enabled);
  afterLabel_->setText(Qs(state_.spaceAfter.label));
  frames_->setChecked(state_.frames.checked);
  frames_->setEnabled(state_.frames.enabled);
  keepCopy_->setChecked(state_.keepCopy);
  fix_->setEnabled(state_.FixEnabled());
}

void Mp3Page::ZoomBy(int steps) {
  const int last = static_cast<int>(std::size(kZoomSteps)) - 1;
  zoomIndex_ = std::clamp(zoomIndex_ + steps, 0, last);
  const int zoom = kZoomSteps[zoomIndex_];
  zoomText_->setText(QString("%1  :  1").arg(zoom));
  zoomIn_->setEnabled(zoomIndex_ < last);
  zoomOut_->setEnabled(zoomIndex_ > 0);
  FitPicture();
}

void Mp3Page::FitPicture() {
  const QSize room = pictureArea_->viewport()->size();
  picture_->setFixedSize(room.width() * kZoomSteps[zoomIndex_], room.height());
  scale_->Align(pictureArea_->geometry().top() - scale_->geometry().top() + pictureArea_->viewport()->y(),
                room.height());
}

bool Mp3Page::eventFilter(QObject* watched, QEvent* event) {
  // The picture is as high as the scroll box and zoom times as wide.
  if (watched == pictureArea_->viewport() && event->type() == QEvent::Resize) FitPicture();
  return QWidget::eventFilter(watched, event);
}

void Mp3Page::Fix() {
  catalogue::FixMp3(app_, state_);
  ShowAnalysis();
}

}  // namespace tonvault::ui
