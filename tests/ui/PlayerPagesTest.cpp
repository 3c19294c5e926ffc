// The page "NJB Player" and the player information on "NJB - Settings",
// over the simulated players with a scripted frontend.
#include <gtest/gtest.h>

#include <QDir>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "QtTestApp.h"
#include "device/folder/FolderPlayer.h"
#include "device/folder/TrackIndex.h"
#include "device/session/HeadlessHost.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/ReplaceFile.h"
#include "support/ScriptedFrontend.h"
#include "ui/pages/PlayerInfoPanel.h"
#include "ui/pages/PlayerPage.h"

namespace tonvault::ui {
namespace {

class PlayerPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::QtTestApp(); }
  // A simulated player of `kind` with three tracks of 100 s.
  void Attach(int kind) {
    const std::string root =
        folder_.path().toStdString() + (kind == device::kKindNomadII ? "/nomad2-internal" : "/jukebox-internal");
    std::filesystem::create_directories(root + "/.tonvault-player");
    device::TrackIndex index;
    for (const char* title : {"Waterloo", "Fernando", "Chiquitita"}) {
      device::AudioInfo info;
      info.title = title, info.artist = "ABBA", info.codec = "MP3", info.length = 100, info.fileSize = 2'000'000;
      info.id = index.TakeId();
      index.tracks[info.id] = device::IndexedTrack{std::string("Music/") + title + ".mp3", info};
    }
    ASSERT_FALSE(files::WriteWholeFile(root + "/.tonvault-player/index.txt", device::FormatTrackIndex(index)));
    auto player = std::make_unique<device::SimulatedPlayer>(folder_.path().toStdString(), std::vector<int>{kind});
    player->SetClock([this] { return frontend_.Now(); });
    Use(std::move(player));
  }
  void Use(std::unique_ptr<device::DeviceLibrary> library) {
    auto taken = std::make_shared<std::unique_ptr<device::DeviceLibrary>>(std::move(library));
    session_ = std::make_unique<device::DeviceSession>(app_, host_, [taken] { return std::move(*taken); });
    content_ = std::make_unique<device::PlayerContent>(app_, *session_);
  }
  static void Mouse(QWidget* widget, QEvent::Type type, int x) {
    const QPointF at(x, widget->height() / 2.0);
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
  static void Shoot(QWidget& widget, const char* name) {
    QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
    widget.grab().save(QString(TONVAULT_SCREENSHOT_DIR "/") + name);
  }

  QTemporaryDir folder_;
  testing::ScriptedFrontend frontend_;
  catalogue::Application app_{frontend_};
  device::HeadlessHost host_;
  std::unique_ptr<device::DeviceSession> session_;
  std::unique_ptr<device::PlayerContent> content_;
};

TEST_F(PlayerPagesTest, ThePlayerPageShowsTheQueueAndSeeksByDragging) {
  Attach(device::kKindJukebox);
  PlayerPage page(app_, *session_);
  page.resize(1000, 560);
  page.show();
  page.Opened();
  EXPECT_FALSE(page.Button("&Play")->isEnabled());
  for (int id : {1, 2, 3}) page.Control().PlayOrQueue(id);
  session_->Pump();
  ASSERT_EQ(page.QueueList()->topLevelItemCount(), 3);
  EXPECT_EQ(page.QueueList()->topLevelItem(1)->text(1), "Fernando");
  EXPECT_TRUE(page.Button("&Next")->isEnabled());
  EXPECT_TRUE(page.Button("Sh&uffle")->isEnabled());
  EXPECT_FALSE(page.Button("&Resume")->isEnabled());
  page.Button("&Next")->click();
  session_->Pump();
  EXPECT_EQ(page.QueueList()->topLevelItem(1)->text(1), "HISTORY");
  EXPECT_EQ(page.QueueList()->topLevelItem(1)->text(2), "QUEUE");

  auto* bar = page.findChild<SeekBar*>();
  ASSERT_NE(bar, nullptr);
  const int quarter = bar->width() / 4;
  Mouse(bar, QEvent::MouseButtonPress, quarter);
  frontend_.Sleep(3000);
  session_->Pump();  // progress meanwhile does not move the bar
  EXPECT_EQ(bar->PosHi(), 25);
  Mouse(bar, QEvent::MouseMove, 2 * quarter);
  Mouse(bar, QEvent::MouseButtonRelease, 2 * quarter);
  frontend_.Sleep(1000);
  session_->Pump();
  EXPECT_EQ(bar->PosHi(), 51);  // 50 s of 100 and one more second
  Shoot(page, "player-page.png");
}

TEST_F(PlayerPagesTest, AFolderPlayerShowsItsSentenceInsteadOfDeadButtons) {
  QTemporaryDir card;
  Use(std::make_unique<device::FolderPlayer>(card.path().toStdString()));
  PlayerPage page(app_, *session_);
  page.show();
  page.Opened();
  EXPECT_TRUE(page.CannotPlayLabel()->isVisible());
  EXPECT_FALSE(page.QueueList()->isVisible());
}

TEST_F(PlayerPagesTest, TheInformationShowsTheNomadIIAndRefusesSpinnerStepsOutOfTheBand) {
  Attach(device::kKindNomadII);
  ASSERT_TRUE(session_->StartDevice(true));
  device::FmPresets presets;
  presets.fill(9000);
  presets[0] = 10800;
  presets[1] = 8750;
  ASSERT_EQ(session_->CurrentDevice().SetFMPresets(presets), device::kOk);
  PlayerInfoPanel panel(app_, *session_, *content_);
  panel.show();
  panel.Refresh();
  EXPECT_TRUE(frontend_.Log("message").empty());
  EXPECT_TRUE(panel.FmGroup()->isVisible());
  EXPECT_EQ(panel.Field("Audio tracks")->text(), "3  =  6  MBytes");
  EXPECT_EQ(panel.Field("Data files")->text(), "0");
  EXPECT_EQ(panel.Field("Playlists")->text(), "Not supported");
  EXPECT_EQ(panel.Field("Power source")->text(), "External");
  QTreeWidget* list = panel.FmList();
  ASSERT_EQ(list->topLevelItemCount(), 32);
  EXPECT_EQ(panel.MHzSpinner()->value(), 108);  // the first entry is selected
  panel.HundredthsSpinner()->setValue(1);       // 108.01: refused
  EXPECT_EQ(panel.HundredthsSpinner()->value(), 0);
  EXPECT_EQ(list->topLevelItem(0)->text(1), "108,00");
  list->setCurrentItem(list->topLevelItem(1));
  panel.MHzSpinner()->setValue(87);
  panel.HundredthsSpinner()->setValue(49);  // 87.49: refused
  EXPECT_EQ(list->topLevelItem(1)->text(1), "87,50");
  panel.HundredthsSpinner()->setValue(75);
  EXPECT_EQ(list->topLevelItem(1)->text(1), "87,75");
  panel.resize(panel.sizeHint());
  Shoot(panel, "player-information.png");
}

}  // namespace
}  // namespace tonvault::ui
