#pragma once

#include <QApplication>

namespace tonvault::testing {

// One QApplication for the whole test program, created on first use.
inline QApplication& QtTestApp() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace tonvault::testing
