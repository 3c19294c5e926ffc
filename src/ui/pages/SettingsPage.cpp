#include "ui/pages/SettingsPage.h"

#include <QDropEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/SettingsDefaults.h"
#include "ui/QtDialogs.h"
#include "ui/WindowPlacement.h"

namespace tonvault::ui {

namespace {
constexpr int kColumnRole = Qt::UserRole + 1;
constexpr const char* kListLabel = "Move items with the mouse.\n\r\rLines below the separator\n\rare not printed.";
}  // namespace

PrintOrderList::PrintOrderList(catalogue::Application& app, std::vector<catalogue::PrintItem>& items, QWidget* parent)
    : QListWidget(parent), app_(app), items_(items) {
  setDragDropMode(QAbstractItemView::InternalMove);
  setDefaultDropAction(Qt::MoveAction);
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

void PrintOrderList::TakeOrder() {
  std::vector<catalogue::PrintItem> order;
  for (int i = 0; i < count(); ++i) {
    order.push_back({item(i)->text().toStdString(), item(i)->data(kColumnRole).toInt()});
  }
  if (catalogue::KeepTwoItemsAboveSeparator(order)) app_.frontend.Beep(catalogue::Sound::Default);
  items_ = order;
  ShowItems();
}

void PrintOrderList::dropEvent(QDropEvent* event) {
  QListWidget::dropEvent(event);
  TakeOrder();
}

SettingsPage::SettingsPage(catalogue::Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  auto* layout = new QHBoxLayout(this);
  // The option groups scroll, so that the page fits small screens.
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  options_ = new OptionsPanel(app_.options, scroll);
  scroll->setWidget(options_);
  scroll->setMinimumWidth(options_->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
  layout->addWidget(scroll);
  auto addList = [&](const char* title, std::vector<catalogue::PrintItem>& items) {
    auto* box = new QGroupBox(title, this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* list = new PrintOrderList(app_, items, box);
    boxLayout->addWidget(list);
    boxLayout->addWidget(new QLabel(DisplayText(kListLabel), box));
    layout->addWidget(box);
    return list;
  };
  filesOrder_ = addList(" Files + Results printing ", app_.options.print.filesOrder);
  viewsOrder_ = addList(" Albums, Artists, Genres prt. ", app_.options.print.viewsOrder);

  auto* html = new QGroupBox(" HTML Settings ", this);
  auto* form = new QFormLayout(html);
  catalogue::PrintOptions& print = app_.options.print;
  for (auto [caption, tag] : {std::pair{"<TABLE>", &print.tableTag}, std::pair{"<TH>", &print.headerCellTag},
                              std::pair{"<TR>", &print.rowTag}, std::pair{"<TD>", &print.cellTag}}) {
    auto* edit = new QLineEdit(QString::fromStdString(*tag), html);
    connect(edit, &QLineEdit::textChanged, this, [tag = tag](const QString& text) { *tag = text.toStdString(); });
    auto* label = new QLabel(caption, html);
    label->setTextFormat(Qt::PlainText);  // the captions are tag names, not markup
    form->addRow(label, edit);
  }
  auto* right = new QVBoxLayout;
  right->addWidget(html);
  right->addWidget(Buttons());
  right->addStretch(1);
  layout->addLayout(right);
  layout->addStretch(1);
}

QWidget* SettingsPage::Buttons() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  const auto add = [&](const char* caption, auto handler) {
    auto* button = new QPushButton(caption, box);
    connect(button, &QPushButton::clicked, this, handler);
    column->addWidget(button);
    return button;
  };
  add("Clear TVD-file list", [this] { catalogue::ClearRecentList(app_); });
  add("Check TVD-file list", [this] { catalogue::CheckRecentList(app_); });
  add("&Defaults", [this] { DefaultsClick(); })->setToolTip("Only if FILES table and RESULTS table are empty");
  add("&Help", [this] { emit HelpRequested(500); });
  return box;
}

void SettingsPage::DefaultsClick() {
  if (catalogue::RestoreDefaults(app_, PrimaryScreenSize())) emit CloseRequested();
}

}  // namespace tonvault::ui
