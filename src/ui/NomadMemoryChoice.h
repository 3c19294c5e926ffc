#pragma once

#include <QAction>
#include <QWidget>

namespace tonvault::ui {

// The " Nomad II Memory " choice on the Nomad II tool bar, one row as high
// as the tool buttons: a caption and two radio buttons that trigger the "Internal" and "External" commands and follow
// their checked state, so the choice and the tool buttons always agree.
class NomadMemoryChoice : public QWidget {
 public:
  NomadMemoryChoice(QAction* internal, QAction* external, QWidget* parent = nullptr);
};

}  // namespace tonvault::ui
