#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QToolButton>
#include <array>

#include "catalogue/Application.h"
#include "tagging/editor/TagEditor.h"

namespace tonvault::ui {

// The "ID3 - Editor" page: a thin adapter over tagging::TagEditor. Every
// user action is one call on the editor; after each the page redraws from
// the editor's state.
class EditorPage : public QWidget {
  Q_OBJECT
 public:
  EditorPage(catalogue::Application& app, tagging::TagEditor& editor, QWidget* parent = nullptr);

  // The page's "Keep original file date" box, for binding to its twin on
  // the settings page.
  QCheckBox* KeepDateBox() const { return keepDate_; }
  QPushButton* SaveButton() const { return save_; }
  QGroupBox* Group(tagging::Version version) const { return Widgets(version).group; }
  QLineEdit* NewValue(tagging::Version version, tagging::Field field) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct VersionWidgets {
    QGroupBox* group = nullptr;
    std::array<QLineEdit*, tagging::kFieldCount> panels{};
    std::array<QLineEdit*, tagging::kFieldCount> edits{};  // V1 Genre and Track are null
    std::array<QToolButton*, tagging::kFieldCount> copies{};
    std::array<QCheckBox*, tagging::kFieldCount> keeps{};  // Track has the three-state box
    QPushButton* saveChanges = nullptr;
    QPushButton* removeTag = nullptr;
    QPushButton* copyAll = nullptr;
    QLabel* switches = nullptr;
  };

  QGroupBox* BuildVersion(tagging::Version version, QWidget* parent);
  QWidget* BuildButtons();
  const VersionWidgets& Widgets(tagging::Version version) const {
    return version == tagging::Version::V1 ? v1_ : v2_;
  }
  void Redraw();
  // Player-tag mode: the V2 group alone, on top, as the player's track data.
  void ApplyPlayerTagLayout(bool playerTags);
  void RedrawVersion(tagging::Version version);
  void ColourByMark(QWidget* widget, tagging::Mark mark);

  catalogue::Application& app_;
  tagging::TagEditor& editor_;
  QLabel* fileLine_ = nullptr;
  VersionWidgets v1_;
  VersionWidgets v2_;
  QComboBox* v1Genre_ = nullptr;
  QSpinBox* v1Track_ = nullptr;
  QPushButton* keepOld_ = nullptr;
  QPushButton* more_ = nullptr;
  QGroupBox* extended_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QVBoxLayout* groups_ = nullptr;
  QTableWidget* frames_ = nullptr;
  QCheckBox* keepDate_ = nullptr;
  QPushButton* readAgain_ = nullptr;
  QPushButton* first_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* saveAll_ = nullptr;
  std::size_t focusedEntry_ = 0;
};

}  // namespace tonvault::ui
