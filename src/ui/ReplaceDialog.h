#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>
#include <utility>

namespace tonvault::ui {

// " Replace Char or String": the text to find and its replacement for the
// Special menu's replace. "&OK" is offered only for a pair the replace
// accepts: a search text that does not occur inside the replacement.
class ReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 700;

  explicit ReplaceDialog(QWidget* parent = nullptr);

  // Empties both fields and shows the dialog modally; the search text and
  // its replacement when the user pressed "&OK".
  std::optional<std::pair<std::string, std::string>> Ask();

  QLineEdit* SearchEdit() const { return search_; }
  QLineEdit* ReplaceEdit() const { return replaceBy_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 signals:
  void HelpRequested(int topic);

 private:
  void UpdateOk();
  void Clear();

  QLineEdit* search_;
  QLineEdit* replaceBy_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
};

}  // namespace tonvault::ui
