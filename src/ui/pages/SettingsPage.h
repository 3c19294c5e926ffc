#pragma once

#include <QVBoxLayout>
#include <QTabWidget>
#include <QWidget>

#include "catalogue/Application.h"
#include "ui/pages/FileTransferPanel.h"
#include "ui/pages/OptionControls.h"
#include "ui/pages/OptionsPanel.h"
#include "ui/pages/OrderLists.h"
#include "ui/pages/PlayerSettingsPanel.h"
#include "ui/pages/TagOptionsPanel.h"

namespace tonvault::ui {

// The Settings page: two sheets. "General" holds the program's options, the
// export settings, the recent-list buttons and "&Defaults"; "ID3 - Editor
// /  MP3 Analysis" the options of renaming, extracting, the tag editor and
// the MP3 analysis.
class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  SettingsPage(catalogue::Application& app, QWidget* parent = nullptr);
  PrintOrderList* FilesOrder() const { return filesOrder_; }
  OptionsPanel* Options() const { return options_; }
  TagOptionsPanel* TagOptions() const { return tagOptions_; }
  PlayerSettingsPanel* PlayerSettings() const { return playerSettings_; }
  FileTransferPanel* FileTransfer() const { return fileTransfer_; }
  int FileTransferSheet() const { return fileTransferSheet_; }
  QTabWidget* Sheets() const { return sheets_; }
  int PlayerSheet() const { return playerSheet_; }
  // Puts the player's own information beside its session settings.
  void AddPlayerInformation(QWidget* panel);
  // Binds a twin made by another page to its option.
  OptionControls& Controls() { return *controls_; }
  // "&Defaults": asks, resets the options and asks the window to close.
  void DefaultsClick();

 signals:
  void HelpRequested(int context);
  void CloseRequested();

 private:
  QWidget* General();
  QWidget* TagSheet();
  QWidget* Buttons();

  catalogue::Application& app_;
  OptionControls* controls_;
  OptionsPanel* options_ = nullptr;
  TagOptionsPanel* tagOptions_ = nullptr;
  PlayerSettingsPanel* playerSettings_ = nullptr;
  FileTransferPanel* fileTransfer_ = nullptr;
  int fileTransferSheet_ = -1;
  QVBoxLayout* playerSheetLayout_ = nullptr;
  QTabWidget* sheets_ = nullptr;
  int playerSheet_ = -1;
  PrintOrderList* filesOrder_ = nullptr;
  PrintOrderList* viewsOrder_ = nullptr;
};

}  // namespace tonvault::ui
