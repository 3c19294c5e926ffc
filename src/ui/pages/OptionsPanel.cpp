#include "ui/pages/OptionsPanel.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tonvault::ui {

OptionsPanel::OptionsPanel(catalogue::Options& options, OptionControls& controls, QWidget* parent)
    : QWidget(parent), options_(options), controls_(controls) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FileTypes());
  layout->addWidget(Reading());
  layout->addWidget(Folders());
  layout->addWidget(WindowAndLists());
  layout->addWidget(PlayerSupport());
  layout->addStretch(1);
  ApplyVbrScan();
}

QWidget* OptionsPanel::FileTypes() {
  auto* group = new QGroupBox(" File types  (also for Quick Copy) ", this);
  auto* layout = new QHBoxLayout(group);
  controls_.Box(group, "MP3", options_.import.mp3);
  controls_.Box(group, "MP2", options_.import.mp2);
  controls_.Box(group, "WMA", options_.import.wma);
  controls_.Box(group, "WAV", options_.import.wav);
  layout->addStretch(1);
  return group;
}

QWidget* OptionsPanel::Reading() {
  auto* group = new QGroupBox(" Reading files ", this);
  auto* column = new QVBoxLayout(group);
  controls_.Box(group, "Read ID3 version 1 tags", options_.import.readId3v1);
  controls_.Box(group, "Read ID3 version 2 tags", options_.import.readId3v2);
  // The scan box with the seconds after which a stream counts as constant bitrate.
  auto* scanRow = new QHBoxLayout;
  scanForVbr_ = controls_.Check(group, "Scan files for VBR  (slow)", options_.mp3.scanForVbr);
  QSpinBox* seconds = controls_.Spin(group, options_.mp3.cbrSeconds, 1, 15, 1);
  auto* unit = new QLabel("sec", group);
  for (QWidget* widget : {static_cast<QWidget*>(seconds), static_cast<QWidget*>(unit)}) {
    widget->setToolTip("Decision whether CBR after x seconds of the song");
  }
  scanRow->addWidget(scanForVbr_);
  scanRow->addWidget(seconds);
  scanRow->addWidget(unit);
  scanRow->addStretch(1);
  column->addLayout(scanRow);
  readVbrHeader_ = controls_.Box(group, "Read VBR-Header  (speeds up VBR-files)", options_.mp3.readVbrHeader);
  fullScan_ = controls_.Box(group, "100% Scan for corrupted frames  (very slow)", options_.mp3.fullScan);
  connect(scanForVbr_, &QCheckBox::toggled, this, &OptionsPanel::ApplyVbrScan);
  connect(readVbrHeader_, &QCheckBox::toggled, this, &OptionsPanel::ApplyVbrScan);
  auto* numbers = new QFormLayout;
  numbers->addRow("Errors in MP3 files tolerated", controls_.Spin(group, options_.mp3.errorsTolerated, 0, 100, 2));
  column->addLayout(numbers);
  return group;
}

QWidget* OptionsPanel::Folders() {
  auto* group = new QGroupBox(" Paths ", this);
  new QVBoxLayout(group);
  controls_.Box(group, "Remember last path of TXT-export", options_.paths.rememberTxt);
  controls_.Box(group, "Remember last path of HTML-export", options_.paths.rememberHtml);
  controls_.Box(group, "Remember last path of TVD-files", options_.paths.rememberTvd);
  controls_.Box(group, "Remember last import path", options_.import.rememberImportPath);
  return group;
}

QWidget* OptionsPanel::WindowAndLists() {
  auto* group = new QGroupBox(" Window ", this);
  new QVBoxLayout(group);
  controls_.Box(group, "Remember last window position and size", options_.window.remember);
  controls_.Box(group, "Don't ask for save on exit", options_.dontAskForSaveOnExit);
  auto* row = new QHBoxLayout;
  fontSize_ = controls_.Spin(group, options_.window.listFontSize, 6, 12, 1);
  connect(fontSize_, &QSpinBox::valueChanged, this, &OptionsPanel::ListFontSizeChanged);
  row->addWidget(new QLabel("Lists font size", group));
  row->addWidget(fontSize_);
  row->addStretch(1);
  static_cast<QVBoxLayout*>(group->layout())->addLayout(row);
  return group;
}

QWidget* OptionsPanel::PlayerSupport() {
  auto* group = new QGroupBox(" NJB ", this);
  new QVBoxLayout(group);
  QCheckBox* off = controls_.Box(group, "Switch off NJB support", options_.njbSupportOff);
  connect(off, &QCheckBox::toggled, this, &OptionsPanel::NjbSupportChanged);
  return group;
}

void OptionsPanel::ApplyVbrScan() {
  const bool scanning = scanForVbr_->isChecked();
  if (!scanning) {
    readVbrHeader_->setChecked(false);
    fullScan_->setChecked(false);
  }
  readVbrHeader_->setEnabled(scanning);
  fullScan_->setEnabled(scanning);
}

}  // namespace tonvault::ui
