// The Quick Copy page on screen with a simulated Jukebox: both panes as the
// model fills them, the buttons and pop-up entries, double clicks, a drop
// on a folder row, and pictures of every level in both modes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTest>

#include "QtTestApp.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "device/transfer/TransferRecord.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"
#include "ui/pages/QuickCopyPage.h"

namespace tonvault::ui {
namespace {

constexpr const char* kSample = TONVAULT_TEST_DATA "/cbr-32k-32000-mono.mp3";

class QuickCopyPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::QtTestApp();
    QDir().mkpath(Pc() + "Albums/Live");
    QFile::copy(kSample, Pc() + "song.mp3");
    QFile::copy(kSample, Pc() + "Albums/Live/one.mp3");
    QFile file(Pc() + "notes.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'n'));
    file.close();
    auto player = std::make_unique<device::SimulatedPlayer>(temp_.Path() + "/player", std::vector<int>{device::kKindJukebox});
    device::Device& device = player->GetDevice();
    ASSERT_EQ(device.OpenDevice(device::kKindJukebox), device::kOk);
    const char* tracks[][4] = {{"Alpha", "Band", "Record", "Rock"}, {"Beta", "Band", "Record", "Rock"},
                               {"Gamma", "Singer", "Solo", "Pop"}, {"Delta", "Band", "Another", "Rock"}};
    for (const auto& track : tracks) {
      device::AudioInfo info;
      info.title = track[0], info.artist = track[1], info.album = track[2], info.genre = track[3];
      info.codec = "MP3", info.length = 61, info.fileName = std::string(track[0]) + ".mp3";
      int id = 0;
      ASSERT_EQ(device.SendTrack(kSample, info, id), device::kOk);
    }
    device::DataInfo data{"manual.pdf", 0, 0};
    int id = 0;
    ASSERT_EQ(device.SendDataFile(Pc().toStdString() + "notes.txt", data, id), device::kOk);
    device.CloseDevice();
    auto taken = std::make_shared<std::unique_ptr<device::DeviceLibrary>>(std::move(player));
    session_ = std::make_unique<device::DeviceSession>(app_, host_, [taken] { return std::move(*taken); });
    content_ = std::make_unique<device::PlayerContent>(app_, *session_);
    context_ = std::make_unique<device::TransferContext>(device::TransferContext{app_, *session_, *content_, window_});
    playback_ = std::make_unique<device::PlaybackControl>(app_, *session_);
    playlists_ = std::make_unique<device::PlaylistManager>(app_, *session_, *content_);
    window_.After().beep = false;
    app_.uploadFolder = Pc().toStdString();
    app_.currentPage = catalogue::Page::QuickCopy;
    page_ = std::make_unique<QuickCopyPage>(app_);
    page_->Attach(*context_, *playback_, *playlists_, [this](const std::string& path) { analyzed_ = path; });
    page_->resize(1100, 520);
    page_->show();
    page_->Fill();
    // No player was found before the page showed: its pane is read at once.
    page_->Model()->FillPlayerPane(true);
    page_->Refill();
    QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  }
  QString Pc() const { return QString::fromStdString(temp_.Path()) + "/pc/"; }
  QStringList Texts(QTreeWidget* view, int column) const {
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i) texts << view->topLevelItem(i)->text(column);
    return texts;
  }
  void DoubleClick(QTreeWidget* view, int row) {
    const QPoint centre = view->visualItemRect(view->topLevelItem(row)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
  }
  QPushButton* ButtonNamed(const QString& caption) const {
    for (QPushButton* button : page_->findChildren<QPushButton*>()) {
      if (button->text() == caption) return button;
    }
    ADD_FAILURE() << caption.toStdString();
    return nullptr;
  }
  QStringList Enabled(QMenu* menu) const {
    QStringList on;
    for (QAction* action : menu->actions()) {
      if (action->isEnabled() && !action->isSeparator() && !action->text().startsWith("Select") &&
          action->text() != "Invert selection") {
        on << action->text();
      }
    }
    return on;
  }
  void Shoot(const char* name) {
    QApplication::processEvents();
    page_->grab().save(QString(TONVAULT_SCREENSHOT_DIR "/") + name);
  }

  testing::TempFolder temp_;
  tonvault::testing::ScriptedFrontend frontend_;
  catalogue::Application app_{frontend_};
  device::HeadlessHost host_;
  device::TransferRecord window_;
  std::unique_ptr<device::DeviceSession> session_;
  std::unique_ptr<device::PlayerContent> content_;
  std::unique_ptr<device::TransferContext> context_;
  std::unique_ptr<device::PlaybackControl> playback_;
  std::unique_ptr<device::PlaylistManager> playlists_;
  std::unique_ptr<QuickCopyPage> page_;
  std::string analyzed_;
};

TEST_F(QuickCopyPageTest, PanesShowTheFolderAndThePlayersLevelsAndDoubleClicksGoDown) {
  QTreeWidget* pc = page_->PcView();
  QTreeWidget* player = page_->PlayerView();
  EXPECT_EQ(Texts(pc, 1), (QStringList{"Albums", "song.mp3"}));
  EXPECT_EQ(Texts(player, 1), (QStringList{"Albums", "Artists", "Genres"}));
  EXPECT_FALSE(ButtonNamed("Copy selected files from NJB to PC")->isEnabled());
  Shoot("quick-copy-audio-0.png");

  DoubleClick(player, 0);
  EXPECT_EQ(Texts(player, 1), (QStringList{"Another", "Record", "Solo"}));
  EXPECT_TRUE(ButtonNamed("Copy selected files from NJB to PC")->isEnabled());
  EXPECT_TRUE(ButtonNamed("Play selected files on NJB")->isEnabled());
  Shoot("quick-copy-audio-1.png");

  DoubleClick(player, 1);
  EXPECT_EQ(Texts(player, 2), (QStringList{"Alpha", "Beta"}));
  Shoot("quick-copy-audio-2.png");
  ButtonNamed("Up One Level ")->click();
  EXPECT_EQ(Texts(player, 1), (QStringList{"Another", "Record", "Solo"}));

  DoubleClick(pc, 0);
  EXPECT_EQ(Texts(pc, 1), (QStringList{"Live"}));
  ButtonNamed("One Level Up")->click();
  EXPECT_EQ(Texts(pc, 1), (QStringList{"Albums", "song.mp3"}));
}

TEST_F(QuickCopyPageTest, DataModeListsDataFilesOnBothSides) {
  ButtonNamed("Data")->click();
  EXPECT_TRUE(ButtonNamed("Data")->isChecked());
  EXPECT_FALSE(ButtonNamed("Audio")->isChecked());
  EXPECT_EQ(Texts(page_->PcView(), 1), (QStringList{"Albums", "notes.txt"}));
  EXPECT_EQ(Texts(page_->PlayerView(), 1), (QStringList{"manual.pdf"}));
  EXPECT_EQ(Texts(page_->PlayerView(), 6), (QStringList{"5"}));
  EXPECT_TRUE(ButtonNamed("Delete selected files on NJB")->isEnabled());
  EXPECT_FALSE(ButtonNamed("Play selected files on NJB")->isEnabled());
  Shoot("quick-copy-data.png");
  ButtonNamed("Audio")->click();
  EXPECT_TRUE(app_.options.quick.audio);
}

TEST_F(QuickCopyPageTest, PopupEntriesFollowTheFocusedRow) {
  QTreeWidget* pc = page_->PcView();
  pc->setCurrentItem(pc->topLevelItem(0));
  page_->UpdateMenus();
  EXPECT_EQ(Enabled(page_->PcMenu()), (QStringList{"Copy selected files to NJB"}));
  pc->setCurrentItem(pc->topLevelItem(1));
  page_->UpdateMenus();
  EXPECT_EQ(Enabled(page_->PcMenu()), (QStringList{"Copy selected files to NJB", "Song details", "Analyze / Fix  MP3",
                                                   "Play with default MP3 player"}));
  page_->PcMenu()->actions().at(2)->trigger();
  EXPECT_EQ(analyzed_, Pc().toStdString() + "song.mp3");

  page_->UpdateMenus();
  EXPECT_TRUE(Enabled(page_->PlayerMenu()).isEmpty());
  DoubleClick(page_->PlayerView(), 0);
  page_->PlayerView()->setCurrentItem(page_->PlayerView()->topLevelItem(0));
  page_->UpdateMenus();
  EXPECT_EQ(Enabled(page_->PlayerMenu()), (QStringList{"Copy selected files to PC", "Delete selected files on NJB",
                                                       "Play on NJB", "Add to Playlist", "Copy info to FILES page"}));
}

TEST_F(QuickCopyPageTest, DroppingPlayerRowsOnAFolderRowCopiesIntoIt) {
  QTreeWidget* player = page_->PlayerView();
  DoubleClick(player, 1);  // artists
  DoubleClick(player, 1);  // "Singer"
  player->topLevelItem(0)->setSelected(true);
  page_->DropOn(page_->PcView(), 0);
  EXPECT_EQ(app_.uploadFolder, Pc().toStdString() + "Albums/");
  EXPECT_EQ(Texts(page_->PcView(), 1), (QStringList{"Live", "Gamma.mp3"}));
  EXPECT_EQ(window_.Counters().errors, 0);
}

TEST_F(QuickCopyPageTest, AHeadingClickSortsWithItsArrowAndColumnWidthsAreKept) {
  QTreeWidget* player = page_->PlayerView();
  DoubleClick(player, 1);  // artists
  DoubleClick(player, 0);  // "Band"
  emit player->header()->sectionClicked(2);
  EXPECT_EQ(Texts(player, 2), (QStringList{"Alpha", "Beta", "Delta"}));
  emit player->header()->sectionClicked(2);
  EXPECT_EQ(Texts(player, 2), (QStringList{"Delta", "Beta", "Alpha"}));
  EXPECT_TRUE(player->header()->isSortIndicatorShown());
  EXPECT_EQ(player->header()->sortIndicatorSection(), 2);
  EXPECT_EQ(player->header()->sortIndicatorOrder(), Qt::DescendingOrder);
  player->setColumnWidth(3, 140);
  EXPECT_EQ(app_.options.quick.rightColumnWidths[3], 140);
}

TEST_F(QuickCopyPageTest, TheSplitterKeepsTheLeftWidth) {
  page_->Splitter()->setSizes({300, 700});
  emit page_->Splitter()->splitterMoved(300, 1);
  EXPECT_EQ(app_.options.quick.leftPanelWidth, page_->Splitter()->sizes().value(0));
}

}  // namespace
}  // namespace tonvault::ui
