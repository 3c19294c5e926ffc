#include "ui/transfer/TransferStatusWindow.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "catalogue/TextFormats.h"

namespace tonvault::ui {

using device::TransferIcon;

namespace {

constexpr int kStateColumn = 6;
const QColor kYellow(255, 255, 0), kLime(0, 255, 0), kAqua(0, 255, 255);

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QIcon TransferStateIcon(TransferIcon icon) {
  static const QColor kColours[] = {QColor(0, 0, 255), QColor(220, 0, 0), QColor(128, 128, 128),
                                    QColor(0, 170, 0), QColor(255, 140, 0), QColor(160, 0, 160)};
  static const char* kMarks[] = {">", "!", "=", "✓", "R", "…"};
  const int index = static_cast<int>(icon);
  if (index < 0 || index > 5) return {};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(kColours[index]);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(1, 1, 14, 14);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf8(kMarks[index]));
  return QIcon(pixmap);
}

TransferStatusWindow::TransferStatusWindow(catalogue::Application& app, std::function<bool()> deviceReady,
                                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      app_(app),
      deviceReady_(std::move(deviceReady)) {
  setWindowTitle(" Transfer Status");
  setMinimumSize(520, 200);
  const auto& placement = app_.options.transferWindow;
  if (placement.width > 0 && placement.height > 0) resize(std::max(placement.width, 520), std::max(placement.height, 200));
  auto* layout = new QVBoxLayout(this);
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({"", "Album", "Artist", "Title", "Filename", "Filesize [kB]", "State"});
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  QFont font = list_->font();
  if (app_.options.window.listFontSize > 0) font.setPointSize(app_.options.window.listFontSize);
  list_->setFont(font);
  for (std::size_t column = 0; column < placement.columnWidths.size(); ++column) {
    if (placement.columnWidths[column] > 0) list_->setColumnWidth(static_cast<int>(column), placement.columnWidths[column]);
  }
  layout->addWidget(list_, 1);
  layout->addWidget(StatusLines());
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(AfterBoxes(), 1);
  button_ = new QPushButton(this);
  connect(button_, &QPushButton::clicked, this, &TransferStatusWindow::ButtonClicked);
  bottom->addWidget(button_, 0, Qt::AlignBottom);
  layout->addLayout(bottom);
  SetRunning(false);
}

QWidget* TransferStatusWindow::StatusLines() {
  auto* lines = new QWidget(this);
  auto* column = new QVBoxLayout(lines);
  column->setContentsMargins(0, 0, 0, 0);
  auto* first = new QHBoxLayout;
  fileBar_ = new BlockProgressBar(lines);
  fileBar_->SetRange(0, 100);
  fileBar_->SetColours(kYellow, kLime);
  fileBar_->SetLabelSuffix(" %");
  fileBar_->SetLabelVisible(true);
  freeBar_ = new BlockProgressBar(lines);
  freeBar_->SetColours(kLime, kAqua);
  freeBar_->SetLabelSuffix(" MByte free");
  freeBar_->SetLabelVisible(true);
  first->addWidget(fileBar_, 1);
  first->addWidget(freeBar_, 1);
  column->addLayout(first);
  auto* second = new QHBoxLayout;
  for (QLabel*& counter : counters_) {
    counter = new QLabel(lines);
    counter->setFrameShape(QFrame::Panel);
    counter->setFrameShadow(QFrame::Sunken);
    second->addWidget(counter, 1);
  }
  column->addLayout(second);
  return lines;
}

QWidget* TransferStatusWindow::AfterBoxes() {
  auto* group = new QGroupBox(" After transfer finished ", this);
  auto* row = new QHBoxLayout(group);
  const auto& options = app_.options.transferWindow;
  beep_ = new QCheckBox("Beep", group);
  beep_->setChecked(options.beep);
  stopNjb_ = new QCheckBox("Stop NJB", group);
  stopNjb_->setChecked(options.stopNjb);
  switchOff_ = new QCheckBox("Switch Off NJB", group);
  switchOff_->setChecked(options.njbOff);
  auto& stored = app_.options.transferWindow;
  connect(beep_, &QCheckBox::toggled, this, [&stored](bool on) { stored.beep = on; });
  connect(stopNjb_, &QCheckBox::toggled, this, [&stored](bool on) { stored.stopNjb = on; });
  connect(switchOff_, &QCheckBox::toggled, this, [&stored](bool on) { stored.njbOff = on; });
  for (QCheckBox* box : {beep_, stopNjb_, switchOff_}) row->addWidget(box);
  row->addStretch(1);
  return group;
}

void TransferStatusWindow::Open(const std::vector<device::TransferRow>& rows, bool nomadII) {
  list_->clear();
  for (const device::TransferRow& row : rows) {
    auto* item = new QTreeWidgetItem(list_, {QString(), Text(row.album), Text(row.artist), Text(row.title),
                                             Text(row.fileName), Text(row.sizeKb), Text(row.state)});
    item->setIcon(0, TransferStateIcon(row.icon));
    item->setTextAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
  }
  stopNjb_->setVisible(!nomadII);
  switchOff_->setVisible(!nomadII);
  if (nomadII) {
    stopNjb_->setChecked(false);
    switchOff_->setChecked(false);
  }
  percent_ = 0;
  SetPercent(0, false);
  SetFreeSpace(freeBar_->Maximum(), freeMb_);
  SetRunning(true);
  if (!isVisible()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
    show();
  }
}

void TransferStatusWindow::SetState(std::size_t row, const std::string& state, TransferIcon icon) {
  QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(row));
  if (!item) return;
  item->setText(kStateColumn, Text(state));
  item->setIcon(0, TransferStateIcon(icon));
  list_->scrollToItem(item);
}

void TransferStatusWindow::SetCounters(const device::TransferCounters& counters) {
  counters_[0]->setText(QString::number(counters.done) + "  of  " + QString::number(counters.total) + "  Files");
  counters_[1]->setText(Text(catalogue::FormatThousands(counters.doneKb)) + "  of  " +
                        Text(catalogue::FormatThousands(counters.totalKb)) + "  kBytes");
  counters_[2]->setText(QString::number(counters.errors) + "  Errors");
}

void TransferStatusWindow::SetPercent(int percent, bool stopPending) {
  percent_ = percent;
  fileBar_->SetPositions(0, percent);
  fileBar_->SetLabelSuffix(stopPending ? " %  (Stop)" : " %");
}

void TransferStatusWindow::SetFreeSpace(std::int64_t totalMb, std::int64_t freeMb) {
  freeMb_ = freeMb;
  freeBar_->SetRange(0, static_cast<int>(std::clamp<std::int64_t>(totalMb, 0, INT32_MAX)));
  freeBar_->SetPositions(0, static_cast<int>(std::clamp<std::int64_t>(freeMb, 0, INT32_MAX)));
}

void TransferStatusWindow::ShowAgain() {
  if (!isVisible()) show();
}

device::AfterTransfer TransferStatusWindow::AfterTransferChoice() const {
  return {beep_->isChecked(), stopNjb_->isChecked(), switchOff_->isChecked()};
}

void TransferStatusWindow::Finish(bool modal) {
  SetRunning(false);
  if (!modal) return;
  hide();
  exec();
}

void TransferStatusWindow::SetRunning(bool running) {
  running_ = running;
  button_->setText(running ? "&Stop transfer" : "&Close window");
  button_->setToolTip(running ? "Stops after transfer of actual file" : "Closes window and stops transfer");
}

void TransferStatusWindow::ShowStopLabel() { SetPercent(percent_, app_.stopRequest); }

void TransferStatusWindow::ButtonClicked() {
  if (running_) {
    app_.stopRequest = !app_.stopRequest;
    ShowStopLabel();
    if (deviceReady_ && !deviceReady_()) SetRunning(false);
    return;
  }
  close();
}

void TransferStatusWindow::closeEvent(QCloseEvent* event) {
  app_.stopRequest = true;
  ShowStopLabel();
  if (app_.transferToPlayerInProgress || app_.transferFromPlayerInProgress) {
    event->ignore();
    return;
  }
  auto& stored = app_.options.transferWindow;
  for (int column = 0; column < list_->columnCount(); ++column) {
    stored.columnWidths[static_cast<std::size_t>(column)] = list_->columnWidth(column);
  }
  stored.width = width();
  stored.height = height();
  QDialog::closeEvent(event);
}

void TransferStatusWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window like its button (a stop request), never silently.
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tonvault::ui
