#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTreeWidget>
#include <map>
#include <memory>

#include "catalogue/Application.h"
#include "device/playback/PlaybackControl.h"
#include "ui/BlockProgressBar.h"

namespace tonvault::ui {

// The page "NJB Player": the Jukebox's play history and queue, the playback
// buttons, the position bar and the " Audio Settings ". A player that
// cannot play shows that sentence instead of the controls.
class PlayerPage : public QWidget {
  Q_OBJECT
 public:
  PlayerPage(catalogue::Application& app, device::DeviceSession& session, QWidget* parent = nullptr);

  device::PlaybackControl& Control() { return control_; }
  // The user opened the page: the player is opened and read.
  void Opened();
  QTreeWidget* QueueList() const { return queue_; }
  QPushButton* Button(const QString& caption) const;
  QLabel* CannotPlayLabel() const { return cannotPlay_; }

 signals:
  void HelpRequested(int context);

 private:
  QWidget* Controls();
  QWidget* AudioSettings();
  QWidget* SliderRow(QWidget* parent, device::SoundSetting setting, int low, int high);
  QComboBox* ChoiceBox(QWidget* parent, device::SoundSetting setting);
  // Shows what the control holds now.
  void Show();
  void ShowSound();

  catalogue::Application& app_;
  device::DeviceSession& session_;
  device::PlaybackControl control_;
  QStackedWidget* stack_ = nullptr;
  QLabel* cannotPlay_ = nullptr;
  QTreeWidget* queue_ = nullptr;
  std::map<QString, QPushButton*> buttons_;
  QPushButton* repeat_ = nullptr;
  SeekBar* bar_ = nullptr;
  QLabel* position_ = nullptr;
  std::map<device::SoundSetting, std::pair<QSlider*, QLabel*>> sliders_;
  std::map<device::SoundSetting, QComboBox*> choices_;
  QCheckBox* eq_ = nullptr;
  bool showing_ = false;  // filling the controls: their signals send nothing
};

}  // namespace tonvault::ui
