#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

#include "catalogue/Options.h"

namespace tonvault::ui {

// The option groups of the Settings page: file types, tag reading, the MP3
// scan, remembered folders, the window and the lists. Every control writes
// its option the moment it changes; commands read the options, not the
// controls.
class OptionsPanel : public QWidget {
  Q_OBJECT
 public:
  OptionsPanel(catalogue::Options& options, QWidget* parent = nullptr);
  QCheckBox* ScanForVbrBox() const { return scanForVbr_; }
  QCheckBox* ReadVbrHeaderBox() const { return readVbrHeader_; }
  QCheckBox* FullScanBox() const { return fullScan_; }
  QSpinBox* ListFontSizeSpin() const { return fontSize_; }
  QLineEdit* SubstituteEdit() const { return substitute_; }

 signals:
  void ListFontSizeChanged(int size);
  void NjbSupportChanged();
  // A value was refused and put back; the window beeps.
  void Refused();

 private:
  QCheckBox* Box(QWidget* parent, const char* caption, bool& option);
  QSpinBox* Spin(QWidget* parent, int& option, int min, int max, int step);
  QWidget* FileTypes();
  QWidget* Reading();
  QWidget* TagWriting();
  QWidget* Renaming();
  QWidget* Extracting();
  QLineEdit* Edit(QWidget* parent, std::string& option);
  QWidget* VersionChoice(QWidget* parent, const char* title, int& option);
  // Puts "_" back, with a beep, when the substitute character could not
  // stand in a file name.
  void GuardSubstitute();
  QWidget* Folders();
  QWidget* WindowAndLists();
  QWidget* PlayerSupport();
  // With the VBR scan off, the header and the full scan are off and locked.
  void ApplyVbrScan();

  catalogue::Options& options_;
  QCheckBox* scanForVbr_ = nullptr;
  QCheckBox* readVbrHeader_ = nullptr;
  QCheckBox* fullScan_ = nullptr;
  QSpinBox* fontSize_ = nullptr;
  QLineEdit* substitute_ = nullptr;
};

}  // namespace tonvault::ui
