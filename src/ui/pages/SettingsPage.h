#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <vector>

#include "catalogue/Application.h"
#include "ui/pages/OptionsPanel.h"

namespace tonvault::ui {

// A column list for the exports: rows are dragged into order; the separator
// never stays in the first two rows.
class PrintOrderList : public QListWidget {
  Q_OBJECT
 public:
  PrintOrderList(catalogue::Application& app, std::vector<catalogue::PrintItem>& items, QWidget* parent = nullptr);
  void ShowItems();
  // Takes the order shown into the settings, enforcing the separator rule.
  void TakeOrder();

 protected:
  void dropEvent(QDropEvent* event) override;

 private:
  catalogue::Application& app_;
  std::vector<catalogue::PrintItem>& items_;
};

// The Settings page: the program's options, the export settings, the
// recent-list buttons and "&Defaults".
class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  SettingsPage(catalogue::Application& app, QWidget* parent = nullptr);
  PrintOrderList* FilesOrder() const { return filesOrder_; }
  OptionsPanel* Options() const { return options_; }
  // "&Defaults": asks, resets the options and asks the window to close.
  void DefaultsClick();

 signals:
  void HelpRequested(int context);
  void CloseRequested();

 private:
  QWidget* Buttons();

  catalogue::Application& app_;
  OptionsPanel* options_;
  PrintOrderList* filesOrder_;
  PrintOrderList* viewsOrder_;
};

}  // namespace tonvault::ui
