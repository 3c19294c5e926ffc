#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <vector>

#include "catalogue/Application.h"

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

// The Settings page. This version holds the export settings; the other
// options of the program arrive with the settings file.
class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  SettingsPage(catalogue::Application& app, QWidget* parent = nullptr);
  PrintOrderList* FilesOrder() const { return filesOrder_; }

 private:
  catalogue::Application& app_;
  PrintOrderList* filesOrder_;
  PrintOrderList* viewsOrder_;
};

}  // namespace tonvault::ui
