#pragma once

// A main window shown on the offscreen platform, for the tests of what the
// window shows and does.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "QtTestApp.h"
#include "ui/MainWindow.h"
#include "ui/pages/SettingsPage.h"

namespace tonvault::ui {

class ShownWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::QtTestApp();
    window = std::make_unique<MainWindow>();
    window->show();
    QApplication::processEvents();
  }
  SettingsPage* Settings() const { return static_cast<SettingsPage*>(window->PageWidget(catalogue::Page::Settings)); }

  std::unique_ptr<MainWindow> window;
};

}  // namespace tonvault::ui
