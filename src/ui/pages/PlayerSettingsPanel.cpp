#include "ui/pages/PlayerSettingsPanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/QtDialogs.h"

namespace tonvault::ui {

PlayerSettingsPanel::PlayerSettingsPanel(catalogue::Options& options, OptionControls& controls,
                                         catalogue::Frontend& frontend, QWidget* parent)
    : QWidget(parent), options_(options), controls_(controls), frontend_(frontend) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(Session());
  layout->addWidget(PlayerChoice());
  layout->addStretch(1);
}

QWidget* PlayerSettingsPanel::Session() {
  auto* group = new QGroupBox(" NJB Session ", this);
  auto* grid = new QGridLayout(group);
  catalogue::NjbOptions& njb = options_.njb;
  int row = 0;
  // One row: a caption (a check box or a label), a spin box, its unit; the
  // hint on all three.
  const auto addRow = [&](QWidget* caption, QSpinBox* spin, const char* unit, const char* hint) {
    auto* unitLabel = new QLabel(unit, group);
    for (QWidget* widget : {caption, static_cast<QWidget*>(spin), static_cast<QWidget*>(unitLabel)}) {
      widget->setToolTip(hint);
    }
    grid->addWidget(caption, row, 0);
    grid->addWidget(spin, row, 1);
    grid->addWidget(unitLabel, row, 2);
    ++row;
    return std::vector<QWidget*>{caption, spin, unitLabel};
  };
  stopAfter_ = controls_.Check(group, "Stop NJB after", njb.stopAfter);
  QSpinBox* stopMinutes = controls_.Spin(group, njb.stopMinutes, 0, 60, 1);
  auto stopRow = addRow(stopAfter_, stopMinutes, "min", "Stops spinning the NJB harddisk after xx minutes");
  QSpinBox* timeout = controls_.Spin(group, njb.shutdownTimeout, 2, 20, 1);
  auto timeoutRow = addRow(new QLabel("Shutdown Timeout", group), timeout, "min",
                           "Timeout on NJB Stop/Shutdown  (Default = 5 min)");
  addRow(new QLabel("CPU sleep on transfer", group), controls_.Spin(group, njb.cpuSleep, 0, 200, 10), "msec",
         "Higher numbers decrease CPU usage but cause slower file transfer  (Default 0)");
  pauseEvery_ = controls_.Check(group, "Pause every", njb.uploadPause);
  QSpinBox* pauseTracks = controls_.Spin(group, njb.uploadPauseTracks, 0, 1000, 25);
  addRow(pauseEvery_, pauseTracks, "tracks", "Disconnect / Reconnect NJB  (prevents NJB-lockups)");
  // The session applies both rests to a Nomad Jukebox only; say so beside them.
  // Two fixed lines: a wrapped label in this grid is not given the height
  // of its second line.
  auto* restNote =
      new QLabel("\"Stop NJB after\" and \"Pause every\" rest a Nomad Jukebox's disk;\nother players need no rest.", group);
  grid->addWidget(restNote, row++, 0, 1, 4);
  QSpinBox* minFree = controls_.Spin(group, njb.minFree, 20, 500, 20);
  const QString freeHint = DisplayText(
      "Making a NJB too full can cause that it\n\rhangs at PREPARING LIBRARY forever.\n\r\r"
      "In this case the only solution is FORMAT  :-(\n\r\rDownload stops at this value.\n\r"
      "100+ MegaBytes left free is recomended.");
  auto freeRow = addRow(new QLabel("Minimal free space", group), minFree, "MB", "");
  for (QWidget* widget : freeRow) widget->setToolTip(freeHint);
  modifyTracks_ = controls_.Check(group, "Modify \"copy resistant\" tracks", njb.modifyTracks);
  modifyTracks_->setToolTip(DisplayText(
      "The NJB does not like some tracks.\n\r\rTonvault adds 8 useless bytes at the end\n\rof the track, that normally helps."));
  grid->addWidget(modifyTracks_, row++, 0, 1, 3);
  jukeboxItems_.insert(jukeboxItems_.end(), freeRow.begin(), freeRow.end());
  jukeboxItems_.push_back(modifyTracks_);
  jukeboxItems_.insert(jukeboxItems_.end(), stopRow.begin(), stopRow.end());
  jukeboxItems_.insert(jukeboxItems_.end(), timeoutRow.begin(), timeoutRow.end());

  for (QCheckBox* box : {stopAfter_, pauseEvery_}) {
    connect(box, &QCheckBox::clicked, this, &PlayerSettingsPanel::StopCheckBoxClicked);
  }
  for (QSpinBox* spin : {stopMinutes, pauseTracks}) {
    connect(spin, &QSpinBox::valueChanged, this, &PlayerSettingsPanel::StopMinutesChanged);
  }
  auto* buttons = new QHBoxLayout;
  auto* stopNow = new QPushButton("Stop &NJB now", group);
  auto* switchOff = new QPushButton("Switch off NJ&B", group);
  connect(stopNow, &QPushButton::clicked, this, &PlayerSettingsPanel::StopNowClicked);
  connect(switchOff, &QPushButton::clicked, this, &PlayerSettingsPanel::SwitchOffClicked);
  buttons->addWidget(stopNow);
  buttons->addWidget(switchOff);
  buttons->addStretch(1);
  jukeboxItems_.push_back(stopNow);
  jukeboxItems_.push_back(switchOff);
  grid->addLayout(buttons, row, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  return group;
}

QWidget* PlayerSettingsPanel::PlayerChoice() {
  auto* group = new QGroupBox(" Player ", this);
  auto* column = new QVBoxLayout(group);
  auto* choices = new QButtonGroup(group);
  const char* captions[] = {
      "Automatic: a Nomad Jukebox on USB, else a player folder found on removable media",
      "This player folder (a mounted player, memory card or phone):",
      "Simulated Nomad Jukebox  (a demonstration only: no real player is used)",
      "Simulated Nomad II  (a demonstration only: no real player is used)",
  };
  for (int choice = 0; choice < 4; ++choice) {
    auto* radio = new QRadioButton(captions[choice], group);
    radio->setChecked(options_.device.player == choice);
    choices->addButton(radio, choice);
    column->addWidget(radio);
    if (choice != 1) continue;
    auto* folderRow = new QHBoxLayout;
    folderRow->setContentsMargins(20, 0, 0, 0);
    folder_ = controls_.Edit(group, options_.device.folder);
    auto* browse = new QPushButton("&Browse...", group);
    connect(browse, &QPushButton::clicked, this, &PlayerSettingsPanel::ChooseFolder);
    connect(folder_, &QLineEdit::editingFinished, this, &PlayerSettingsPanel::PlayerChoiceChanged);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    column->addLayout(folderRow);
  }
  connect(choices, &QButtonGroup::idClicked, this, [this](int choice) {
    options_.device.player = choice;
    emit PlayerChoiceChanged();
  });
  return group;
}

void PlayerSettingsPanel::ChooseFolder() {
  const auto chosen = frontend_.ChooseFolder("Player folder", options_.device.folder);
  if (!chosen) return;
  folder_->setText(QString::fromStdString(*chosen));
  options_.device.folder = *chosen;
  emit PlayerChoiceChanged();
}

void PlayerSettingsPanel::ShowJukeboxItems(bool shown) {
  for (QWidget* widget : jukeboxItems_) widget->setVisible(shown);
}

}  // namespace tonvault::ui
