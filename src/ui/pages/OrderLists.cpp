#include "ui/pages/OrderLists.h"

#include <QDropEvent>

namespace tonvault::ui {

namespace {
constexpr int kColumnRole = Qt::UserRole + 1;
}  // namespace

OrderList::OrderList(catalogue::Frontend& frontend, QWidget* parent) : QListWidget(parent), frontend_(frontend) {
  setDragDropMode(QAbstractItemView::InternalMove);
  setDefaultDropAction(Qt::MoveAction);
}

void OrderList::TakeOrder() {
  if (StoreOrder()) frontend_.Beep(catalogue::Sound::Default);
  ShowItems();
}

void OrderList::dropEvent(QDropEvent* event) {
  QListWidget::dropEvent(event);
  TakeOrder();
}

PrintOrderList::PrintOrderList(catalogue::Frontend& frontend, std::vector<catalogue::PrintItem>& items,
                               QWidget* parent)
    : OrderList(frontend, parent), items_(items) {
  setMinimumHeight(300);
  ShowItems();
}

void PrintOrderList::ShowItems() {
  clear();
  for (const auto& item : items_) {
    auto* row = new QListWidgetItem(QString::fromStdString(item.caption), this);
    row->setData(kColumnRole, item.column);
  }
}

bool PrintOrderList::StoreOrder() {
  std::vector<catalogue::PrintItem> order;
  for (int i = 0; i < count(); ++i) {
    order.push_back({item(i)->text().toStdString(), item(i)->data(kColumnRole).toInt()});
  }
  const bool moved = catalogue::KeepTwoItemsAboveSeparator(order);
  items_ = std::move(order);
  return moved;
}

ItemOrderList::ItemOrderList(catalogue::Frontend& frontend, std::array<std::string, catalogue::kItemRows>& rows,
                             QWidget* parent)
    : OrderList(frontend, parent), rows_(rows) {
  ShowItems();
  setFixedHeight(sizeHintForRow(0) * count() + 2 * frameWidth() + 4);
}

void ItemOrderList::ShowItems() {
  clear();
  for (const std::string& row : rows_) addItem(QString::fromStdString(row));
}

bool ItemOrderList::StoreOrder() {
  std::array<std::string, catalogue::kItemRows> order;
  for (int i = 0; i < count() && static_cast<std::size_t>(i) < order.size(); ++i) {
    order[static_cast<std::size_t>(i)] = item(i)->text().toStdString();
  }
  const bool moved = catalogue::KeepOneItemAboveSeparator(order);
  rows_ = order;
  return moved;
}

}  // namespace tonvault::ui
