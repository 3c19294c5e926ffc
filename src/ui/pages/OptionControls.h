#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QSpinBox>
#include <map>
#include <string>
#include <vector>

namespace tonvault::ui {

// Makes the controls of the settings pages and binds each to its option:
// a control writes its option the moment it changes. Check boxes bound to
// the same option mirror each other, so a twin on another page (the tag
// editor's or the repair page's "Keep original file date") always shows
// what the settings page shows.
class OptionControls : public QObject {
  Q_OBJECT
 public:
  explicit OptionControls(QObject* parent = nullptr) : QObject(parent) {}

  // A check box bound to `option`, for the caller to place.
  QCheckBox* Check(QWidget* parent, const QString& caption, bool& option);
  // The same check box, added to `parent`'s layout.
  QCheckBox* Box(QWidget* parent, const QString& caption, bool& option);
  // Binds a check box made elsewhere to `option` and to its twins.
  void Bind(QCheckBox* box, bool& option);
  QSpinBox* Spin(QWidget* parent, int& option, int min, int max, int step);
  QLineEdit* Edit(QWidget* parent, std::string& option);
  // A group with the two choices "1" and "2" (stored as 0 and 1).
  QWidget* VersionChoice(QWidget* parent, const char* title, int& option);

 private:
  std::map<bool*, std::vector<QPointer<QCheckBox>>> boxes_;
};

}  // namespace tonvault::ui
