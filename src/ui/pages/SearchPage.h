#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "catalogue/Application.h"

namespace tonvault::ui {

// The Search page: the text search over chosen columns. The controls show
// and change the search options of the catalogue state; the buttons run the
// searches.
class SearchPage : public QWidget {
  Q_OBJECT
 public:
  SearchPage(catalogue::Application& app, QWidget* parent = nullptr);

  QLineEdit* FindEdit() const { return findEdit_; }
  QPushButton* FindFilesButton() const { return findFiles_; }
  QPushButton* FindResultsButton() const { return findResults_; }
  // The ten column boxes, in the order they stand.
  const std::vector<QCheckBox*>& ColumnBoxes() const { return columnBoxes_; }
  // Shows the options as the catalogue state holds them.
  void ShowOptions();
  QPushButton* DuplicatesButton() const { return duplicates_; }
  QPushButton* DifferencesButton() const { return differences_; }

 signals:
  void HelpRequested(int context);

 public slots:
  // "Check all" and "Check none" of the thirteen duplicate criteria.
  void DupAllHBitBtnClick();
  void DupNoneHBitBtnClick();

 private:
  void TakeOptions();
  QCheckBox* Box(const QString& caption, bool catalogue::SearchOptions::* option, QWidget* parent);
  QWidget* BuildDuplicateOptions();
  QCheckBox* DuplicateBox(const QString& caption, bool catalogue::DuplicateOptions::* option, const QString& hint,
                          QWidget* parent);

  catalogue::Application& app_;
  QLineEdit* findEdit_;
  QPushButton* findFiles_;
  QPushButton* findResults_;
  std::vector<std::pair<QCheckBox*, bool catalogue::SearchOptions::*>> boxes_;
  std::vector<QCheckBox*> columnBoxes_;
  std::vector<std::pair<QCheckBox*, bool catalogue::DuplicateOptions::*>> duplicateBoxes_;
  std::vector<QCheckBox*> criterionBoxes_;
  std::vector<QComboBox*> modeLists_;
  QPushButton* duplicates_ = nullptr;
  QPushButton* differences_ = nullptr;
};

}  // namespace tonvault::ui
