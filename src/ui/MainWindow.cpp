#include "ui/MainWindow.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "catalogue/CloseSequence.h"
#include "catalogue/CommandLine.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/EndWithoutWindow.h"
#include "catalogue/Help.h"
#include "catalogue/Import.h"
#include "catalogue/PageChange.h"
#include "catalogue/repair/BatchAnalysis.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/StartUp.h"
#include "catalogue/StatusTexts.h"
#include "catalogue/DiskOperations.h"
#include "catalogue/ListOperations.h"
#include "tagging/extract/ExtractEntry.h"
#include "tagging/rename/RenameEntry.h"
#include "ui/AboutBox.h"
#include "ui/DeviceControl.h"
#include "ui/PlayerTagControl.h"
#include "ui/NomadMemoryChoice.h"
#include "ui/Artwork.h"
#include "ui/ListPopupMenu.h"
#include "ui/ReplaceDialog.h"
#include "ui/QtDialogs.h"
#include "ui/ReportView.h"
#include "ui/SplashWindow.h"
#include "ui/ToolIcons.h"
#include "ui/WindowPlacement.h"
#include "ui/pages/EditorPage.h"
#include "ui/pages/Mp3Page.h"
#include "ui/pages/PlaceholderPage.h"
#include "ui/pages/QuickCopyPage.h"
#include "ui/pages/PlaylistsPage.h"
#include "ui/pages/PlayerInfoPanel.h"
#include "ui/pages/PlayerPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/pages/StatisticsPage.h"
#include "ui/pages/SyncPage.h"
#include "views/Export.h"
#include "ui/pages/ViewPage.h"
#include "ui/transfer/TransferControl.h"

namespace tonvault::ui {

using catalogue::MenuGroup;
using catalogue::Page;

namespace {

QString Qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The fields the Special menu's five transforms apply to.
const char* const kSpecialFields[] = {"Title", "Artist", "Album", "Comment", "Title", "Artist", "Album", "Comment",
                                      "Genre"};
constexpr int kVersion1FieldCount = 4;
constexpr tagging::Field kSpecialFieldIds[] = {tagging::Field::Title,  tagging::Field::Artist, tagging::Field::Album,
                                               tagging::Field::Comment, tagging::Field::Title, tagging::Field::Artist,
                                               tagging::Field::Album,  tagging::Field::Comment, tagging::Field::Genre};

// The application's style with less padding beside a tab's caption.
class CompactTabStyle : public QProxyStyle {
 public:
  explicit CompactTabStyle(QObject* owner) : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
    setParent(owner);
  }
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 10;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

MainWindow::MainWindow() : MainWindow(StartOptions{}) {}

MainWindow::MainWindow(StartOptions options) : app_(*this), start_(std::move(options)) {
  app_.viewBuilder = &viewsBuilder_;
  setWindowTitle(QString::fromStdString(catalogue::WindowTitle("", false)));
  setWindowIcon(ProgramIcon());
  PlaceAtDefault(*this);
  setAcceptDrops(true);
  if (!start_.settingsPath.empty()) {
    // Read before the pages are built, so that their controls start from
    // the stored options; a missing file is reported once the window shows.
    settingsRead_ = catalogue::LoadSettings(app_, start_.settingsPath, PrimaryScreenSize());
    ApplyWindowOptions(*this, app_.options.window);
  }
  BuildActions();
  BuildMenus();
  BuildToolBars();
  BuildPages();
  deviceControl_ = new DeviceControl(
      app_,
      {tabs_, panels_[ToolPanel::Jukebox], panels_[ToolPanel::NomadII], [this](CommandId id) { return actions_.at(id); },
       settingsPage_->PlayerSettings(), settingsPage_->Sheets(), settingsPage_->PlayerSheet()},
      this);
  playerTags_ = std::make_unique<PlayerTagControl>(app_, deviceControl_->Session(), deviceControl_->Content());
  BuildPlayerPages();
  tagEditor_.SetPlayerTags(playerTags_.get());
  transfers_ = std::make_unique<TransferControl>(app_, deviceControl_->Session(), deviceControl_->Content(), this);
  syncPage_->Attach(deviceControl_->Session(), deviceControl_->Content(), &transfers_->Context());
  quickCopyPage_->Attach(transfers_->Context(), playerPage_->Control(), playlistsPage_->Manager(),
                         [this](const std::string& path) { mp3Page_->AnalyzePath(path); });
  deviceControl_->OnTransferProgress([this](int percent) { transfers_->ShowProgress(percent); });
  // The window takes the shape of the player last used before any player is touched.
  deviceControl_->ApplyDeviceKind(app_.deviceKind);
  ApplyListFontSize(app_.options.window.listFontSize);
  ApplyColumnLayout();
  ApplyNjbSupport();
  statusBar_ = new StatusBar(this);
  setStatusBar(statusBar_);
}

MainWindow::~MainWindow() {
  app_.playerPlayback = nullptr;
  tagEditor_.SetPlayerTags(nullptr);
  syncPage_->Detach();
  SetBusyCursor(false);
}

QWidget* MainWindow::PageWidget(Page page) const { return stack_->widget(static_cast<int>(page)); }

// --- building the window ---

void MainWindow::BuildActions() {
  for (const CommandInfo& info : AllCommands()) {
    auto* action = new QAction(Qs(info.caption), this);
    if (!info.hint.empty()) {
      action->setToolTip(Qs(info.hint));
      action->setIcon(ToolIconFor(info.id));
    }
    if (!info.shortcut.empty()) action->setShortcut(QKeySequence(Qs(info.shortcut)));
    action->setEnabled(info.available);
    connect(action, &QAction::triggered, this, [this, id = info.id] { Trigger(id); });
    actions_[info.id] = action;
  }
  auto* priorities = new QActionGroup(this);
  for (CommandId id : {CommandId::PriorityIdle, CommandId::PriorityNormal, CommandId::PriorityHigh}) {
    actions_[id]->setCheckable(true);
    priorities->addAction(actions_[id]);
  }
  actions_[CommandId::PriorityNormal]->setChecked(true);
  auto* memories = new QActionGroup(this);
  for (CommandId id : {CommandId::NomadInternalMemory, CommandId::NomadExternalMemory}) {
    actions_[id]->setCheckable(true);
    memories->addAction(actions_[id]);
  }
  actions_[CommandId::NomadInternalMemory]->setChecked(true);
  QAction* stop = actions_[CommandId::Stop];
  stop->setShortcutContext(Qt::ApplicationShortcut);
  stop->setVisible(false);
  stop->setEnabled(false);
}

void MainWindow::BuildMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<CommandId> ids) {
    for (CommandId id : ids) menu->addAction(actions_[id]);
  };
  fileMenu_ = menuBar()->addMenu("&File");
  add(fileMenu_, {CommandId::OpenDatabase, CommandId::OpenDatabaseSelective, CommandId::SaveDatabase,
                  CommandId::SaveDatabaseAs});
  fileMenu_->addSeparator();
  add(fileMenu_, {CommandId::Import, CommandId::ImportWithSubfolders});
  fileMenu_->addSeparator();
  add(fileMenu_, {CommandId::ReadNjb});
  recentTop_ = fileMenu_->addSeparator();
  recentBottom_ = fileMenu_->addSeparator();
  recentBottom_->setVisible(false);
  add(fileMenu_, {CommandId::Exit});
  connect(fileMenu_, &QMenu::aboutToShow, this, &MainWindow::RebuildRecentMenu);
  menus_[MenuGroup::File] = fileMenu_;

  QMenu* edit = menuBar()->addMenu("&Edit");
  add(edit, {CommandId::SelectAll, CommandId::SelectNone, CommandId::InvertSelection});
  edit->addSeparator();
  add(edit, {CommandId::CopyLinesToResults, CommandId::DeleteLines, CommandId::PlayFiles});
  edit->addSeparator();
  add(edit, {CommandId::CopyFilesToFolder, CommandId::CopyFilesToFolderWithSubfolder, CommandId::MoveFilesToFolder,
             CommandId::MoveFilesToFolderWithSubfolder, CommandId::DeleteFilesFromDisk});
  edit->addSeparator();
  add(edit, {CommandId::DeleteOnNjb, CommandId::CopyToNjb, CommandId::CopyFromNjb, CommandId::AddToPlaylist,
             CommandId::UpdateTagsOnNjb, CommandId::RebuildAudioCache, CommandId::FormatNomadII});
  edit->addSeparator();
  add(edit, {CommandId::SelectionToRam, CommandId::AnalyzeAllMp3});
  menus_[MenuGroup::Edit] = edit;

  QMenu* print = menuBar()->addMenu("&Print");
  add(print, {CommandId::SaveAsTxt, CommandId::SaveAsHtml});
  menus_[MenuGroup::Print] = print;

  QMenu* rename = menuBar()->addMenu("&Rename");
  add(rename, {CommandId::RenameOne, CommandId::RenameAll});
  menus_[MenuGroup::Rename] = rename;

  QMenu* extract = menuBar()->addMenu("E&xtract");
  add(extract, {CommandId::ExtractOne, CommandId::ExtractAll});
  menus_[MenuGroup::Extract] = extract;

  QMenu* special = menuBar()->addMenu("Spe&cial  (all files)");
  BuildSpecialMenu(special);
  menus_[MenuGroup::Special] = special;

  QMenu* priority = menuBar()->addMenu("Priorit&y");
  add(priority, {CommandId::PriorityIdle, CommandId::PriorityNormal, CommandId::PriorityHigh});

  helpMenu_ = menuBar()->addMenu("&Help");
  add(helpMenu_, {CommandId::Help, CommandId::WhatsNew230, CommandId::WhatsNew231});
  helpMenu_->addSeparator();
  add(helpMenu_, {CommandId::About});

  menuBar()->addAction(actions_[CommandId::Stop]);
  for (auto& [group, menu] : menus_) menu->menuAction()->setEnabled(group == MenuGroup::File);
}

void MainWindow::BuildSpecialMenu(QMenu* menu) {
  const char* transforms[] = {"&Remove / replace char or string in", "Convert to &lowercase",
                              "Convert to &uppercase", "&First char in first word uppercase",
                              "First char in &every word uppercase"};
  for (int t = 0; t < 5; ++t) {
    QMenu* fields = menu->addMenu(transforms[t]);
    for (int i = 0; i < 9; ++i) {
      const bool version1 = i < kVersion1FieldCount;
      QAction* entry = fields->addAction(QString(version1 ? "V1   " : "V2   ") + kSpecialFields[i]);
      const tagging::TagField target{version1 ? tagging::Version::V1 : tagging::Version::V2, kSpecialFieldIds[i]};
      connect(entry, &QAction::triggered, this, [this, t, target] { RunSpecial(t, target); });
      specialFields_.push_back({entry, kSpecialFields[i], version1});
      if (i == kVersion1FieldCount - 1) specialVersion1Separators_.push_back(fields->addSeparator());
    }
  }
  menu->addSeparator();
  for (CommandId id : {CommandId::JoinTitleArtist, CommandId::SplitTitle, CommandId::TagsToRam, CommandId::RamToTags}) {
    menu->addAction(actions_[id]);
  }
}

void MainWindow::BuildToolBars() {
  const std::pair<ToolPanel, const char*> order[] = {
      {ToolPanel::File, "File"},       {ToolPanel::Edit, "Edit"},       {ToolPanel::Print, "Print"},
      {ToolPanel::Id3, "ID3"},         {ToolPanel::TagRam, "Tag RAM"}, {ToolPanel::Player, "NJB"},
      {ToolPanel::NomadII, "Nomad II"}, {ToolPanel::Jukebox, "Jukebox"}};
  for (const auto& [panel, name] : order) {
    QToolBar* bar = addToolBar(name);
    bar->setObjectName(QString("%1ToolBar").arg(name).remove(' '));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    panels_[panel] = bar;
  }
  for (const CommandInfo& info : AllCommands()) {
    if (!info.hint.empty() && info.panel != ToolPanel::None) panels_[info.panel]->addAction(actions_[info.id]);
  }
  panels_[ToolPanel::NomadII]->addWidget(new NomadMemoryChoice(actions_[CommandId::NomadInternalMemory],
                                                               actions_[CommandId::NomadExternalMemory], this));
  panels_[ToolPanel::Id3]->setVisible(false);
  panels_[ToolPanel::TagRam]->setVisible(false);
  panels_[ToolPanel::NomadII]->setVisible(false);
  panels_[ToolPanel::Jukebox]->setVisible(false);
}

void MainWindow::BuildPages() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->setSpacing(0);
  tabs_ = new QTabBar(central);
  // Thirteen tabs fit the default window width only with narrow padding;
  // the tabs keep the style's look otherwise.
  tabs_->setStyle(new CompactTabStyle(tabs_));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
  stack_ = new QStackedWidget(central);
  for (int i = 0; i < catalogue::kPageCount; ++i) {
    const auto page = static_cast<Page>(i);
    QWidget* widget = nullptr;
    if (page == Page::Files) {
      widget = filesPage_ = new TrackListPage(app_.files, app_.columnMap, stack_);
    } else if (page == Page::Results) {
      widget = resultsPage_ = new TrackListPage(app_.results, app_.columnMap, stack_);
    } else if (page == Page::Albums || page == Page::Artists || page == Page::Genres) {
      const auto kind = static_cast<catalogue::ViewKind>(static_cast<int>(page) - static_cast<int>(Page::Albums));
      auto* viewPage = new ViewPage(app_, kind, stack_);
      viewPages_.push_back(viewPage);
      widget = viewPage;
    } else if (page == Page::Search) {
      auto* searchPage = new SearchPage(app_, stack_);
      connect(searchPage, &SearchPage::HelpRequested, this, &MainWindow::OpenHelp);
      widget = searchPage;
    } else if (page == Page::Statistics) {
      widget = statisticsPage_ = new StatisticsPage(app_, stack_);
    } else if (page == Page::Settings) {
      auto* settingsPage = settingsPage_ = new SettingsPage(app_, stack_);
      connect(settingsPage, &SettingsPage::HelpRequested, this, &MainWindow::OpenHelp);
      connect(settingsPage, &SettingsPage::CloseRequested, this, [this] {
        // Show the default layout and window place, so that closing stores them.
        showNormal();
        ApplyWindowOptions(*this, app_.options.window);
        ApplyColumnLayout();
        close();
      });
      connect(settingsPage->Options(), &OptionsPanel::ListFontSizeChanged, this, &MainWindow::ApplyListFontSize);
      connect(settingsPage->Options(), &OptionsPanel::NjbSupportChanged, this, &MainWindow::ApplyNjbSupport);
      widget = settingsPage;
      // The editor's "Keep original file date" mirrors the settings page's.
      settingsPage->Controls().Bind(editorPage_->KeepDateBox(), app_.options.id3.keepOriginalFileDate);
    } else if (page == Page::Id3Editor) {
      widget = editorPage_ = new EditorPage(app_, tagEditor_, stack_);
    } else if (page == Page::Synchronize) {
      widget = syncPage_ = new SyncPage(app_, stack_);
    } else if (page == Page::Playlists) {
      // Filled once the player's session exists (BuildPlayerPages).
      widget = playlistsHolder_ = new QWidget(stack_);
      (new QVBoxLayout(playlistsHolder_))->setContentsMargins(0, 0, 0, 0);
    } else if (page == Page::Mp3) {
      widget = mp3Page_ = new Mp3Page(app_, stack_);
      // The repair's "Keep original file date" mirrors the settings page's.
      static_cast<SettingsPage*>(stack_->widget(static_cast<int>(Page::Settings)))
          ->Controls()
          .Bind(mp3Page_->KeepDateBox(), app_.options.analyze.keepOriginalFileDate);
    } else if (page == Page::QuickCopy) {
      widget = quickCopyPage_ = new QuickCopyPage(app_, stack_);
    } else if (page == Page::Player) {
      widget = playerHolder_ = new QWidget(stack_);
      (new QVBoxLayout(playerHolder_))->setContentsMargins(0, 0, 0, 0);
    } else {
      widget = new PlaceholderPage(page, stack_);
    }
    stack_->addWidget(widget);
    if (i < catalogue::kTabbedPageCount) tabs_->addTab(Qs(catalogue::PageCaption(page)));
  }
  for (auto [list, id] : {std::pair{filesPage_, catalogue::ListId::Files}, std::pair{resultsPage_, catalogue::ListId::Results}}) {
    auto* popup = new ListPopupMenu(app_, id, list->View());
    popup->OnAnalyze([this, id] { mp3Page_->AnalyzeSelected(id); });
    popup->OnDeleteOnPlayer([this] { deviceControl_->Content().DeleteSelectedFilesOnNjb(); });
    popup->OnCopyToPlayer([this] { transfers_->CopyToPlayer(); });
    popup->OnCopyFromPlayer([this] { transfers_->CopyFromPlayer(); });
    popup->OnAddToPlaylist([this] { playlistsPage_->Manager().AddSelectedFiles(); });
    popups_.push_back(popup);
    list->OnSelectionChanged([this, popup] {
      catalogue::SelectionChanged(app_);
      popup->UpdateEnabling();
    });
    list->View()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list->View(), &QWidget::customContextMenuRequested, this,
            [list, popup](const QPoint& at) { popup->Popup(list->View()->viewport()->mapToGlobal(at)); });
    connect(list->View(), &QAbstractItemView::doubleClicked, this, [this, id] { catalogue::SelectAll(app_, id); });
    connect(list->View()->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, id](int column) {
      if (app_.commandStateCode != 0) catalogue::SortByColumn(app_, id, column);
    });
  }
  connect(tabs_, &QTabBar::currentChanged, this,
          [this](int index) { catalogue::ChangePage(app_, static_cast<Page>(index)); });
  layout->addWidget(tabs_);
  layout->addWidget(stack_, 1);
  setCentralWidget(central);
}

void MainWindow::BuildPlayerPages() {
  device::DeviceSession& session = deviceControl_->Session();
  playlistsPage_ = new PlaylistsPage(app_, session, deviceControl_->Content(), playlistsHolder_);
  playlistsHolder_->layout()->addWidget(playlistsPage_);
  playerPage_ = new PlayerPage(app_, session, playerHolder_);
  playerHolder_->layout()->addWidget(playerPage_);
  app_.playerPlayback = &playerPage_->Control();
  connect(playerPage_, &PlayerPage::HelpRequested, this, &MainWindow::OpenHelp);
  playerInfo_ = new PlayerInfoPanel(app_, session, deviceControl_->Content());
  settingsPage_->AddPlayerInformation(playerInfo_);
  playerInfo_->Information().readSoundSettings = [this] { return playerPage_->Control().Sound().Read(); };
  connect(playerInfo_, &PlayerInfoPanel::AboutRequested, this, [this] {
    ShowMessage(catalogue::MessageKind::Information, deviceControl_->PlayerAboutText(), {catalogue::Button::Ok});
  });
  // The user opening the page or the sheet reads the player; a page shown
  // by a command does not.
  connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
    if (index == static_cast<int>(Page::Player)) QTimer::singleShot(0, playerPage_, &PlayerPage::Opened);
  });
  connect(settingsPage_->Sheets()->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
    if (index == settingsPage_->PlayerSheet()) QTimer::singleShot(0, playerInfo_, &PlayerInfoPanel::Refresh);
  });
}

// --- start-up ---

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstActivation_) return;
  FirstActivation();
  QTimer::singleShot(50, this, &MainWindow::RunStartTimer);
}

void MainWindow::FirstActivation() {
  setWindowTitle(QString::fromStdString(catalogue::WindowTitle("", false)));
  statusBar_->Progress()->SetPositions(0, 0);
  // The column map keeps what the settings file gave it in the constructor:
  // a fresh state already starts with the identity.
  app_.catalogueModified = false;
  app_.viewRebuildNeeded.SetAll();
  catalogue::ChangePage(app_, Page::Files);
}

void MainWindow::RunStartTimer() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  QApplication::processEvents();
  const std::int64_t delay =
      start_.splash ? catalogue::SplashCloseDelayMs(start_.splash->ShownSecond(), catalogue::TickMilliseconds()) : 0;
  QTimer::singleShot(static_cast<int>(delay), this, &MainWindow::FinishStart);
}

void MainWindow::FinishStart() {
  if (start_.splash) {
    start_.splash->close();
    start_.splash->deleteLater();
    start_.splash = nullptr;
  }
  if (!start_.settingsPath.empty()) {
    if (settingsRead_ == catalogue::SettingsRead::Missing) catalogue::WarnSettingsMissing(app_);
    if (settingsRead_ == catalogue::SettingsRead::Unreadable) catalogue::WarnSettingsUnreadable(app_, start_.settingsPath);
  }
  catalogue::HandleCommandLine(app_, start_.arguments);
}

// --- commands handled by the window itself ---

void MainWindow::Trigger(CommandId id) {
  switch (id) {
    case CommandId::Exit: close(); break;
    case CommandId::Help: OpenHelp(100); break;
    case CommandId::WhatsNew230: OpenHelp(1405); break;
    case CommandId::WhatsNew231: OpenHelp(1406); break;
    case CommandId::About: ShowAbout(); break;
    case CommandId::StopNjbNow: deviceControl_->StopNow(); break;
    case CommandId::SwitchOffNjb: deviceControl_->SwitchOff(); break;
    case CommandId::UpdateTagsOnNjb: playerTags_->UpdateTagsOnNjb(); break;
    case CommandId::ReadNjb: deviceControl_->Content().ReadFilesOnNjb(); break;
    case CommandId::DeleteOnNjb: deviceControl_->Content().DeleteSelectedFilesOnNjb(); break;
    case CommandId::CopyToNjb: transfers_->CopyToPlayer(); break;
    case CommandId::CopyFromNjb: transfers_->CopyFromPlayer(); break;
    case CommandId::AddToPlaylist: playlistsPage_->Manager().AddSelectedFiles(); break;
    case CommandId::RebuildAudioCache: deviceControl_->Content().RebuildAudioCache(); break;
    case CommandId::FormatNomadII: playerInfo_->FormatNomadII(); break;
    case CommandId::NomadInternalMemory:
    case CommandId::NomadExternalMemory:
      deviceControl_->Content().ChooseNomadMemory(id == CommandId::NomadExternalMemory);
      actions_[deviceControl_->Content().ChosenMemory() == 1 ? CommandId::NomadExternalMemory
                                                             : CommandId::NomadInternalMemory]
          ->setChecked(true);
      break;
    case CommandId::PriorityIdle: catalogue::ChoosePriority(app_, catalogue::Priority::Idle); break;
    case CommandId::PriorityNormal: catalogue::ChoosePriority(app_, catalogue::Priority::Normal); break;
    case CommandId::PriorityHigh: catalogue::ChoosePriority(app_, catalogue::Priority::High); break;
    case CommandId::Stop: catalogue::StopCommand(app_); break;
    case CommandId::OpenDatabase: catalogue::OpenDatabase(app_, false); break;
    case CommandId::OpenDatabaseSelective: catalogue::OpenDatabase(app_, true); break;
    case CommandId::SaveDatabase: catalogue::SaveDatabase(app_); break;
    case CommandId::SaveDatabaseAs: catalogue::SaveDatabaseAs(app_); break;
    case CommandId::Import: catalogue::ImportFolder(app_, false); break;
    case CommandId::SelectAll:
    case CommandId::SelectNone:
    case CommandId::InvertSelection: OnCurrentList(id); break;
    case CommandId::CopyLinesToResults: catalogue::CopySelectedLinesToResults(app_); break;
    case CommandId::DeleteLines: catalogue::DeleteSelectedLines(app_); break;
    case CommandId::PlayFiles: catalogue::PlaySelectedFiles(app_); break;
    case CommandId::CopyFilesToFolder: catalogue::CopyOrMoveFiles(app_, true, false); break;
    case CommandId::CopyFilesToFolderWithSubfolder: catalogue::CopyOrMoveFiles(app_, true, true); break;
    case CommandId::MoveFilesToFolder: catalogue::CopyOrMoveFiles(app_, false, false); break;
    case CommandId::MoveFilesToFolderWithSubfolder: catalogue::CopyOrMoveFiles(app_, false, true); break;
    case CommandId::DeleteFilesFromDisk: catalogue::DeleteFiles(app_); break;
    case CommandId::SaveAsTxt: views::ExportText(app_); break;
    case CommandId::AnalyzeAllMp3: catalogue::BatchAnalyze(app_); break;
    case CommandId::SaveAsHtml: views::ExportHtml(app_); break;
    case CommandId::ImportWithSubfolders: catalogue::ImportFolder(app_, true); break;
    case CommandId::RenameOne: tagging::RenameSingleFile(tagEditor_); break;
    case CommandId::RenameAll: tagging::RenameAllFiles(tagEditor_); break;
    case CommandId::ExtractOne: tagging::ExtractSingleFile(tagEditor_); break;
    case CommandId::ExtractAll: tagging::ExtractAllFiles(tagEditor_); break;
    case CommandId::JoinTitleArtist: tagging::JoinTitleAndArtist(tagEditor_); break;
    case CommandId::SplitTitle: tagging::SplitTitleAndArtist(tagEditor_); break;
    case CommandId::TagsToRam: tagging::TagsToRam(tagEditor_, tagStore_); break;
    case CommandId::RamToTags: tagging::RamToTags(tagEditor_, tagStore_); break;
    case CommandId::SelectionToRam: tagging::SelectionToRam(app_, tagStore_); break;
    default: break;
  }
  const CommandId checked = app_.priority == catalogue::Priority::Idle   ? CommandId::PriorityIdle
                            : app_.priority == catalogue::Priority::High ? CommandId::PriorityHigh
                                                                          : CommandId::PriorityNormal;
  actions_[checked]->setChecked(true);
}

void MainWindow::RunSpecial(int transform, tagging::TagField target) {
  if (transform > 0) {
    static constexpr tagging::CaseMode kModes[] = {tagging::CaseMode::Lower, tagging::CaseMode::Upper,
                                                   tagging::CaseMode::FirstWord, tagging::CaseMode::EveryWord};
    tagging::ChangeCaseInAll(tagEditor_, target, kModes[transform - 1]);
    return;
  }
  if (replaceDialog_ == nullptr) {
    replaceDialog_ = new ReplaceDialog(this);
    connect(replaceDialog_, &ReplaceDialog::HelpRequested, this, &MainWindow::OpenHelp);
  }
  if (const auto pair = replaceDialog_->Ask()) tagging::ReplaceInAll(tagEditor_, target, pair->first, pair->second);
}

void MainWindow::OnCurrentList(CommandId id) {
  const auto list = catalogue::ListOfCurrentPage(app_);
  if (!list) {
    Beep(catalogue::Sound::Default);
    return;
  }
  if (id == CommandId::SelectAll) catalogue::SelectAll(app_, *list);
  else if (id == CommandId::SelectNone) catalogue::SelectNone(app_, *list);
  else catalogue::InvertSelection(app_, *list);
}

void MainWindow::OpenHelp(int context) { catalogue::ShowHelp(app_, context); }

void MainWindow::ShowAbout() {
  AboutBox box(this);
  box.PlayerLibraryButton()->setVisible(!app_.options.njbSupportOff);
  box.PlayerLibraryButton()->setEnabled(deviceControl_->Session().LibraryPresent());
  connect(box.PlayerLibraryButton(), &QPushButton::clicked, &box, [this, &box] {
    box.accept();
    ShowMessage(catalogue::MessageKind::Information, deviceControl_->PlayerAboutText(), {catalogue::Button::Ok});
  });
  box.exec();
}

void MainWindow::RebuildRecentMenu() {
  for (QAction* action : recentActions_) {
    fileMenu_->removeAction(action);
    action->deleteLater();
  }
  recentActions_.clear();
  for (const std::string& path : app_.recentDatabases.Entries()) {
    auto* action = new QAction(QString::fromStdString(path), fileMenu_);
    connect(action, &QAction::triggered, this, [this, path] { catalogue::OpenRecentDatabase(app_, path); });
    fileMenu_->insertAction(recentBottom_, action);
    action->setEnabled(switches_.Menu(MenuGroup::File) && !busy_);
    recentActions_.push_back(action);
  }
  recentBottom_->setVisible(!recentActions_.empty());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (ending_) {
    event->accept();
    return;
  }
  if (!catalogue::CloseQuery(app_)) {
    event->ignore();
    return;
  }
  catalogue::OnClose(app_);
  WriteSettings();
  event->accept();
}

void MainWindow::ApplyListFontSize(int size) {
  std::vector<QTableView*> lists = {filesPage_->View(), resultsPage_->View()};
  for (ViewPage* page : viewPages_) lists.push_back(page->View());
  for (QTableView* list : lists) {
    QFont font = list->font();
    font.setPointSize(size);
    SetReportFont(list, font);
  }
}

void MainWindow::ApplyNjbSupport() {
  const bool on = !app_.options.njbSupportOff;
  for (Page page : {Page::Synchronize, Page::Playlists, Page::QuickCopy}) tabs_->setTabVisible(static_cast<int>(page), on);
  for (CommandId id : {CommandId::ReadNjb, CommandId::DeleteOnNjb, CommandId::CopyToNjb, CommandId::CopyFromNjb,
                       CommandId::AddToPlaylist, CommandId::UpdateTagsOnNjb}) {
    actions_.at(id)->setVisible(on);
  }
  if (settingsPage_) settingsPage_->Sheets()->setTabVisible(settingsPage_->FileTransferSheet(), on);
  for (ListPopupMenu* popup : popups_) popup->SetPlayerEntriesVisible(on);
  if (deviceControl_) deviceControl_->ApplyNjbSupport();
}

void MainWindow::ApplyColumnLayout() {
  filesPage_->ApplyLayout(app_.options.columns);
  resultsPage_->ApplyLayout(app_.options.columns);
  filesPage_->Model()->Reset();
  resultsPage_->Model()->Reset();
}

void MainWindow::StorePlacement() {
  StoreWindowOptions(*this, app_.options.window);
  filesPage_->StoreLayout(app_.options.columns);
  // The Quick Copy panes split the page in half until the user moves the split.
  if (app_.options.quick.leftPanelWidth <= 0) app_.options.quick.leftPanelWidth = stack_->width() / 2;
}

void MainWindow::EndWithoutAsking() {
  if (ending_) return;
  ending_ = true;
  app_.stopRequest = true;
  if (!start_.settingsPath.empty()) {
    StorePlacement();
    catalogue::EndWithoutWindow(app_, start_.settingsPath);
  }
  QApplication::quit();
}

void MainWindow::WriteSettings() {
  if (start_.settingsPath.empty()) return;
  StorePlacement();
  // Recovery catalogues another copy wrote while this one ran stay listed.
  catalogue::ListRecoveryCatalogues(app_, std::filesystem::path(start_.settingsPath).parent_path().string());
  catalogue::WriteSettingsFile(app_, start_.settingsPath);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  catalogue::ImportDropped(app_, paths);
}

// --- command state ---

void MainWindow::SetBusyCursor(bool busy) {
  if (busy && !cursorOverridden_) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!busy && cursorOverridden_) QApplication::restoreOverrideCursor();
  cursorOverridden_ = busy;
}

void MainWindow::ApplyCommandState(const catalogue::CommandState& state) {
  busy_ = state.busy;
  switches_.Apply(state);
  tabs_->setEnabled(!busy_);
  SetBusyCursor(busy_);
  QAction* stop = actions_[CommandId::Stop];
  stop->setVisible(busy_);
  stop->setEnabled(busy_);
  panels_[ToolPanel::Edit]->setVisible(switches_.editPanel);
  panels_[ToolPanel::Print]->setVisible(switches_.printPanel);
  panels_[ToolPanel::Id3]->setVisible(switches_.id3Panel);
  panels_[ToolPanel::TagRam]->setVisible(switches_.tagRamPanel);
  if (state.specialForPlayerTags != catalogue::Switch::Unchanged) {
    RelabelSpecialMenu(state.specialForPlayerTags == catalogue::Switch::On);
  }
  UpdateActionStates();
}

void MainWindow::UpdateActionStates() {
  for (const CommandInfo& info : AllCommands()) {
    if (info.id == CommandId::Stop) continue;
    bool enabled = info.available && (info.group ? switches_.Group(*info.group) : !busy_);
    if (info.id == CommandId::AddToPlaylist) enabled = enabled && switches_.addToPlaylistEnabled;
    actions_[info.id]->setEnabled(enabled);
  }
  for (auto& [group, menu] : menus_) menu->menuAction()->setEnabled(switches_.Menu(group));
  helpMenu_->menuAction()->setEnabled(switches_.helpMenu);
  for (QAction* recent : recentActions_) recent->setEnabled(!busy_);
}

void MainWindow::RelabelSpecialMenu(bool forPlayerTags) {
  for (const FieldEntry& entry : specialFields_) {
    const bool hidden = forPlayerTags && (entry.version1 || entry.field == "Comment");
    entry.action->setVisible(!hidden);
    entry.action->setText(forPlayerTags ? entry.field : (entry.version1 ? "V1   " : "V2   ") + entry.field);
  }
  for (QAction* separator : specialVersion1Separators_) separator->setVisible(!forPlayerTags);
}

// --- the rest of the frontend ---

void MainWindow::Beep(catalogue::Sound) { QApplication::beep(); }

catalogue::Button MainWindow::ShowMessage(catalogue::MessageKind kind, const std::string& text,
                                          const catalogue::Buttons& buttons) {
  if (ending_) return catalogue::AnswerWhileEnding(text, buttons);
  return ShowMessageBox(this, kind, text, buttons);
}

std::optional<std::string> MainWindow::ChooseFolder(const std::string& title, const std::string& startFolder) {
  return ShowFolderDialog(this, title, startFolder);
}

std::optional<std::string> MainWindow::ChooseOpenFile(const catalogue::FileDialogRequest& request) {
  return ShowOpenDialog(this, request);
}

std::vector<std::string> MainWindow::ChooseOpenFiles(const catalogue::FileDialogRequest& request) {
  return ShowOpenFilesDialog(this, request);
}

std::optional<std::string> MainWindow::ChooseSaveFile(const catalogue::FileDialogRequest& request) {
  return ShowSaveDialog(this, request);
}

std::optional<std::string> MainWindow::InputText(const std::string& title, const std::string& prompt,
                                                 const std::string& initial) {
  return ShowInputDialog(this, title, prompt, initial);
}

void MainWindow::ShowPage(Page page) {
  const int index = static_cast<int>(page);
  stack_->setCurrentIndex(index);
  if (index < catalogue::kTabbedPageCount) {
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(index);
  }
}

void MainWindow::SetStatusPanel(int panel, const std::string& text) {
  statusBar_->SetPanelText(panel, QString::fromStdString(text));
}

void MainWindow::SetProgress(int posLo, int posHi) { statusBar_->Progress()->SetPositions(posLo, posHi); }

void MainWindow::SetProgressColours(catalogue::ProgressColour first, catalogue::ProgressColour second) {
  statusBar_->Progress()->SetColours(ProgressColourOf(first), ProgressColourOf(second));
}

void MainWindow::SetWindowTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void MainWindow::ListsChanged() {
  filesPage_->Reload(app_.filesSort);
  resultsPage_->Reload(app_.resultsSort);
  for (ListPopupMenu* popup : popups_) popup->UpdateEnabling();
  for (ViewPage* page : viewPages_) page->Reload();
  statisticsPage_->Reload();
}

void MainWindow::PumpEvents() {
  // Rows a running import, load or search appended show in the list now,
  // not only when the command ends.
  filesPage_->Model()->ShowAppendedRows();
  resultsPage_->Model()->ShowAppendedRows();
  QApplication::processEvents();
}

bool MainWindow::OpenWithDefaultProgram(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool MainWindow::OpenManual(const std::string& path, int context) {
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
  url.setFragment(QString("ctx-%1").arg(context));
  return QDesktopServices::openUrl(url);
}

}  // namespace tonvault::ui
