#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>
#include <vector>

#include "catalogue/Frontend.h"
#include "catalogue/Options.h"
#include "ui/pages/OptionControls.h"

namespace tonvault::ui {

// The sheet "NJB - Settings": the session settings of the player with
// their hints, the buttons that stop or switch off the Jukebox now, and the
// choice of the player the program talks to.
class PlayerSettingsPanel : public QWidget {
  Q_OBJECT
 public:
  PlayerSettingsPanel(catalogue::Options& options, OptionControls& controls, catalogue::Frontend& frontend,
                      QWidget* parent = nullptr);

  // Shows or hides what only a Jukebox has ("Stop NJB after", "Shutdown
  // Timeout", "Minimal free space", "Modify \"copy resistant\" tracks" and
  // the two buttons).
  void ShowJukeboxItems(bool shown);
  QCheckBox* StopAfterBox() const { return stopAfter_; }
  QCheckBox* PauseEveryBox() const { return pauseEvery_; }
  QCheckBox* ModifyTracksBox() const { return modifyTracks_; }

 signals:
  void StopNowClicked();
  void SwitchOffClicked();
  // "Stop NJB after" or "Pause every" was clicked.
  void StopCheckBoxClicked();
  // The minutes of "Stop NJB after" or the tracks of "Pause every" changed.
  void StopMinutesChanged();
  void PlayerChoiceChanged();

 private:
  QWidget* Session();
  QWidget* PlayerChoice();
  void ChooseFolder();

  catalogue::Options& options_;
  OptionControls& controls_;
  catalogue::Frontend& frontend_;
  QCheckBox* stopAfter_ = nullptr;
  QCheckBox* pauseEvery_ = nullptr;
  QCheckBox* modifyTracks_ = nullptr;
  QLineEdit* folder_ = nullptr;
  std::vector<QWidget*> jukeboxItems_;
};

}  // namespace tonvault::ui
