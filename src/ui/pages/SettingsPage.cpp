#include "ui/pages/SettingsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalogue/DatabaseCommands.h"
#include "catalogue/SettingsDefaults.h"
#include "ui/DragScroll.h"
#include "ui/QtDialogs.h"
#include "ui/WindowPlacement.h"

namespace tonvault::ui {

namespace {
constexpr const char* kListLabel = "Move items with the mouse.\n\r\rLines below the separator\n\rare not printed.";

// Puts `panel` in a scroll area, so that a sheet fits small screens: from
// the default window size up the panel fits without scrolling sideways, and
// a smaller window scrolls instead of cutting controls or growing.
QScrollArea* Scrolling(QWidget* panel, QWidget* parent) {
  auto* scroll = new QScrollArea(parent);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(panel);
  DragScroll::Install(scroll);
  return scroll;
}
}  // namespace

SettingsPage::SettingsPage(catalogue::Application& app, QWidget* parent)
    : QWidget(parent), app_(app), controls_(new OptionControls(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* sheets = sheets_ = new QTabWidget(this);
  sheets->addTab(General(), "General");
  sheets->addTab(TagSheet(), "ID3 - Editor  /  MP3 Analysis");
  playerSettings_ = new PlayerSettingsPanel(app_.options, *controls_, app_.frontend);
  auto* playerSheet = new QWidget(this);
  playerSheetLayout_ = new QVBoxLayout(playerSheet);
  playerSheetLayout_->setContentsMargins(0, 0, 0, 0);
  playerSheetLayout_->addWidget(playerSettings_, 0, Qt::AlignLeft);
  playerSheetLayout_->addStretch(1);
  playerSheet_ = sheets->addTab(Scrolling(playerSheet, this), "NJB - Settings");
  fileTransfer_ = new FileTransferPanel(app_.options, *controls_);
  connect(fileTransfer_, &FileTransferPanel::HelpRequested, this, &SettingsPage::HelpRequested);
  fileTransferSheet_ = sheets->addTab(Scrolling(fileTransfer_, this), "NJB File-Transfer");
  layout->addWidget(sheets);
}

// Three columns: the options, the two print orders one above the other,
// the HTML tags and the buttons. They fit the default window width side by
// side; the sheet scrolls when the window is lower than they are.
QWidget* SettingsPage::General() {
  auto* sheet = new QWidget(this);
  auto* layout = new QHBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(6);
  options_ = new OptionsPanel(app_.options, *controls_);
  layout->addWidget(options_, 0, Qt::AlignTop);
  auto* lists = new QVBoxLayout;
  auto addList = [&](const char* title, std::vector<catalogue::PrintItem>& items) {
    auto* box = new QGroupBox(title, sheet);
    auto* boxLayout = new QVBoxLayout(box);
    auto* list = new PrintOrderList(app_.frontend, items, box);
    // Exactly as large as its rows (their number never changes), so both
    // lists fit one column without scrolling.
    list->setMinimumHeight(0);
    list->setFixedSize(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 12,
                       list->sizeHintForRow(0) * list->count() + 2 * list->frameWidth() + 4);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    boxLayout->addWidget(list);
    auto* label = new QLabel(DisplayText(kListLabel), box);
    label->setWordWrap(true);
    boxLayout->addWidget(label);
    lists->addWidget(box);
    return list;
  };
  filesOrder_ = addList(" Files + Results printing ", app_.options.print.filesOrder);
  viewsOrder_ = addList(" Albums, Artists, Genres prt. ", app_.options.print.viewsOrder);
  lists->addStretch(1);
  layout->addLayout(lists);

  auto* html = new QGroupBox(" HTML Settings ", sheet);
  auto* form = new QFormLayout(html);
  catalogue::PrintOptions& print = app_.options.print;
  for (auto [caption, tag] : {std::pair{"<TABLE>", &print.tableTag}, std::pair{"<TH>", &print.headerCellTag},
                              std::pair{"<TR>", &print.rowTag}, std::pair{"<TD>", &print.cellTag}}) {
    auto* label = new QLabel(caption, html);
    label->setTextFormat(Qt::PlainText);  // the captions are tag names, not markup
    QLineEdit* edit = controls_->Edit(html, *tag);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance("<TABLE Border=1>") + 16);
    form->addRow(label, edit);
  }
  auto* right = new QVBoxLayout;
  right->addWidget(html);
  right->addWidget(Buttons());
  right->addStretch(1);
  layout->addLayout(right);
  layout->addStretch(1);  // a wide window leaves the room on the right, not inside the controls
  return Scrolling(sheet, this);
}

QWidget* SettingsPage::TagSheet() {
  auto* sheet = new QWidget(this);
  auto* layout = new QHBoxLayout(sheet);
  tagOptions_ = new TagOptionsPanel(app_.options, *controls_, app_.frontend);
  layout->addWidget(Scrolling(tagOptions_, sheet), 1);
  auto* help = new QPushButton("&Help", sheet);
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(800); });
  layout->addWidget(help, 0, Qt::AlignTop);
  return sheet;
}

QWidget* SettingsPage::Buttons() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  const auto add = [this](QWidget* parent, const char* caption, auto handler) {
    auto* button = new QPushButton(caption, parent);
    connect(button, &QPushButton::clicked, this, handler);
    parent->layout()->addWidget(button);
    return button;
  };
  auto* misc = new QGroupBox(" Misc options ", box);
  (new QVBoxLayout(misc))->setContentsMargins(3, 3, 3, 3);  // keeps the page within the default window width
  add(misc, "&Clear TVD-file list", [this] { catalogue::ClearRecentList(app_); });
  add(misc, "Check &TVD-file list", [this] { catalogue::CheckRecentList(app_); });
  column->addWidget(misc);
  add(box, "&Defaults", [this] { DefaultsClick(); })->setToolTip("Only if FILES table and RESULTS table are empty");
  add(box, "&Help", [this] { emit HelpRequested(500); });
  return box;
}

void SettingsPage::AddPlayerInformation(QWidget* panel) { playerSheetLayout_->insertWidget(0, panel, 0, Qt::AlignLeft); }

void SettingsPage::DefaultsClick() {
  if (catalogue::RestoreDefaults(app_, PrimaryScreenSize())) emit CloseRequested();
}

}  // namespace tonvault::ui
