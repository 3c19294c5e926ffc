#pragma once

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>
#include <map>

#include "device/info/FmPresetList.h"
#include "device/info/PlayerInformation.h"
#include "ui/BlockProgressBar.h"

namespace tonvault::ui {

// The player's own information on the sheet "NJB - Settings": owner and
// clock, device info, storage, sound formats, the radio presets of a
// Nomad II, and the buttons that refresh, format and clean up.
class PlayerInfoPanel : public QWidget {
  Q_OBJECT
 public:
  PlayerInfoPanel(catalogue::Application& app, device::DeviceSession& session, device::PlayerContent& content,
                  QWidget* parent = nullptr);

  device::PlayerInformation& Information() { return information_; }
  // "&Load / Refresh", and the user opening the sheet.
  void Refresh();
  // "&Format Nomad II" (also the tool bar's).
  void FormatNomadII();
  // Shows what only a Nomad II has.
  void ShowNomadIIItems(bool shown);
  QLabel* Field(const QString& caption) const { return fields_.at(caption); }
  QGroupBox* FmGroup() const { return fm_; }
  QSpinBox* MHzSpinner() const { return mhz_; }
  QSpinBox* HundredthsSpinner() const { return hundredths_; }
  QTreeWidget* FmList() const { return fmList_; }

 signals:
  void AboutRequested();

 private:
  QWidget* OwnerTime();
  QWidget* DeviceInfo();
  QWidget* StorageInfo();
  QWidget* FmSettings();
  QWidget* Buttons();
  QLabel* AddField(QWidget* group, QFormLayout* form, const QString& caption);
  void Show();
  void ShowFmList();
  void FmEntrySelected();
  void SpinnerChanged();
  device::PlayerDateTime Clock() const;

  catalogue::Application& app_;
  device::DeviceSession& session_;
  device::PlayerContent& content_;
  device::PlayerInformation information_;
  device::FmPresetList presets_;
  QLineEdit* owner_ = nullptr;
  QDateEdit* date_ = nullptr;
  QTimeEdit* time_ = nullptr;
  std::map<QString, QLabel*> fields_;
  BlockProgressBar* used_ = nullptr;
  QLabel* formats_ = nullptr;
  QGroupBox* fm_ = nullptr;
  QTreeWidget* fmList_ = nullptr;
  QSpinBox* mhz_ = nullptr;
  QSpinBox* hundredths_ = nullptr;
  QLabel* fmValue_ = nullptr;
  QPushButton* format_ = nullptr;
  bool filling_ = false;  // the spinners are being set, not clicked
};

}  // namespace tonvault::ui
