// The Transfer Status window, the "NJB File-Transfer" sheet and a transfer
// to a folder player started from the window's command.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "QtTestApp.h"
#include "ShownWindow.h"
#include "support/ScriptedFrontend.h"
#include "catalogue/Import.h"
#include "ui/DeviceControl.h"
#include "ui/MainWindow.h"
#include "ui/pages/FileTransferPanel.h"
#include "ui/pages/SettingsPage.h"
#include "ui/transfer/TransferControl.h"
#include "ui/transfer/TransferStatusWindow.h"

namespace tonvault::ui {
namespace {

using device::TransferIcon;

class TransferWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::QtTestApp(); }
  testing::ScriptedFrontend frontend;
  catalogue::Application app{frontend};
};

std::vector<device::TransferRow> Rows() {
  device::TransferRow first{"Album", "Artist", "One", "/music/one.mp3", "4.100"};
  device::TransferRow second{"Album", "Artist", "Two", "/music/two.mp3", "3.900"};
  return {first, second};
}

TEST_F(TransferWindowTest, RowsCountersAndBarsShowTheTransfer) {
  bool ready = true;
  TransferStatusWindow window(app, [&ready] { return ready; });
  window.Open(Rows(), false);
  EXPECT_EQ(window.windowTitle(), " Transfer Status");
  EXPECT_GE(window.minimumWidth(), 520);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  QTreeWidget* list = window.List();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->headerItem()->text(5), "Filesize [kB]");
  EXPECT_EQ(list->topLevelItem(1)->text(4), "/music/two.mp3");
  EXPECT_EQ(list->topLevelItem(1)->text(6), "Waiting");
  EXPECT_EQ(window.Button()->text(), "&Stop transfer");
  EXPECT_EQ(window.Button()->toolTip(), "Stops after transfer of actual file");

  window.SetState(0, "Done", TransferIcon::Done);
  window.SetState(1, "Retry  1", TransferIcon::Error);
  window.SetCounters({1, 2, 4100, 8000, 1});
  window.SetFreeSpace(20000, 12345);
  window.ShowProgress(60);
  EXPECT_EQ(list->topLevelItem(0)->text(6), "Done");
  EXPECT_FALSE(list->topLevelItem(1)->icon(0).isNull());
  EXPECT_EQ(window.CounterText(0), "1  of  2  Files");
  EXPECT_EQ(window.CounterText(1), "4.100  of  8.000  kBytes");
  EXPECT_EQ(window.CounterText(2), "1  Errors");
  EXPECT_EQ(window.FreeBar()->Maximum(), 20000);
  EXPECT_EQ(window.FreeBar()->PosHi(), 12345);
  EXPECT_EQ(window.FreeBar()->LabelSuffix(), " MByte free");
  EXPECT_EQ(window.FileBar()->PosHi(), 60);
  EXPECT_EQ(window.FileBar()->LabelSuffix(), " %");
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window.grab().save(TONVAULT_SCREENSHOT_DIR "/transfer-status.png");

  // Stop toggles the request and the label; a player that is gone ends the run.
  window.Button()->click();
  EXPECT_TRUE(app.stopRequest);
  EXPECT_EQ(window.FileBar()->LabelSuffix(), " %  (Stop)");
  window.Button()->click();
  EXPECT_FALSE(app.stopRequest);
  ready = false;
  window.Button()->click();
  EXPECT_FALSE(window.Running());
  EXPECT_EQ(window.Button()->text(), "&Close window");
  EXPECT_EQ(window.Button()->toolTip(), "Closes window and stops transfer");
}

TEST_F(TransferWindowTest, ClosingAsksForAStopAndWaitsForTheFileInProgress) {
  TransferStatusWindow window(app, [] { return true; });
  window.Open(Rows(), false);
  app.transferToPlayerInProgress = true;
  window.close();
  EXPECT_TRUE(app.stopRequest);
  EXPECT_TRUE(window.isVisible());
  app.transferToPlayerInProgress = false;
  window.close();
  EXPECT_FALSE(window.isVisible());
  window.ShowAgain();
  EXPECT_TRUE(window.isVisible());
}

TEST_F(TransferWindowTest, AfterTransferBoxesFollowTheOptionsAndTheNomadIIHasOnlyBeep) {
  app.options.transferWindow = {};
  app.options.transferWindow.beep = true;
  app.options.transferWindow.stopNjb = true;
  TransferStatusWindow window(app, [] { return true; });
  window.Open(Rows(), false);
  device::AfterTransfer after = window.AfterTransferChoice();
  EXPECT_TRUE(after.beep && after.stopNjb && !after.switchOff);
  window.Open(Rows(), true);
  after = window.AfterTransferChoice();
  EXPECT_TRUE(after.beep);
  EXPECT_FALSE(after.stopNjb || after.switchOff);
  EXPECT_FALSE(app.options.transferWindow.stopNjb);
}

using TransferSheetTest = ShownWindowTest;

TEST_F(TransferWindowTest, TheSheetSetsTheTransferOptionsAndAsksForItsHelp) {
  catalogue::Options options;
  OptionControls controls;
  auto* panel = new FileTransferPanel(options, controls);
  std::unique_ptr<FileTransferPanel> owner(panel);
  panel->ToPlayerExisting()->button(3)->click();
  EXPECT_EQ(options.download.existingFiles, 3);
  panel->FromPlayerExisting()->button(1)->click();
  EXPECT_EQ(options.upload.existingFiles, 1);

  QCheckBox* v1 = panel->TagBox(1);
  EXPECT_EQ(v1->text(), "ID3 version 1  (if existing)");  // grey by default
  v1->click();
  EXPECT_EQ(v1->text(), "ID3 version 1  (create)");
  EXPECT_EQ(options.upload.id3v1, 2);
  v1->click();
  EXPECT_EQ(v1->text(), "ID3 version 1");
  EXPECT_EQ(options.upload.id3v1, 0);

  QSignalSpy help(panel, &FileTransferPanel::HelpRequested);
  for (QPushButton* button : panel->findChildren<QPushButton*>()) {
    if (button->text() == "&Help") button->click();
  }
  ASSERT_EQ(help.size(), 1);
  EXPECT_EQ(help.front().front().toInt(), 1900);
}

TEST_F(TransferSheetTest, TheSheetIsTheLastOfTheSettingsPage) {
  QTabWidget* sheets = Settings()->Sheets();
  window->Tabs()->setCurrentIndex(static_cast<int>(catalogue::Page::Settings));
  sheets->setCurrentWidget(sheets->widget(sheets->count() - 1));
  EXPECT_EQ(sheets->tabText(sheets->count() - 1), "NJB File-Transfer");
  QApplication::processEvents();
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/file-transfer-settings.png");
  window->App().options.njbSupportOff = true;
  emit Settings()->Options()->NjbSupportChanged();
  EXPECT_FALSE(sheets->isTabVisible(Settings()->FileTransferSheet()));
  window->App().options.njbSupportOff = false;
  emit Settings()->Options()->NjbSupportChanged();
  EXPECT_TRUE(sheets->isTabVisible(Settings()->FileTransferSheet()));
}

TEST_F(TransferSheetTest, CopyingSelectedFilesToAFolderPlayerFillsTheStatusWindow) {
  QTemporaryDir card, music;
  for (const char* name : {"waterloo.mp3", "fernando.mp3"}) {
    ASSERT_TRUE(QFile::copy(QString(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3", music.path() + "/" + name));
  }
  catalogue::Application& app = window->App();
  app.options.device = {1, card.path().toStdString()};
  app.options.import.mp3 = true;
  window->Player()->Session().ReplaceBackends();
  catalogue::ImportDropped(app, {music.path().toStdString()});
  ASSERT_EQ(app.files.size(), 2u);
  // Two rows with different titles, both selected.
  app.columnMap.Set(app.files[1], catalogue::Column::Title, "Other");
  for (auto& row : app.files) row.selected = true;
  catalogue::SelectionChanged(app);
  TransferStatusWindow& status = window->Transfers()->Window();
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&status] {
    if (status.isModal() && status.isVisible() && !status.Running()) status.close();
  });
  closer.start(20);
  status.findChild<QCheckBox*>()->setChecked(false);  // no beeps
  QAction* copy = window->Action(CommandId::CopyToNjb);
  ASSERT_TRUE(copy->isEnabled());
  copy->trigger();
  ASSERT_EQ(status.List()->topLevelItemCount(), 2);
  EXPECT_EQ(status.List()->topLevelItem(0)->text(6), "Done");
  EXPECT_EQ(status.List()->topLevelItem(1)->text(6), "Done");
  EXPECT_EQ(status.CounterText(0), "2  of  2  Files");
  EXPECT_EQ(status.CounterText(2), "0  Errors");
  EXPECT_TRUE(QDir(card.path() + "/Music").exists());
}

}  // namespace
}  // namespace tonvault::ui
