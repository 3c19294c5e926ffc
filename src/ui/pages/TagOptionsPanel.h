#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "catalogue/Frontend.h"
#include "catalogue/Options.h"
#include "ui/pages/OptionControls.h"
#include "ui/pages/OrderLists.h"

namespace tonvault::ui {

// The option groups of the settings sheet "ID3 - Editor  /  MP3 Analysis":
// renaming files from tags, extracting tags from file names, the tag
// editor and writers, and the checks of the MP3 analysis and repair.
class TagOptionsPanel : public QWidget {
  Q_OBJECT
 public:
  TagOptionsPanel(catalogue::Options& options, OptionControls& controls, catalogue::Frontend& frontend,
                  QWidget* parent = nullptr);
  QLineEdit* SubstituteEdit() const { return substitute_; }
  ItemOrderList* RenameOrder() const { return renameOrder_; }
  QCheckBox* EditorKeepDateBox() const { return editorKeepDate_; }
  QCheckBox* RepairKeepDateBox() const { return repairKeepDate_; }

 private:
  QWidget* Renaming();
  QWidget* RenameItems(QWidget* parent);
  QWidget* RenameFormat(QWidget* parent);
  QWidget* Extracting();
  QWidget* Editor();
  // The code page of single-byte tag texts, bound to its option.
  QComboBox* CodePageChoice(QWidget* parent);
  QWidget* Analysis();
  // A check box and its "Auto fix on check" box, enabled only while the
  // check is on.
  void CheckWithAutoFix(QWidget* group, const char* caption, bool& check, bool& autoFix);
  // Takes the substitute character as typed, or shows the "_" put back.
  void GuardSubstitute();

  catalogue::Options& options_;
  OptionControls& controls_;
  catalogue::Frontend& frontend_;
  QLineEdit* substitute_ = nullptr;
  ItemOrderList* renameOrder_ = nullptr;
  QCheckBox* editorKeepDate_ = nullptr;
  QCheckBox* repairKeepDate_ = nullptr;
};

}  // namespace tonvault::ui
