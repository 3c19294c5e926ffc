#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "catalogue/Frontend.h"
#include "catalogue/SettingsFile.h"
#include "ui/CommandTable.h"
#include "ui/StatusBar.h"
#include "ui/pages/TrackListPage.h"
#include "tagging/editor/TagEditor.h"
#include "tagging/transform/FieldTransforms.h"
#include "tagging/transform/TagStore.h"
#include "views/Views.h"

namespace tonvault::ui {

class SplashWindow;

// The main window: tool bar panels, menus, the page control and the status
// bar. It is the frontend every command talks through and holds no
// behaviour of its own beyond showing state and forwarding actions.
class MainWindow : public QMainWindow, public catalogue::Frontend {
  Q_OBJECT
 public:
  struct StartOptions {
    std::vector<std::string> arguments;  // the command line, without the program name
    SplashWindow* splash = nullptr;      // closed by the start timer; null: no waiting
    std::string settingsPath;            // read at start, written at close; empty: none
  };

  MainWindow();
  explicit MainWindow(StartOptions options);
  ~MainWindow() override;

  catalogue::Application& App() { return app_; }
  // The system asks the program to end (log-out, shutdown, kill): asks
  // nothing, keeps unsaved FILES in a recovery catalogue, writes the
  // settings and quits.
  void EndWithoutAsking();
  QAction* Action(CommandId id) const { return actions_.at(id); }
  QTabBar* Tabs() const { return tabs_; }
  QWidget* PageWidget(catalogue::Page page) const;
  StatusBar* Status() const { return statusBar_; }
  QToolBar* PanelBar(ToolPanel panel) const { return panels_.at(panel); }
  QMenu* MenuOf(catalogue::MenuGroup group) const { return menus_.at(group); }
  QMenu* FileMenu() const { return fileMenu_; }
  TrackListPage* FilesPage() const { return filesPage_; }
  class ReplaceDialog* Replacer() const { return replaceDialog_; }
  const tagging::TagStore& TagRam() const { return tagStore_; }
  class DeviceControl* Player() const { return deviceControl_; }
  class SyncPage* Synchronize() const { return syncPage_; }
  class QuickCopyPage* QuickCopy() const { return quickCopyPage_; }
  class TransferControl* Transfers() const { return transfers_.get(); }
  class PlayerPage* PlayerControlPage() const { return playerPage_; }
  class PlayerInfoPanel* PlayerInformation() const { return playerInfo_; }

  // --- catalogue::Frontend ---
  void Beep(catalogue::Sound sound) override;
  catalogue::Button ShowMessage(catalogue::MessageKind kind, const std::string& text,
                                const catalogue::Buttons& buttons) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) override;
  std::optional<std::string> ChooseOpenFile(const catalogue::FileDialogRequest& request) override;
  std::vector<std::string> ChooseOpenFiles(const catalogue::FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const catalogue::FileDialogRequest& request) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  void ApplyCommandState(const catalogue::CommandState& state) override;
  void ShowPage(catalogue::Page page) override;
  void SetStatusPanel(int panel, const std::string& text) override;
  void SetProgress(int posLo, int posHi) override;
  void SetProgressColours(catalogue::ProgressColour first, catalogue::ProgressColour second) override;
  void SetWindowTitle(const std::string& title) override;
  void ListsChanged() override;
  void PumpEvents() override;
  bool OpenWithDefaultProgram(const std::string& path) override;
  bool OpenManual(const std::string& path, int context) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void WriteSettings();
  void ApplyNjbSupport();
  void ApplyColumnLayout();
  void StorePlacement();
  void ApplyListFontSize(int size);
  void BuildActions();
  void BuildMenus();
  void BuildSpecialMenu(QMenu* menu);
  // One entry of the Special menu's field submenus: transform 0 replaces,
  // 1 to 4 are the case modes.
  void RunSpecial(int transform, tagging::TagField target);
  void BuildToolBars();
  void BuildPages();
  // The player page and the player information, which need the session.
  void BuildPlayerPages();
  void FirstActivation();
  void RunStartTimer();
  void FinishStart();
  void Trigger(CommandId id);
  void RebuildRecentMenu();
  void UpdateActionStates();
  void RelabelSpecialMenu(bool forPlayerTags);
  void OpenHelp(int context);
  // Select all / none / invert on the list of the page on display.
  void OnCurrentList(CommandId id);
  void ShowAbout();
  void SetBusyCursor(bool busy);

  catalogue::Application app_;
  StartOptions start_;
  bool firstActivation_ = true;
  catalogue::SettingsRead settingsRead_ = catalogue::SettingsRead::Missing;
  bool ending_ = false;
  bool busy_ = false;
  bool cursorOverridden_ = false;
  catalogue::CommandSwitches switches_;

  std::map<CommandId, QAction*> actions_;
  std::map<ToolPanel, QToolBar*> panels_;
  std::map<catalogue::MenuGroup, QMenu*> menus_;
  QMenu* fileMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QAction* recentTop_ = nullptr;
  QAction* recentBottom_ = nullptr;
  std::vector<QAction*> recentActions_;
  // Entries of the Special menu's field submenus, for relabelling.
  struct FieldEntry {
    QAction* action;
    QString field;
    bool version1;
  };
  std::vector<FieldEntry> specialFields_;
  std::vector<QAction*> specialVersion1Separators_;

  QTabBar* tabs_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  std::vector<class ListPopupMenu*> popups_;
  std::vector<class ViewPage*> viewPages_;
  class StatisticsPage* statisticsPage_ = nullptr;
  class PlaylistsPage* playlistsPage_ = nullptr;
  QWidget* playlistsHolder_ = nullptr;
  views::ViewsBuilder viewsBuilder_;
  // Installs itself as the page change's editor hooks.
  tagging::TagEditor tagEditor_{app_};
  class EditorPage* editorPage_ = nullptr;
  class ReplaceDialog* replaceDialog_ = nullptr;
  tagging::TagStore tagStore_;
  class Mp3Page* mp3Page_ = nullptr;
  TrackListPage* filesPage_ = nullptr;
  TrackListPage* resultsPage_ = nullptr;
  StatusBar* statusBar_ = nullptr;
  class SettingsPage* settingsPage_ = nullptr;
  class DeviceControl* deviceControl_ = nullptr;
  class SyncPage* syncPage_ = nullptr;
  class QuickCopyPage* quickCopyPage_ = nullptr;
  QWidget* playerHolder_ = nullptr;  // holds the player page once the session exists
  class PlayerPage* playerPage_ = nullptr;
  class PlayerInfoPanel* playerInfo_ = nullptr;
  std::unique_ptr<class PlayerTagControl> playerTags_;
  std::unique_ptr<class TransferControl> transfers_;
};

}  // namespace tonvault::ui
