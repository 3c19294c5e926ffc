#include "ui/pages/OptionsPanel.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tonvault::ui {

OptionsPanel::OptionsPanel(catalogue::Options& options, QWidget* parent) : QWidget(parent), options_(options) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FileTypes());
  layout->addWidget(Reading());
  layout->addWidget(TagWriting());
  layout->addWidget(Renaming());
  layout->addWidget(Extracting());
  layout->addWidget(Folders());
  layout->addWidget(WindowAndLists());
  layout->addWidget(PlayerSupport());
  layout->addStretch(1);
  ApplyVbrScan();
}

QCheckBox* OptionsPanel::Box(QWidget* parent, const char* caption, bool& option) {
  auto* box = new QCheckBox(caption, parent);
  box->setChecked(option);
  connect(box, &QCheckBox::toggled, this, [&option](bool on) { option = on; });
  parent->layout()->addWidget(box);
  return box;
}

QSpinBox* OptionsPanel::Spin(QWidget* parent, int& option, int min, int max, int step) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(min, max);
  spin->setSingleStep(step);
  spin->setValue(option);
  connect(spin, &QSpinBox::valueChanged, this, [&option](int value) { option = value; });
  return spin;
}

QWidget* OptionsPanel::FileTypes() {
  auto* group = new QGroupBox(" File types ", this);
  auto* layout = new QHBoxLayout(group);
  Box(group, "MP3", options_.import.mp3);
  Box(group, "MP2", options_.import.mp2);
  Box(group, "WMA", options_.import.wma);
  Box(group, "WAV", options_.import.wav);
  layout->addStretch(1);
  return group;
}

QWidget* OptionsPanel::Reading() {
  auto* group = new QGroupBox(" Reading files ", this);
  new QVBoxLayout(group);
  Box(group, "Read ID3 version 1 tags", options_.import.readId3v1);
  Box(group, "Read ID3 version 2 tags", options_.import.readId3v2);
  scanForVbr_ = Box(group, "Scan files for VBR  (slow)", options_.mp3.scanForVbr);
  readVbrHeader_ = Box(group, "Read VBR-Header  (speeds up VBR-files)", options_.mp3.readVbrHeader);
  fullScan_ = Box(group, "100% Scan for corrupted frames  (very slow)", options_.mp3.fullScan);
  connect(scanForVbr_, &QCheckBox::toggled, this, &OptionsPanel::ApplyVbrScan);
  connect(readVbrHeader_, &QCheckBox::toggled, this, &OptionsPanel::ApplyVbrScan);
  auto* numbers = new QFormLayout;
  numbers->addRow("Errors in MP3 files tolerated", Spin(group, options_.mp3.errorsTolerated, 0, 100, 2));
  numbers->addRow("Constant bitrate after (sec)", Spin(group, options_.mp3.cbrSeconds, 1, 15, 1));
  static_cast<QVBoxLayout*>(group->layout())->addLayout(numbers);
  return group;
}

QWidget* OptionsPanel::TagWriting() {
  auto* group = new QGroupBox(" Writing tags ", this);
  new QVBoxLayout(group);
  Box(group, "Keep original file date", options_.id3.keepOriginalFileDate);
  auto* numbers = new QFormLayout;
  numbers->addRow("Extra space in new ID3V2-Tags", Spin(group, options_.id3.extraSpace, 0, 1000, 25));
  static_cast<QVBoxLayout*>(group->layout())->addLayout(numbers);
  return group;
}

QLineEdit* OptionsPanel::Edit(QWidget* parent, std::string& option) {
  auto* edit = new QLineEdit(QString::fromStdString(option), parent);
  connect(edit, &QLineEdit::textChanged, this, [&option](const QString& text) { option = text.toStdString(); });
  return edit;
}

QWidget* OptionsPanel::VersionChoice(QWidget* parent, const char* title, int& option) {
  auto* group = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(group);
  for (int version = 0; version < 2; ++version) {
    auto* button = new QRadioButton(version == 0 ? "Version 1" : "Version 2", group);
    button->setChecked(option == version);
    connect(button, &QRadioButton::toggled, this, [&option, version](bool on) {
      if (on) option = version;
    });
    row->addWidget(button);
  }
  return group;
}

QWidget* OptionsPanel::Renaming() {
  catalogue::RenameOptions& rename = options_.rename;
  auto* group = new QGroupBox(" Rename files ", this);
  auto* column = new QVBoxLayout(group);
  auto* standard = new QWidget(group);
  auto* form = new QFormLayout(standard);
  form->setContentsMargins(0, 0, 0, 0);
  substitute_ = Edit(standard, rename.substitute);
  substitute_->setMaxLength(1);
  connect(substitute_, &QLineEdit::textChanged, this, &OptionsPanel::GuardSubstitute);
  form->addRow("Substitute character", substitute_);
  form->addRow("Separator", Edit(standard, rename.separator));
  form->addRow("Track digits", Spin(standard, rename.trackDigits, 1, 4, 1));
  auto* advancedSheet = new QWidget(group);
  auto* advancedForm = new QFormLayout(advancedSheet);
  advancedForm->setContentsMargins(0, 0, 0, 0);
  advancedForm->addRow("Format", Edit(advancedSheet, rename.format));
  auto* advanced = new QPushButton("Advanced Renaming", group);
  advanced->setCheckable(true);
  advanced->setChecked(rename.advanced);
  const auto showSheet = [standard, advancedSheet](bool down) {
    standard->setVisible(!down);
    advancedSheet->setVisible(down);
  };
  connect(advanced, &QPushButton::toggled, this, [&rename, showSheet](bool down) {
    rename.advanced = down;
    showSheet(down);
  });
  showSheet(rename.advanced);
  column->addWidget(VersionChoice(group, " Use ID3-Tag version ", rename.tagVersion));
  column->addWidget(standard);
  column->addWidget(advancedSheet);
  column->addWidget(advanced);
  return group;
}

QWidget* OptionsPanel::Extracting() {
  catalogue::RenameOptions& rename = options_.rename;
  auto* group = new QGroupBox(" Extract tags from file names ", this);
  auto* column = new QVBoxLayout(group);
  auto* form = new QFormLayout;
  const char* captions[] = {"Separator 1", "Separator 2", "Separator 3"};
  for (std::size_t i = 0; i < 3; ++i) form->addRow(captions[i], Edit(group, rename.extractSeparators[i]));
  column->addLayout(form);
  Box(group, "Override existing items", rename.extractOverride);
  column->addWidget(VersionChoice(group, " To ID3-Tag version ", rename.extractTagVersion));
  return group;
}

void OptionsPanel::GuardSubstitute() {
  if (catalogue::IsValidSubstitute(substitute_->text().toStdString())) return;
  emit Refused();
  const QSignalBlocker blocker(substitute_);
  substitute_->setText("_");
  options_.rename.substitute.assign(1, '_');
}

QWidget* OptionsPanel::Folders() {
  auto* group = new QGroupBox(" Paths ", this);
  new QVBoxLayout(group);
  Box(group, "Remember last path of TXT-export", options_.paths.rememberTxt);
  Box(group, "Remember last path of HTML-export", options_.paths.rememberHtml);
  Box(group, "Remember last path of TVD-files", options_.paths.rememberTvd);
  Box(group, "Remember last import path", options_.import.rememberImportPath);
  return group;
}

QWidget* OptionsPanel::WindowAndLists() {
  auto* group = new QGroupBox(" Window ", this);
  new QVBoxLayout(group);
  Box(group, "Remember last window position and size", options_.window.remember);
  Box(group, "Don't ask for save on exit", options_.dontAskForSaveOnExit);
  auto* row = new QHBoxLayout;
  fontSize_ = Spin(group, options_.window.listFontSize, 6, 12, 1);
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
  QCheckBox* off = Box(group, "Switch off NJB support", options_.njbSupportOff);
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
