#include "ui/pages/PlayerInfoPanel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "device/info/PowerCleanUp.h"
#include "ui/QtDialogs.h"

namespace tonvault::ui {

using device::FmPresetList;

PlayerInfoPanel::PlayerInfoPanel(catalogue::Application& app, device::DeviceSession& session,
                                 device::PlayerContent& content, QWidget* parent)
    : QWidget(parent), app_(app), session_(session), content_(content), information_(app, session, content) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* left = new QVBoxLayout;
  left->addWidget(OwnerTime());
  left->addWidget(DeviceInfo());
  left->addWidget(Buttons());
  left->addStretch(1);
  auto* middle = new QVBoxLayout;
  middle->addWidget(StorageInfo());
  auto* formats = new QGroupBox(" Sound formats ", this);
  formats_ = new QLabel(formats);
  (new QVBoxLayout(formats))->addWidget(formats_);
  middle->addWidget(formats);
  middle->addWidget(FmSettings());
  middle->addStretch(1);
  layout->addLayout(left);
  layout->addLayout(middle);
  ShowNomadIIItems(false);
}

QLabel* PlayerInfoPanel::AddField(QWidget* group, QFormLayout* form, const QString& caption) {
  auto* field = new QLabel(group);
  field->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(caption, field);
  fields_[caption] = field;
  return field;
}

QWidget* PlayerInfoPanel::OwnerTime() {
  auto* group = new QGroupBox(" Owner  /  Time ", this);
  auto* form = new QFormLayout(group);
  owner_ = new QLineEdit(group);
  form->addRow("Owner", owner_);
  date_ = new QDateEdit(group);
  date_->setDisplayFormat("dd.MM.yyyy");
  time_ = new QTimeEdit(group);
  time_->setDisplayFormat("HH:mm:ss");
  // Room for every digit beside the spin arrows.
  for (QDateTimeEdit* edit : {static_cast<QDateTimeEdit*>(date_), static_cast<QDateTimeEdit*>(time_)}) {
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(edit->displayFormat() + "000") + 24);
  }
  auto* clock = new QHBoxLayout;
  clock->addWidget(date_);
  clock->addWidget(time_);
  form->addRow("Date / Time", clock);
  auto* save = new QPushButton("&Save", group);
  save->setToolTip("Saves Owner name and Date / Time");
  auto* sync = new QPushButton("Sync with &PC", group);
  sync->setToolTip("Synchronizes Date / Time with PC-Time and writes Owner name");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save);
  buttons->addWidget(sync);
  form->addRow(buttons);
  connect(save, &QPushButton::clicked, this, [this] {
    information_.Save(owner_->text().toStdString(), Clock());
  });
  connect(sync, &QPushButton::clicked, this, [this] {
    information_.SyncWithPc(owner_->text().toStdString());
    const device::PlayerDateTime& clock = information_.Texts().clock;
    date_->setDate(QDate(clock.year, clock.month, clock.day));
    time_->setTime(QTime(clock.hour, clock.minute, clock.second));
  });
  return group;
}

device::PlayerDateTime PlayerInfoPanel::Clock() const {
  const QDate date = date_->date();
  const QTime time = time_->time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

QWidget* PlayerInfoPanel::DeviceInfo() {
  auto* group = new QGroupBox(" Device info ", this);
  auto* form = new QFormLayout(group);
  for (const char* caption :
       {"JBDirect version", "Serial number", "Firmware version", "Hardware version", "Device name", "Power source"}) {
    AddField(group, form, caption);
  }
  auto* about = new QPushButton("About  &JBDirect", group);
  form->addRow(about);
  connect(about, &QPushButton::clicked, this, &PlayerInfoPanel::AboutRequested);
  return group;
}

QWidget* PlayerInfoPanel::StorageInfo() {
  auto* group = new QGroupBox(" Storage info ", this);
  auto* form = new QFormLayout(group);
  for (const char* caption : {"Total", "", "Free", " "}) AddField(group, form, caption);
  used_ = new BlockProgressBar(group);
  used_->SetRange(0, 100);
  used_->SetLabelSuffix(" %");
  form->addRow("Used", used_);
  for (const char* caption : {"Audio tracks", "Data files", "Playlists"}) AddField(group, form, caption);
  return group;
}

QWidget* PlayerInfoPanel::FmSettings() {
  fm_ = new QGroupBox(" FM - Settings ", this);
  auto* layout = new QVBoxLayout(fm_);
  fmList_ = new QTreeWidget(fm_);
  fmList_->setHeaderLabels({"Nr.", "MHz"});
  fmList_->setRootIsDecorated(false);
  fmList_->header()->setSectionsClickable(true);
  fmList_->header()->setSortIndicatorShown(false);
  layout->addWidget(fmList_, 1);
  auto* spinners = new QHBoxLayout;
  mhz_ = new QSpinBox(fm_);
  mhz_->setRange(87, 108);
  hundredths_ = new QSpinBox(fm_);
  hundredths_->setRange(0, 99);
  fmValue_ = new QLabel(fm_);
  spinners->addWidget(mhz_);
  spinners->addWidget(hundredths_);
  spinners->addWidget(fmValue_);
  layout->addLayout(spinners);
  auto* save = new QPushButton("Save F&M", fm_);
  layout->addWidget(save);
  connect(fmList_, &QTreeWidget::currentItemChanged, this, [this] { FmEntrySelected(); });
  connect(fmList_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    presets_.SortBy(column);
    ShowFmList();
  });
  connect(mhz_, &QSpinBox::valueChanged, this, [this] { SpinnerChanged(); });
  connect(hundredths_, &QSpinBox::valueChanged, this, [this] { SpinnerChanged(); });
  connect(save, &QPushButton::clicked, this, [this] { information_.SaveFm(presets_.Presets()); });
  return fm_;
}

QWidget* PlayerInfoPanel::Buttons() {
  auto* box = new QWidget(this);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* refresh = new QPushButton("&Load / Refresh", box);
  format_ = new QPushButton("&Format Nomad II", box);
  auto* cleanUp = new QPushButton("Power &CleanUp", box);
  cleanUp->setToolTip("Cleans up \"lost\" files on NJB");
  for (QPushButton* button : {refresh, format_, cleanUp}) layout->addWidget(button);
  connect(refresh, &QPushButton::clicked, this, &PlayerInfoPanel::Refresh);
  connect(format_, &QPushButton::clicked, this, &PlayerInfoPanel::FormatNomadII);
  connect(cleanUp, &QPushButton::clicked, this, [this] { device::PowerCleanUp(app_, session_, content_); });
  return box;
}

void PlayerInfoPanel::ShowNomadIIItems(bool shown) {
  format_->setVisible(shown);
  fm_->setVisible(shown && information_.Texts().fmShown);
}

void PlayerInfoPanel::FormatNomadII() {
  information_.FormatNomadII();
  Show();
}

void PlayerInfoPanel::Refresh() {
  information_.Refresh();
  Show();
}

void PlayerInfoPanel::Show() {
  const device::PlayerInformationTexts& texts = information_.Texts();
  owner_->setText(QString::fromStdString(texts.owner));
  date_->setEnabled(texts.clockKnown);
  time_->setEnabled(texts.clockKnown);
  if (texts.clockKnown) {
    date_->setDate(QDate(texts.clock.year, texts.clock.month, texts.clock.day));
    time_->setTime(QTime(texts.clock.hour, texts.clock.minute, texts.clock.second));
  }
  const std::pair<const char*, const std::string*> values[] = {
      {"JBDirect version", &texts.libraryVersion}, {"Serial number", &texts.serialNumber},
      {"Firmware version", &texts.firmware},       {"Hardware version", &texts.hardware},
      {"Device name", &texts.deviceName},          {"Power source", &texts.powerSource},
      {"Total", &texts.totalBytes},                {"", &texts.totalMBytes},
      {"Free", &texts.freeBytes},                  {" ", &texts.freeMBytes},
      {"Audio tracks", &texts.audioLine},          {"Data files", &texts.dataLine},
      {"Playlists", &texts.playlistLine}};
  for (const auto& [caption, value] : values) fields_.at(caption)->setText(QString::fromStdString(*value));
  used_->SetPositions(0, texts.usedPercent);
  formats_->setText(DisplayText(texts.formats));
  presets_.Fill(texts.presets);
  ShowFmList();
  ShowNomadIIItems(session_.DeviceKind() == 2);
  if (texts.fmShown && fmList_->topLevelItemCount() > 0) {
    fmList_->setCurrentItem(fmList_->topLevelItem(0));
    fmList_->setFocus();
  }
}

void PlayerInfoPanel::ShowFmList() {
  const QSignalBlocker blocker(fmList_);
  const int row = fmList_->currentIndex().row();
  fmList_->clear();
  for (const FmPresetList::Entry& entry : presets_.Entries()) {
    new QTreeWidgetItem(fmList_, {QString::number(entry.number), QString::fromStdString(entry.text)});
  }
  if (presets_.SortColumn() >= 0) {
    fmList_->header()->setSortIndicatorShown(true);
    fmList_->header()->setSortIndicator(presets_.SortColumn(),
                                        presets_.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  } else {
    fmList_->header()->setSortIndicatorShown(false);
  }
  if (row >= 0 && row < fmList_->topLevelItemCount()) fmList_->setCurrentItem(fmList_->topLevelItem(row));
}

void PlayerInfoPanel::FmEntrySelected() {
  const int row = fmList_->currentIndex().row();
  if (row < 0) return;
  const auto [mhz, hundredths] = presets_.SpinnersOf(static_cast<std::size_t>(row));
  filling_ = true;
  mhz_->setValue(mhz);
  hundredths_->setValue(hundredths);
  filling_ = false;
  fmValue_->setText(QString::fromStdString(FmPresetList::MHzText(mhz * 100 + hundredths)) + " MHz");
}

void PlayerInfoPanel::SpinnerChanged() {
  const int row = fmList_->currentIndex().row();
  if (filling_ || row < 0) return;
  if (!presets_.SpinnerStep(static_cast<std::size_t>(row), mhz_->value(), hundredths_->value())) {
    FmEntrySelected();  // a step out of the band is refused: the spinners go back
    return;
  }
  fmValue_->setText(QString::fromStdString(presets_.Entries()[static_cast<std::size_t>(row)].text) + " MHz");
  ShowFmList();
}

}  // namespace tonvault::ui
