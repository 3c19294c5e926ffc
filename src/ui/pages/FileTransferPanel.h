#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QWidget>

#include "catalogue/Options.h"
#include "ui/pages/OptionControls.h"

namespace tonvault::ui {

// The sheet "NJB File-Transfer": the settings of the transfers to the
// player ("From PC to NJB") and from it ("From NJB to PC"), with a Help
// button.
class FileTransferPanel : public QWidget {
  Q_OBJECT
 public:
  FileTransferPanel(catalogue::Options& options, OptionControls& controls, QWidget* parent = nullptr);

  QButtonGroup* ToPlayerExisting() const { return toPlayerExisting_; }
  QButtonGroup* FromPlayerExisting() const { return fromPlayerExisting_; }
  QCheckBox* TagBox(int version) const { return version == 1 ? id3v1_ : id3v2_; }

 signals:
  void HelpRequested(int context);

 private:
  QWidget* ToPlayer();
  QWidget* FromPlayer();
  QButtonGroup* ExistingFiles(QWidget* parent, int& option);
  QWidget* Choice(QWidget* parent, const char* title, std::initializer_list<const char*> captions, int& option,
                  QButtonGroup** made = nullptr);
  QCheckBox* TagUpdateBox(QWidget* parent, int version, int& option);

  catalogue::Options& options_;
  OptionControls& controls_;
  QButtonGroup* toPlayerExisting_ = nullptr;
  QButtonGroup* fromPlayerExisting_ = nullptr;
  QCheckBox* id3v1_ = nullptr;
  QCheckBox* id3v2_ = nullptr;
};

}  // namespace tonvault::ui
