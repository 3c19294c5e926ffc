// The Synchronize page in the window, over a player folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>

#include "QtTestApp.h"
#include "ui/DeviceControl.h"
#include "ui/MainWindow.h"
#include "ui/StatusBar.h"
#include "ui/pages/SyncPage.h"

namespace tonvault::ui {
namespace {

using catalogue::Column;
using catalogue::Page;
using device::SyncCategory;

TEST(SyncPage, ComparesShowsSortsAndSelectsFromTheWindow) {
  testing::QtTestApp();
  MainWindow window;
  window.resize(1100, 700);
  window.show();
  QApplication::processEvents();
  QTemporaryDir card;
  ASSERT_TRUE(QDir(card.path()).mkpath("Music"));
  for (const char* name : {"waterloo.mp3", "other.mp3"}) {
    ASSERT_TRUE(QFile::copy(QString(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3", card.path() + "/Music/" + name));
  }
  catalogue::Application& app = window.App();
  app.options.device = {1, card.path().toStdString()};
  window.Player()->Session().ReplaceBackends();
  for (const char* title : {"Waterloo", "Fernando", "Chiquitita"}) {
    catalogue::TrackRecord row;
    app.columnMap.Set(row, Column::Title, title), app.columnMap.Set(row, Column::Artist, "ABBA");
    app.columnMap.Set(row, Column::Album, "Gold"), app.columnMap.Set(row, Column::Path, "/music/");
    app.columnMap.Set(row, Column::Filename, std::string(title) + ".mp3");
    app.columnMap.Set(row, Column::Size, title[0] == 'W' ? "4" : "12");
    app.files.push_back(row);
  }

  window.Tabs()->setCurrentIndex(static_cast<int>(Page::Synchronize));
  SyncPage& page = *window.Synchronize();
  for (SyncCategory c : {SyncCategory::PcAndNjb, SyncCategory::OnlyOnNjb, SyncCategory::MultipleMatch}) {
    page.ShowButton(c)->click();
  }
  EXPECT_TRUE(app.options.sync.onlyOnNjb);
  page.CompareButton()->click();
  QApplication::processEvents();
  QAbstractItemModel* model = page.List()->model();
  ASSERT_EQ(model->rowCount(), 4);  // two twins on the player: both lines "Multiple match"
  EXPECT_EQ(model->data(model->index(0, 3)).toString(), "Waterloo");
  EXPECT_EQ(model->data(model->index(0, device::kSymbolColumn)).toString(), "*");
  EXPECT_EQ(model->headerData(device::kSymbolColumn, Qt::Horizontal).toString(), "=");
  EXPECT_EQ(window.Status()->PanelText(0), "Sync: 4");
  EXPECT_TRUE(page.List()->isColumnHidden(device::kIndexColumn));

  // Filesize sorts as a number: 4 before 12.
  page.List()->horizontalHeader()->sectionClicked(1 + device::kFilesize);
  EXPECT_EQ(model->data(model->index(3, 1 + device::kFilesize)).toString(), "12");
  EXPECT_EQ(model->data(model->index(0, 1 + device::kFilesize)).toString(), "4");

  page.List()->selectRow(1);
  emit page.List()->doubleClicked(model->index(1, 2));
  QApplication::processEvents();
  EXPECT_EQ(page.List()->selectionModel()->selectedRows().size(), 4);
  EXPECT_EQ(window.Status()->PanelText(1), "Selected: 4");
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  // In 256 colours, as the manual carries its pictures.
  window.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
      .save(TONVAULT_SCREENSHOT_DIR "/synchronize.png", "PNG", 0);

  // Coming back to the page starts with an empty list.
  window.Tabs()->setCurrentIndex(static_cast<int>(Page::Files));
  window.Tabs()->setCurrentIndex(static_cast<int>(Page::Synchronize));
  EXPECT_EQ(model->rowCount(), 0);
  page.ShowButton(SyncCategory::OnlyOnPc)->click();  // up: the others refill
  EXPECT_EQ(model->rowCount(), 2);
}

}  // namespace
}  // namespace tonvault::ui
