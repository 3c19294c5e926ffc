// The window's shape for each kind of player, and the player settings sheet.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTimer>

#include "QtTestApp.h"
#include "ShownWindow.h"
#include "ui/DeviceControl.h"
#include "ui/MainWindow.h"
#include "ui/pages/PlayerSettingsPanel.h"
#include "ui/pages/PlaylistsPage.h"
#include "ui/pages/SettingsPage.h"

namespace tonvault::ui {
namespace {

using catalogue::Page;

class PlayerWindowTest : public ShownWindowTest {
 protected:
  bool PlayerTabShown() const { return window->Tabs()->isTabVisible(static_cast<int>(Page::Player)); }
  bool Shown(QWidget* widget) const { return !widget->isHidden(); }
};

TEST_F(PlayerWindowTest, EachKindOfPlayerGivesTheWindowItsShape) {
  DeviceControl& player = *window->Player();
  window->App().deviceKind = 2;
  player.ApplyDeviceKind(2);
  EXPECT_FALSE(PlayerTabShown());
  EXPECT_TRUE(Shown(window->PanelBar(ToolPanel::NomadII)));
  EXPECT_TRUE(window->Action(CommandId::FormatNomadII)->isVisible());
  EXPECT_FALSE(window->Action(CommandId::StopNjbNow)->isVisible());
  EXPECT_FALSE(Shown(Settings()->PlayerSettings()->StopAfterBox()));
  EXPECT_FALSE(window->App().options.transferWindow.stopNjb);

  window->App().deviceKind = 1;
  player.ApplyDeviceKind(1);
  player.ShowJukeboxToolBar(true);
  EXPECT_TRUE(PlayerTabShown());
  EXPECT_FALSE(Shown(window->PanelBar(ToolPanel::NomadII)));
  EXPECT_TRUE(Shown(window->PanelBar(ToolPanel::Jukebox)));
  EXPECT_FALSE(window->Action(CommandId::FormatNomadII)->isVisible());
  EXPECT_TRUE(Shown(Settings()->PlayerSettings()->StopAfterBox()));

  player.ApplyDeviceKind(0);
  EXPECT_FALSE(Shown(window->PanelBar(ToolPanel::Jukebox)));
}

TEST_F(PlayerWindowTest, SwitchingOffPlayerSupportHidesTheSheetAndTheToolBars) {
  DeviceControl& player = *window->Player();
  window->App().deviceKind = 2;
  player.ApplyDeviceKind(2);
  QTabWidget* sheets = Settings()->Sheets();
  EXPECT_EQ(sheets->tabText(Settings()->PlayerSheet()), "NJB - Settings");
  window->App().options.njbSupportOff = true;
  player.ApplyNjbSupport();
  EXPECT_FALSE(sheets->isTabVisible(Settings()->PlayerSheet()));
  EXPECT_FALSE(Shown(window->PanelBar(ToolPanel::NomadII)));
  window->App().options.njbSupportOff = false;
  player.ApplyNjbSupport();
  EXPECT_TRUE(sheets->isTabVisible(Settings()->PlayerSheet()));
  EXPECT_TRUE(Shown(window->PanelBar(ToolPanel::NomadII)));
  EXPECT_FALSE(PlayerTabShown());  // a Nomad II has no player page
}

TEST_F(PlayerWindowTest, TheSimulatedJukeboxStartsFromTheSettingsAndStopsWithTheButton) {
  window->App().options.device.player = 2;
  DeviceControl& player = *window->Player();
  player.Session().ReplaceBackends();  // as choosing on the sheet does
  ASSERT_TRUE(player.Session().StartDevice(true));
  EXPECT_EQ(window->App().deviceKind, 1);
  EXPECT_TRUE(Shown(window->PanelBar(ToolPanel::Jukebox)));
  EXPECT_NE(player.PlayerAboutText().find("simulated player (demonstration)"), std::string::npos);
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Settings));
  Settings()->Sheets()->setCurrentIndex(Settings()->PlayerSheet());
  QApplication::processEvents();
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/player-settings.png");
  window->Action(CommandId::StopNjbNow)->trigger();
  EXPECT_FALSE(player.Session().DeviceStarted());
  EXPECT_FALSE(Shown(window->PanelBar(ToolPanel::Jukebox)));
}

TEST_F(PlayerWindowTest, ReadingThePlayerFillsFilesWithItsTracks) {
  QTemporaryDir card;
  ASSERT_TRUE(QDir(card.path()).mkpath("Music"));
  for (const char* name : {"waterloo.mp3", "fernando.mp3", "chiquitita.mp3"}) {
    ASSERT_TRUE(QFile::copy(QString(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3", card.path() + "/Music/" + name));
  }
  catalogue::Application& app = window->App();
  app.options.device = {1, card.path().toStdString()};
  window->Player()->Session().ReplaceBackends();
  QAction* read = window->Action(CommandId::ReadNjb);
  ASSERT_TRUE(read->isEnabled());
  read->trigger();
  QApplication::processEvents();
  ASSERT_EQ(app.files.size(), 3u);
  EXPECT_EQ(app.files[0].icon, catalogue::StatusIcon::JukeboxTrack);
  EXPECT_EQ(app.columnMap.Get(app.files[0], catalogue::Column::Path), "--- NJB ---");
  EXPECT_EQ(window->Player()->Content().Table().Size(), 3u);
  EXPECT_EQ(app.currentPage, Page::Files);
  app.files[0].selected = true;
  catalogue::SelectionChanged(app);
  QApplication::processEvents();
  EXPECT_TRUE(window->Action(CommandId::DeleteOnNjb)->isEnabled());
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/player-files.png");
}

TEST_F(PlayerWindowTest, TheNomadMemoryChoiceSwitchesThePlayerAndPressesItsButton) {
  catalogue::Application& app = window->App();
  app.options.device = {3, {}};  // the simulated Nomad II
  window->Player()->Session().ReplaceBackends();
  app.deviceKind = 2;
  window->Player()->ApplyDeviceKind(2);
  window->resize(1280, 760);  // the whole Nomad II tool bar fits
  QApplication::processEvents();
  auto* choice = window->findChild<QWidget*>("NomadMemoryChoice");
  ASSERT_NE(choice, nullptr);
  EXPECT_FALSE(choice->isHidden());
  const auto buttons = choice->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_TRUE(buttons[0]->isChecked());
  buttons[1]->click();
  QApplication::processEvents();
  EXPECT_EQ(window->Player()->Content().ChosenMemory(), 1);
  EXPECT_TRUE(window->Action(CommandId::NomadExternalMemory)->isChecked());
  EXPECT_FALSE(window->Player()->Content().Table().DeviceTableStale());
  window->Action(CommandId::NomadInternalMemory)->trigger();  // the tool button
  QApplication::processEvents();
  EXPECT_TRUE(buttons[0]->isChecked());
  EXPECT_EQ(window->Player()->Content().ChosenMemory(), 0);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/nomad-memory.png");
}

// The Playlists page is built before the window's player session exists; it
// must still work on that session once the window is up.
TEST_F(PlayerWindowTest, ThePlaylistsPageUsesTheWindowsPlayerSession) {
  auto* page = window->findChild<PlaylistsPage*>();
  ASSERT_NE(page, nullptr);
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->defaultButton()->click();
  });
  answer.start(20);
  page->Manager().LoadPlaylists();
  answer.stop();
  EXPECT_TRUE(page->Manager().Lists().playlists.empty());
}

}  // namespace
}  // namespace tonvault::ui
