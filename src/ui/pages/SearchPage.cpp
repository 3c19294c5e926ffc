#include "ui/pages/SearchPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "views/TextSearch.h"

namespace tonvault::ui {

using Options = catalogue::SearchOptions;

SearchPage::SearchPage(catalogue::Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);

  auto* lookFor = new QGroupBox(" Look for ", this);
  auto* lookLayout = new QVBoxLayout(lookFor);
  findEdit_ = new QLineEdit(lookFor);
  findEdit_->setMinimumWidth(260);
  lookLayout->addWidget(findEdit_);
  for (auto [caption, option] : {std::pair{"Only at beginning of line", &Options::onlyAtBeginning},
                                 std::pair{"Match case", &Options::matchCase},
                                 std::pair{"Append results", &Options::appendResults},
                                 std::pair{"Only in selected lines", &Options::onlySelected}}) {
    QCheckBox* box = Box(caption, option, lookFor);
    if (option == &Options::appendResults) box->setToolTip("Append to lines in RESULTS");
    lookLayout->addWidget(box);
  }
  top->addWidget(lookFor);

  auto* columns = new QGroupBox(" Columns ", this);
  auto* grid = new QGridLayout(columns);
  const std::pair<const char*, bool Options::*> columnOptions[] = {
      {"Album", &Options::album},     {"Artist", &Options::artist},     {"Title", &Options::title},
      {"Genre", &Options::genre},     {"Year", &Options::year},         {"Comment", &Options::comment},
      {"Filename", &Options::filename}, {"Path", &Options::path},       {"Label", &Options::label},
      {"Track", &Options::track}};
  int index = 0;
  for (const auto& [caption, option] : columnOptions) {
    QCheckBox* box = Box(caption, option, columns);
    if (option == &Options::path) box->setToolTip("Full path");
    columnBoxes_.push_back(box);
    grid->addWidget(box, index % 5, index / 5);
    ++index;
  }
  auto* checkAll = new QPushButton("Check &all", columns);
  auto* checkNone = new QPushButton("Check &none", columns);
  grid->addWidget(checkAll, 5, 0);
  grid->addWidget(checkNone, 5, 1);
  connect(checkAll, &QPushButton::clicked, this, [this] {
    for (QCheckBox* box : columnBoxes_) box->setChecked(true);
  });
  connect(checkNone, &QPushButton::clicked, this, [this] {
    for (QCheckBox* box : columnBoxes_) box->setChecked(false);
  });
  top->addWidget(columns);

  auto* buttons = new QVBoxLayout;
  findFiles_ = new QPushButton("Search in &files", this);
  findResults_ = new QPushButton("Search in &results", this);
  auto* help = new QPushButton("&Help", this);
  findFiles_->setDefault(true);
  for (QPushButton* button : {findFiles_, findResults_, help}) buttons->addWidget(button);
  buttons->addStretch(1);
  top->addLayout(buttons);
  top->addStretch(1);
  layout->addStretch(1);

  connect(findEdit_, &QLineEdit::textChanged, this, [this] { TakeOptions(); });
  connect(findEdit_, &QLineEdit::returnPressed, findFiles_, &QPushButton::click);
  connect(findFiles_, &QPushButton::clicked, this, [this] {
    TakeOptions();
    views::SearchInFiles(app_);
  });
  connect(findResults_, &QPushButton::clicked, this, [this] {
    TakeOptions();
    views::SearchInResults(app_);
  });
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(400); });
  ShowOptions();
}

QCheckBox* SearchPage::Box(const QString& caption, bool Options::* option, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  boxes_.emplace_back(box, option);
  connect(box, &QCheckBox::toggled, this, [this] { TakeOptions(); });
  return box;
}

void SearchPage::TakeOptions() {
  Options& options = app_.options.search;
  options.text = findEdit_->text().toStdString();
  for (const auto& [box, option] : boxes_) options.*option = box->isChecked();
}

void SearchPage::ShowOptions() {
  const Options options = app_.options.search;
  for (const auto& [box, option] : boxes_) box->setChecked(options.*option);
  findEdit_->setText(QString::fromStdString(options.text));
}

}  // namespace tonvault::ui
