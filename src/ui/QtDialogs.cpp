#include "ui/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <map>

namespace tonvault::ui {

using catalogue::Button;
using catalogue::MessageKind;

QString DisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\n\r", "\n");
  shown.replace('\r', '\n');
  return shown;
}

QString NameFilter(const std::string& filter) {
  const QString whole = QString::fromStdString(filter);
  const qsizetype bar = whole.indexOf('|');
  QString description = bar < 0 ? whole : whole.left(bar);
  const QString patterns = bar < 0 ? QString("*") : whole.mid(bar + 1).replace(';', ' ');
  description.remove(QRegularExpression(R"(\s*\([^()]*\)\s*$)"));
  QString both = patterns;
  if (patterns.toLower() != patterns) both += ' ' + patterns.toLower();
  return QString("%1 (%2)").arg(description.trimmed(), both);
}

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Confirmation: return QMessageBox::Question;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
  }
  return QMessageBox::NoIcon;
}

QString TitleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Confirmation: return "Confirm";
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Warning: return "Warning";
  }
  return {};
}

QString CaptionOf(Button button) {
  switch (button) {
    case Button::Ok: return "OK";
    case Button::Yes: return "&Yes";
    case Button::No: return "&No";
    case Button::Cancel: return "Cancel";
    case Button::All: return "&All";
    case Button::YesToAll: return "Yes to &All";
    case Button::NoToAll: return "N&o to All";
    case Button::Ignore: return "&Ignore";
  }
  return {};
}

QMessageBox::ButtonRole RoleOf(Button button) {
  switch (button) {
    case Button::Ok: return QMessageBox::AcceptRole;
    case Button::Yes: return QMessageBox::YesRole;
    case Button::No: return QMessageBox::NoRole;
    case Button::Cancel: return QMessageBox::RejectRole;
    case Button::All: return QMessageBox::YesRole;
    case Button::YesToAll: return QMessageBox::YesRole;
    case Button::NoToAll: return QMessageBox::NoRole;
    case Button::Ignore: return QMessageBox::AcceptRole;
  }
  return QMessageBox::AcceptRole;
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

QString StartPath(const catalogue::FileDialogRequest& request) {
  return QString::fromStdString(request.folder + request.proposedName);
}

}  // namespace

Button ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text, const catalogue::Buttons& buttons) {
  QMessageBox box(IconOf(kind), TitleOf(kind), DisplayText(text), QMessageBox::NoButton, parent);
  std::map<QAbstractButton*, Button> chosen;
  for (Button button : buttons) chosen[box.addButton(CaptionOf(button), RoleOf(button))] = button;
  if (!buttons.empty()) box.setDefaultButton(qobject_cast<QPushButton*>(box.buttons().first()));
  box.exec();
  const auto found = chosen.find(box.clickedButton());
  if (found != chosen.end()) return found->second;
  // Closed with Esc or the window's close box: the most cautious answer.
  for (Button fallback : {Button::Cancel, Button::No, Button::Ok}) {
    for (Button button : buttons) {
      if (button == fallback) return button;
    }
  }
  return buttons.empty() ? Button::Ok : buttons.back();
}

std::optional<std::string> ShowOpenDialog(QWidget* parent, const catalogue::FileDialogRequest& request) {
  return Chosen(QFileDialog::getOpenFileName(parent, QString::fromStdString(request.title), StartPath(request),
                                             NameFilter(request.filter)));
}

std::vector<std::string> ShowOpenFilesDialog(QWidget* parent, const catalogue::FileDialogRequest& request) {
  std::vector<std::string> chosen;
  for (const QString& path : QFileDialog::getOpenFileNames(parent, QString::fromStdString(request.title),
                                                           StartPath(request), NameFilter(request.filter))) {
    chosen.push_back(path.toStdString());
  }
  return chosen;
}

std::optional<std::string> ShowSaveDialog(QWidget* parent, const catalogue::FileDialogRequest& request) {
  QFileDialog dialog(parent, QString::fromStdString(request.title), StartPath(request), NameFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

std::optional<std::string> ShowFolderDialog(QWidget* parent, const std::string& title, const std::string& start) {
  return Chosen(QFileDialog::getExistingDirectory(parent, QString::fromStdString(title), QString::fromStdString(start)));
}

std::optional<std::string> ShowInputDialog(QWidget* parent, const std::string& title, const std::string& prompt,
                                           const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, QString::fromStdString(title), DisplayText(prompt),
                                             QLineEdit::Normal, QString::fromStdString(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

}  // namespace tonvault::ui
