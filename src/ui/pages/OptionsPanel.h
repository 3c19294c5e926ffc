#pragma once

#include <QCheckBox>
#include <QSpinBox>
#include <QWidget>

#include "catalogue/Options.h"
#include "ui/pages/OptionControls.h"

namespace tonvault::ui {

// The general option groups of the Settings page: file types, reading
// files and the MP3 scan, remembered folders, the window and the lists,
// the player support. Commands read the options, not the controls.
class OptionsPanel : public QWidget {
  Q_OBJECT
 public:
  OptionsPanel(catalogue::Options& options, OptionControls& controls, QWidget* parent = nullptr);
  QCheckBox* ScanForVbrBox() const { return scanForVbr_; }
  QCheckBox* ReadVbrHeaderBox() const { return readVbrHeader_; }
  QCheckBox* FullScanBox() const { return fullScan_; }
  QSpinBox* ListFontSizeSpin() const { return fontSize_; }

 signals:
  void ListFontSizeChanged(int size);
  void NjbSupportChanged();

 private:
  QWidget* FileTypes();
  QWidget* Reading();
  QWidget* Folders();
  QWidget* WindowAndLists();
  QWidget* PlayerSupport();
  // With the VBR scan off, the header and the full scan are off and locked.
  void ApplyVbrScan();

  catalogue::Options& options_;
  OptionControls& controls_;
  QCheckBox* scanForVbr_ = nullptr;
  QCheckBox* readVbrHeader_ = nullptr;
  QCheckBox* fullScan_ = nullptr;
  QSpinBox* fontSize_ = nullptr;
};

}  // namespace tonvault::ui
