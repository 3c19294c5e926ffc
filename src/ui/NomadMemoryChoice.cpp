#include "ui/NomadMemoryChoice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace tonvault::ui {

NomadMemoryChoice::NomadMemoryChoice(QAction* internal, QAction* external, QWidget* parent)
    : QWidget(parent) {
  setObjectName("NomadMemoryChoice");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 0, 6, 0);
  layout->addWidget(new QLabel(" Nomad II Memory ", this));
  for (QAction* action : {internal, external}) {
    auto* button = new QRadioButton(action->text(), this);
    button->setChecked(action->isChecked());
    layout->addWidget(button);
    connect(button, &QRadioButton::clicked, action, [action] {
      if (!action->isChecked()) action->trigger();
    });
    connect(action, &QAction::toggled, button, &QRadioButton::setChecked);
  }
}

}  // namespace tonvault::ui
