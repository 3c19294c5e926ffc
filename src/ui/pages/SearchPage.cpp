#include "ui/pages/SearchPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <QComboBox>
#include <tuple>

#include "views/DuplicateSearch.h"
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
  layout->addWidget(BuildDuplicateOptions());
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

QCheckBox* SearchPage::DuplicateBox(const QString& caption, bool catalogue::DuplicateOptions::* option,
                                    const QString& hint, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  if (!hint.isEmpty()) box->setToolTip(hint);
  box->setChecked(app_.options.duplicate.*option);
  duplicateBoxes_.emplace_back(box, option);
  connect(box, &QCheckBox::toggled, this, [this, option](bool on) { app_.options.duplicate.*option = on; });
  return box;
}

QWidget* SearchPage::BuildDuplicateOptions() {
  using D = catalogue::DuplicateOptions;
  auto* group = new QGroupBox("Duplicate search options", this);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(4);  // keeps the page within the default window width
  const std::pair<const char*, bool D::*> withModes[] = {{"Album", &D::album}, {"Artist", &D::artist}, {"Title", &D::title}};
  int D::* const modes[] = {&D::albumMode, &D::artistMode, &D::titleMode};
  for (int i = 0; i < 3; ++i) {
    QCheckBox* box = DuplicateBox(withModes[i].first, withModes[i].second, {}, group);
    criterionBoxes_.push_back(box);
    auto* list = new QComboBox(group);
    for (const char* text : views::kCompareModeTexts) list->addItem(text);
    list->setCurrentIndex(app_.options.duplicate.*modes[i]);
    connect(list, &QComboBox::currentIndexChanged, this,
            [this, mode = modes[i]](int index) { app_.options.duplicate.*mode = index; });
    modeLists_.push_back(list);
    grid->addWidget(box, i, 0);
    grid->addWidget(list, i, 1);
  }
  const std::tuple<const char*, bool D::*, const char*> others[] = {
      {"Genre", &D::genre, ""},
      {"Year", &D::year, ""},
      {"Comment", &D::comment, ""},
      {"Filename", &D::filename, ""},
      {"Path  (only last Dir)", &D::path, "E.g. only \"\\ABBA\\\" is used of \"D:\\MyMP3s\\ABBA\\\""},
      {"Drive  (invert. for diff.)", &D::drive,
       "On \"Search for differences\" files on different drives are treated as identical"},
      {"Label", &D::label, ""},
      {"Track", &D::track, ""},
      {"Filesize", &D::fileSize, ""},
      {"Length", &D::length, ""}};
  int index = 0;
  for (const auto& [caption, option, hint] : others) {
    QCheckBox* box = DuplicateBox(caption, option, hint, group);
    criterionBoxes_.push_back(box);
    grid->addWidget(box, index % 5, 2 + index / 5);
    ++index;
  }
  grid->addWidget(DuplicateBox("Append results", &D::appendResults, "Keeps lines in RESULTS (only for duplicates)", group), 0, 4);
  grid->addWidget(DuplicateBox("Only in selected lines", &D::onlySelected, "Selected lines in FILES", group), 1, 4);
  grid->addWidget(DuplicateBox("Empty lines", &D::emptyLines,
                               "Creates empty lines between rearch results  (only for duplicates)", group), 2, 4);
  grid->addWidget(DuplicateBox("Remove duplicate results", &D::removeDuplicates,
                               "Hides multiple results  (only for duplicates)", group), 3, 4);
  auto* checkAll = new QPushButton("Check &all", group);
  auto* checkNone = new QPushButton("Check &none", group);
  connect(checkAll, &QPushButton::clicked, this, &SearchPage::DupAllHBitBtnClick);
  connect(checkNone, &QPushButton::clicked, this, &SearchPage::DupNoneHBitBtnClick);
  grid->addWidget(checkAll, 3, 0);
  grid->addWidget(checkNone, 3, 1);
  duplicates_ = new QPushButton("Search for &duplicates", group);
  differences_ = new QPushButton("Search for differen&ces", group);
  connect(duplicates_, &QPushButton::clicked, this, [this] { views::SearchDuplicates(app_); });
  connect(differences_, &QPushButton::clicked, this, [this] { views::SearchDifferences(app_); });
  grid->addWidget(duplicates_, 0, 5);
  grid->addWidget(differences_, 1, 5);
  grid->setColumnStretch(6, 1);
  return group;
}

void SearchPage::DupAllHBitBtnClick() {
  for (QCheckBox* box : criterionBoxes_) box->setChecked(true);
}

void SearchPage::DupNoneHBitBtnClick() {
  for (QCheckBox* box : criterionBoxes_) box->setChecked(false);
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
