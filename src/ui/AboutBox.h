#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace tonvault::ui {

// The About box (" Info"): program title and version, legal notice and
// contact address, the program picture, "OK" and "About  JBDirect".
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QString TitlePanelText() const { return titlePanel_->text(); }
  QPushButton* PlayerLibraryButton() const { return playerLibraryButton_; }

 private:
  QLabel* titlePanel_;
  QPushButton* playerLibraryButton_;
};

}  // namespace tonvault::ui
