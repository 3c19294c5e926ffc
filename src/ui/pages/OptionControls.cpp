#include "ui/pages/OptionControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QRadioButton>

namespace tonvault::ui {

QCheckBox* OptionControls::Check(QWidget* parent, const QString& caption, bool& option) {
  auto* box = new QCheckBox(caption, parent);
  Bind(box, option);
  return box;
}

QCheckBox* OptionControls::Box(QWidget* parent, const QString& caption, bool& option) {
  QCheckBox* box = Check(parent, caption, option);
  if (parent->layout() != nullptr) parent->layout()->addWidget(box);
  return box;
}

void OptionControls::Bind(QCheckBox* box, bool& option) {
  box->setChecked(option);
  auto& twins = boxes_[&option];
  std::erase_if(twins, [](const QPointer<QCheckBox>& twin) { return twin.isNull(); });
  twins.emplace_back(box);
  connect(box, &QCheckBox::toggled, this, [this, &option](bool on) {
    option = on;
    // Setting a twin to the state it has already emits nothing, so this ends.
    for (const QPointer<QCheckBox>& twin : boxes_[&option]) {
      if (twin) twin->setChecked(on);
    }
  });
}

QSpinBox* OptionControls::Spin(QWidget* parent, int& option, int min, int max, int step) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(min, max);
  spin->setSingleStep(step);
  spin->setValue(option);
  connect(spin, &QSpinBox::valueChanged, this, [&option](int value) { option = value; });
  return spin;
}

QLineEdit* OptionControls::Edit(QWidget* parent, std::string& option) {
  auto* edit = new QLineEdit(QString::fromStdString(option), parent);
  connect(edit, &QLineEdit::textChanged, this, [&option](const QString& text) { option = text.toStdString(); });
  return edit;
}

QWidget* OptionControls::VersionChoice(QWidget* parent, const char* title, int& option) {
  auto* group = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(group);
  for (int version = 0; version < 2; ++version) {
    auto* button = new QRadioButton(version == 0 ? "1" : "2", group);
    button->setChecked(option == version);
    connect(button, &QRadioButton::toggled, this, [&option, version](bool on) {
      if (on) option = version;
    });
    row->addWidget(button);
  }
  return group;
}

}  // namespace tonvault::ui
