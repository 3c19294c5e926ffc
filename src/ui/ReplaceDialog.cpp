#include "ui/ReplaceDialog.h"

#include <algorithm>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "tagging/transform/TextTransforms.h"

namespace tonvault::ui {

ReplaceDialog::ReplaceDialog(QWidget* parent)
    : QDialog(parent),
      search_(new QLineEdit(this)),
      replaceBy_(new QLineEdit(this)),
      ok_(new QPushButton("&OK", this)),
      cancel_(new QPushButton("&Cancel", this)),
      help_(new QPushButton("&Help", this)) {
  setWindowTitle(" Replace Char or String");
  // The same size in inches on every screen.
  QFont font = this->font();
  font.setPointSize(std::max(1, 960 / std::max(1, logicalDpiY())));
  setFont(font);

  auto* fields = new QFormLayout;
  fields->addRow("Search:", search_);
  fields->addRow("Replace by:", replaceBy_);
  search_->setMinimumWidth(220);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {ok_, cancel_, help_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  ok_->setDefault(true);
  connect(search_, &QLineEdit::textChanged, this, &ReplaceDialog::UpdateOk);
  connect(replaceBy_, &QLineEdit::textChanged, this, &ReplaceDialog::UpdateOk);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (ok_->isEnabled()) accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    Clear();
    reject();
  });
  connect(help_, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpTopic); });
  UpdateOk();
}

void ReplaceDialog::Clear() {
  search_->clear();
  replaceBy_->clear();
}

void ReplaceDialog::UpdateOk() {
  ok_->setEnabled(tagging::ReplaceAllowed(search_->text().toStdString(), replaceBy_->text().toStdString()));
}

std::optional<std::pair<std::string, std::string>> ReplaceDialog::Ask() {
  Clear();
  search_->setFocus();
  // Only "&OK" runs the replace; closing the window any other way is a Cancel.
  if (exec() != QDialog::Accepted) return std::nullopt;
  const std::string search = search_->text().toStdString();
  const std::string replaceBy = replaceBy_->text().toStdString();
  if (!tagging::ReplaceAllowed(search, replaceBy)) return std::nullopt;
  return std::pair{search, replaceBy};
}

}  // namespace tonvault::ui
