#include "ui/pages/FileTransferPanel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "device/transfer/UpdateReceivedTags.h"
#include "ui/QtDialogs.h"

namespace tonvault::ui {

namespace {

constexpr const char* kTolerated =
    "If the MP3 contains more errors then adjusted here,\n\rit is treated as CORRUPT and will not be copied to the NJB.";

}  // namespace

FileTransferPanel::FileTransferPanel(catalogue::Options& options, OptionControls& controls, QWidget* parent)
    : QWidget(parent), options_(options), controls_(controls) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(ToPlayer(), 0, Qt::AlignTop);
  layout->addWidget(FromPlayer(), 0, Qt::AlignTop);
  auto* help = new QPushButton("&Help", this);
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(1900); });
  layout->addWidget(help, 0, Qt::AlignTop);
  layout->addStretch(1);
}

QWidget* FileTransferPanel::Choice(QWidget* parent, const char* title, std::initializer_list<const char*> captions,
                                   int& option, QButtonGroup** made) {
  auto* group = new QGroupBox(title, parent);
  auto* column = new QVBoxLayout(group);
  auto* buttons = new QButtonGroup(group);
  int id = 0;
  for (const char* caption : captions) {
    auto* radio = new QRadioButton(caption, group);
    radio->setChecked(option == id);
    buttons->addButton(radio, id++);
    column->addWidget(radio);
  }
  connect(buttons, &QButtonGroup::idClicked, this, [&option](int chosen) { option = chosen; });
  if (made) *made = buttons;
  return group;
}

QButtonGroup* FileTransferPanel::ExistingFiles(QWidget* parent, int& option) {
  QButtonGroup* made = nullptr;
  parent->layout()->addWidget(Choice(parent, " Existing Files ",
                                     {"Replace always", "Replace never", "Ask", "Replace always  (only this session)"},
                                     option, &made));
  return made;
}

QWidget* FileTransferPanel::ToPlayer() {
  auto* section = new QGroupBox("From PC to NJB", this);
  auto* column = new QVBoxLayout(section);
  toPlayerExisting_ = ExistingFiles(section, options_.download.existingFiles);
  auto* check = new QGroupBox(" Check MP3s before ", section);
  auto* checkColumn = new QVBoxLayout(check);
  QCheckBox* full = controls_.Check(check, "100% Scan for corrupted frames", options_.download.fullCheck);
  full->setToolTip("Checks the whole file for bad frames  (not only VBR files)");
  checkColumn->addWidget(full);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel("Errors in MP3 files tolerated", check);
  QSpinBox* tolerated = controls_.Spin(check, options_.download.errorsTolerated, 0, 100, 2);
  for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(tolerated)}) {
    widget->setToolTip(DisplayText(kTolerated));
  }
  row->addWidget(label);
  row->addWidget(tolerated);
  checkColumn->addLayout(row);
  column->addWidget(check);
  column->addStretch(1);
  return section;
}

QWidget* FileTransferPanel::FromPlayer() {
  auto* section = new QGroupBox("From NJB to PC", this);
  auto* column = new QVBoxLayout(section);
  auto* path = new QGroupBox(" Path ", section);
  (new QVBoxLayout(path))->addWidget(controls_.Check(path, "Remember last path on PC", options_.upload.rememberPath));
  column->addWidget(path);
  fromPlayerExisting_ = ExistingFiles(section, options_.upload.existingFiles);
  column->addWidget(Choice(section, " Renaming Uploaded Files ",
                           {"Keep filename  (from NJB)", "Use settings of ID3-Editor / Rename files"},
                           options_.upload.renaming));
  auto* tags = new QGroupBox(" Update ID3 - Tags  (with info form NJB) ", section);
  auto* tagColumn = new QVBoxLayout(tags);
  id3v1_ = TagUpdateBox(tags, 1, options_.upload.id3v1);
  id3v2_ = TagUpdateBox(tags, 2, options_.upload.id3v2);
  tagColumn->addWidget(id3v1_);
  tagColumn->addWidget(id3v2_);
  column->addWidget(tags);
  column->addStretch(1);
  return section;
}

// A three-state box: cleared (no update), grey (only an existing tag) or
// checked (create the tag); its caption says which.
QCheckBox* FileTransferPanel::TagUpdateBox(QWidget* parent, int version, int& option) {
  auto* box = new QCheckBox(parent);
  box->setTristate(true);
  const auto show = [box, version](int state) {
    box->setText(QString::fromStdString(device::TagUpdateCaption(version, state)));
  };
  static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::PartiallyChecked, Qt::Checked};
  box->setCheckState(kStates[std::clamp(option, 0, 2)]);
  show(option);
  connect(box, &QCheckBox::stateChanged, this, [&option, show](int state) {
    option = state == Qt::Checked ? 2 : state == Qt::PartiallyChecked ? 1 : 0;
    show(option);
  });
  return box;
}

}  // namespace tonvault::ui
