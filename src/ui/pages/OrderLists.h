#pragma once

#include <QListWidget>
#include <array>
#include <string>
#include <vector>

#include "catalogue/Frontend.h"
#include "catalogue/Options.h"

namespace tonvault::ui {

// A list whose rows are dragged into order; after every drop the order
// shown is taken into the options, with the list's separator rule.
class OrderList : public QListWidget {
  Q_OBJECT
 public:
  explicit OrderList(catalogue::Frontend& frontend, QWidget* parent = nullptr);
  virtual void ShowItems() = 0;
  // Takes the order shown into the options; beeps when the separator rule
  // had to move a row back.
  void TakeOrder();

 protected:
  void dropEvent(QDropEvent* event) override;
  // Stores the rows shown; returns true when the rule moved one back.
  virtual bool StoreOrder() = 0;

 private:
  catalogue::Frontend& frontend_;
};

// A column list for the exports; the separator never stays in the first
// two rows.
class PrintOrderList : public OrderList {
  Q_OBJECT
 public:
  PrintOrderList(catalogue::Frontend& frontend, std::vector<catalogue::PrintItem>& items, QWidget* parent = nullptr);
  void ShowItems() override;

 protected:
  bool StoreOrder() override;

 private:
  std::vector<catalogue::PrintItem>& items_;
};

// The item list of renaming or extracting; the separator never stays in
// the first row.
class ItemOrderList : public OrderList {
  Q_OBJECT
 public:
  ItemOrderList(catalogue::Frontend& frontend, std::array<std::string, catalogue::kItemRows>& rows,
                QWidget* parent = nullptr);
  void ShowItems() override;

 protected:
  bool StoreOrder() override;

 private:
  std::array<std::string, catalogue::kItemRows>& rows_;
};

}  // namespace tonvault::ui
