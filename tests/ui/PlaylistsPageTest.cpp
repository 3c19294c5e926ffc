// The Playlists page on screen: the two lists as the player fills them,
// their context menus, dragging, sorting and the double click.
#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QTest>

#include "QtTestApp.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"
#include "ui/pages/PlaylistsPage.h"

namespace tonvault::ui {
namespace {

class PlaylistsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::QtTestApp();
    auto player = std::make_unique<device::SimulatedPlayer>(temp_.Path(), std::vector<int>{device::kKindJukebox});
    device::Device& device = player->GetDevice();
    ASSERT_EQ(device.OpenDevice(device::kKindJukebox), device::kOk);
    std::vector<int> ids;
    for (const char* title : {"Alpha", "Beta", "Gamma"}) {
      device::AudioInfo info;
      info.title = title, info.artist = "Band", info.album = "Record", info.codec = "MP3", info.length = 61;
      int id = 0;
      ASSERT_EQ(device.SendTrack(TONVAULT_TEST_DATA "/cbr-32k-32000-mono.mp3", info, id), device::kOk);
      ids.push_back(id);
    }
    for (const char* name : {"Morning", "Evening"}) {
      int id = 0;
      ASSERT_EQ(device.CreatePlaylist(name, id), device::kOk);
      ASSERT_EQ(device.SetPlaylist(id, {name, ids}), device::kOk);
    }
    device.CloseDevice();
    auto taken = std::make_shared<std::unique_ptr<device::DeviceLibrary>>(std::move(player));
    session_ = std::make_unique<device::DeviceSession>(app_, host_, [taken] { return std::move(*taken); });
    content_ = std::make_unique<device::PlayerContent>(app_, *session_);
    app_.currentPage = catalogue::Page::Playlists;
    page_ = std::make_unique<PlaylistsPage>(app_, *session_, *content_);
    page_->resize(900, 400);
    page_->show();
    page_->Manager().LoadPlaylists();
  }
  QStringList Texts(QTreeWidget* view, int column) const {
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i) texts << view->topLevelItem(i)->text(column);
    return texts;
  }
  QPoint CentreOf(QTreeWidget* view, int row) const {
    return view->visualItemRect(view->topLevelItem(row)).center();
  }

  testing::TempFolder temp_;
  tonvault::testing::ScriptedFrontend frontend_;
  catalogue::Application app_{frontend_};
  device::HeadlessHost host_;
  std::unique_ptr<device::DeviceSession> session_;
  std::unique_ptr<device::PlayerContent> content_;
  std::unique_ptr<PlaylistsPage> page_;
};

TEST_F(PlaylistsPageTest, ListsShowTheirColumnsIconsAndHiddenIdsAndMenusFollowTheSelection) {
  QTreeWidget* playlists = page_->PlaylistView();
  QTreeWidget* tracks = page_->TrackView();
  EXPECT_EQ(Texts(playlists, 1), (QStringList{"Morning", "Evening"}));
  EXPECT_EQ(Texts(playlists, 2), (QStringList{"3", "3"}));
  EXPECT_EQ(Texts(playlists, 3), (QStringList{"00:03:03", "00:03:03"}));
  EXPECT_TRUE(playlists->isColumnHidden(4));
  EXPECT_TRUE(tracks->isColumnHidden(10));
  EXPECT_FALSE(playlists->topLevelItem(0)->icon(0).isNull());
  page_->UpdateMenus();
  const auto enabled = [](QMenu* menu) {
    QStringList on;
    for (QAction* action : menu->actions()) {
      if (action->isEnabled()) on << action->text();
    }
    return on;
  };
  EXPECT_EQ(enabled(page_->PlaylistMenu()), (QStringList{"&Load", "&New", "Save a&gain", "Load &from PC", "Save all &to PC"}));
  EXPECT_TRUE(enabled(page_->TrackMenu()).isEmpty());

  QTest::mouseClick(playlists->viewport(), Qt::LeftButton, {}, CentreOf(playlists, 1));
  EXPECT_EQ(Texts(tracks, 1), (QStringList{"Alpha", "Beta", "Gamma"}));
  QApplication::processEvents();
  emit tracks->itemDoubleClicked(tracks->topLevelItem(0), 1);
  EXPECT_EQ(tracks->selectedItems().size(), 3);
  page_->UpdateMenus();
  EXPECT_EQ(enabled(page_->PlaylistMenu()).size(), 7);
  EXPECT_EQ(enabled(page_->TrackMenu()), (QStringList{"Delete from &playlist", "Randomize", "Save &again"}));
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  page_->grab().save(TONVAULT_SCREENSHOT_DIR "/playlists.png");
}

TEST_F(PlaylistsPageTest, DraggingMovesTheRowAndAHeadingClickSorts) {
  QTreeWidget* playlists = page_->PlaylistView();
  QTreeWidget* tracks = page_->TrackView();
  QTest::mouseClick(playlists->viewport(), Qt::LeftButton, {}, CentreOf(playlists, 0));
  QTest::mouseClick(tracks->viewport(), Qt::LeftButton, {}, CentreOf(tracks, 0));
  QTest::mousePress(tracks->viewport(), Qt::LeftButton, {}, CentreOf(tracks, 0));
  QTest::mouseRelease(tracks->viewport(), Qt::LeftButton, {}, CentreOf(tracks, 2));
  QApplication::processEvents();
  EXPECT_EQ(Texts(tracks, 1), (QStringList{"Beta", "Gamma", "Alpha"}));
  EXPECT_EQ(tracks->selectedItems().size(), 1);
  EXPECT_EQ(tracks->currentItem()->text(1), "Alpha");
  // Releasing on the row itself changes nothing.
  QTest::mousePress(tracks->viewport(), Qt::LeftButton, {}, CentreOf(tracks, 1));
  QTest::mouseRelease(tracks->viewport(), Qt::LeftButton, {}, CentreOf(tracks, 1));
  QApplication::processEvents();
  EXPECT_EQ(Texts(tracks, 1), (QStringList{"Beta", "Gamma", "Alpha"}));

  app_.commandStateCode = 13;
  emit tracks->header()->sectionClicked(1);
  EXPECT_EQ(Texts(tracks, 1), (QStringList{"Alpha", "Beta", "Gamma"}));
  EXPECT_TRUE(tracks->header()->isSortIndicatorShown());
  emit playlists->header()->sectionClicked(1);
  EXPECT_EQ(Texts(playlists, 1), (QStringList{"Evening", "Morning"}));
}

}  // namespace
}  // namespace tonvault::ui
