#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "QtTestApp.h"
#include "audio/Id3v2Tag.h"
#include "catalogue/Import.h"
#include "catalogue/PageChange.h"
#include "device/content/DeviceRow.h"
#include "ui/DeviceControl.h"
#include "ui/MainWindow.h"
#include "ui/ReplaceDialog.h"
#include "ui/pages/EditorPage.h"

namespace tonvault::ui {
namespace {

using catalogue::Page;
using tagging::Field;
using tagging::Version;

// The window on the editor page over copies of sample files, one selected.
class EditorPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::QtTestApp();
    window = std::make_unique<MainWindow>();
    window->resize(1100, 760);
    window->show();
    QApplication::processEvents();
    QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  }
  void Open(const char* sample) {
    const QString copy = folder.path() + "/" + sample;
    ASSERT_TRUE(QFile::copy(QString(TONVAULT_TEST_DATA) + "/" + sample, copy));
    QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    path = copy.toStdString();
    catalogue::Application& app = window->App();
    app.options.import.readId3v1 = app.options.import.readId3v2 = true;
    catalogue::ImportDropped(app, {path});
    ASSERT_EQ(app.files.size(), 1u);
    window->FilesPage()->View()->selectRow(0);
    ASSERT_TRUE(app.files[0].selected);
    // Through the list's popup entry, as a user opens the editor.
    QAction* entry = nullptr;
    for (QAction* action : window->FilesPage()->View()->actions()) {
      if (action->text() == "ID3-Tag editor") entry = action;
    }
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    QApplication::processEvents();
    ASSERT_EQ(app.currentPage, Page::Id3Editor);
    page = static_cast<EditorPage*>(window->PageWidget(Page::Id3Editor));
  }
  QLineEdit* Panel(Version version, int row) const {
    // Panels are the read-only edits of a group, in field order.
    QList<QLineEdit*> panels;
    for (QLineEdit* edit : page->Group(version)->findChildren<QLineEdit*>()) {
      if (edit->isReadOnly()) panels << edit;
    }
    return panels.value(row);
  }
  void Shoot(const char* name) { window->grab().save(QString(TONVAULT_SCREENSHOT_DIR "/") + name); }

  QTemporaryDir folder;
  std::unique_ptr<MainWindow> window;
  EditorPage* page = nullptr;
  std::string path;
};

TEST_F(EditorPageTest, ShowsBothTagsAndEnterSavesTheTypedValue) {
  Open("id3lib-v23.mp3");
  ASSERT_TRUE(page->isVisible());
  EXPECT_EQ(Panel(Version::V2, 0)->text(), "Waterloo");
  EXPECT_EQ(Panel(Version::V1, 1)->text(), "ABBA");
  EXPECT_FALSE(page->SaveButton()->isEnabled());
  window->App().options.id3.enterSave = true;
  QLineEdit* artist = page->NewValue(Version::V2, Field::Artist);
  artist->setFocus();
  artist->selectAll();
  QTest::keyClicks(artist, "Agnetha");
  EXPECT_TRUE(page->SaveButton()->isEnabled());
  Shoot("editor-both-tags.png");
  QTest::keyClick(artist, Qt::Key_Return);
  EXPECT_EQ(audio::ReadId3v2Tag(path).artist, "Agnetha");
  EXPECT_EQ(window->App().columnMap.Get(window->App().files[0], catalogue::Column::Artist), "Agnetha");
}

TEST_F(EditorPageTest, V1FieldTakesNoMoreThanTheTagStores) {
  Open("id3lib-v23.mp3");
  QLineEdit* year = page->NewValue(Version::V1, Field::Year);
  year->selectAll();
  QTest::keyClicks(year, "20012");
  EXPECT_EQ(year->text(), "2001");
}

TEST_F(EditorPageTest, NonLatinV2TextAndTheFrameList) {
  Open("mutagen-v23-utf16.mp3");
  EXPECT_EQ(Panel(Version::V2, 0)->text(), QString::fromUtf8("東京 Tower"));
  QPushButton* more = nullptr;
  for (QPushButton* button : page->findChildren<QPushButton*>()) {
    if (button->text() == "More") more = button;
  }
  ASSERT_NE(more, nullptr);
  more->click();
  QApplication::processEvents();
  auto* frames = page->findChild<QTableWidget*>();
  ASSERT_NE(frames, nullptr);
  EXPECT_TRUE(frames->isVisible());
  EXPECT_GE(frames->rowCount(), 6);
  Shoot("editor-non-latin.png");
}

TEST_F(EditorPageTest, MissingFileIsShownInRedAndGreyed) {
  Open("id3lib-v23.mp3");
  catalogue::ChangePage(window->App(), Page::Files);
  ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
  catalogue::ChangePage(window->App(), Page::Id3Editor);
  QApplication::processEvents();
  QLabel* line = page->findChildren<QLabel*>().first();
  EXPECT_TRUE(line->text().endsWith("   NOT FOUND")) << line->text().toStdString();
  const QColor colour = line->palette().color(QPalette::WindowText);
  EXPECT_GT(colour.red(), 150);
  EXPECT_LT(colour.green(), 150);
  EXPECT_FALSE(page->Group(Version::V1)->isEnabled());
  EXPECT_FALSE(page->SaveButton()->isEnabled());
  Shoot("editor-missing-file.png");
}

TEST_F(EditorPageTest, ChangedAndEqualValuesReadWellInADarkPalette) {
  const QPalette light = QApplication::palette();
  // Shades derived from the button and window colours, as a desktop theme has them.
  QPalette dark(QColor(60, 60, 64), QColor(45, 45, 48));
  dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(220, 220, 220));
  dark.setColor(QPalette::ButtonText, QColor(220, 220, 220));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    dark.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
  }
  QApplication::setPalette(dark);
  Open("id3lib-v23.mp3");
  QLineEdit* title = page->NewValue(Version::V2, Field::Title);
  QTest::keyClicks(title, "!");  // differs from the file now
  const QColor changed = title->palette().color(QPalette::Text);
  const QColor equal = page->NewValue(Version::V2, Field::Artist)->palette().color(QPalette::Text);
  Shoot("editor-dark.png");
  QApplication::setPalette(light);
  EXPECT_GT(changed.lightness(), 128) << "red readable on a dark base";
  EXPECT_GT(changed.red(), changed.blue());
  EXPECT_GT(equal.lightness(), 128);
  EXPECT_GT(equal.blue(), equal.red());
}

TEST_F(EditorPageTest, RenameAndExtractAreOfferedOnlyWhileTheEditorShowsFiles) {
  const CommandId commands[] = {CommandId::RenameOne, CommandId::RenameAll, CommandId::ExtractOne,
                                CommandId::ExtractAll};
  for (CommandId id : commands) EXPECT_FALSE(window->Action(id)->isEnabled());
  EXPECT_FALSE(window->MenuOf(catalogue::MenuGroup::Rename)->menuAction()->isEnabled());
  Open("id3lib-v23.mp3");
  for (CommandId id : commands) {
    EXPECT_TRUE(window->Action(id)->isEnabled());
    EXPECT_TRUE(window->PanelBar(ToolPanel::Id3)->actions().contains(window->Action(id)));
  }
  EXPECT_TRUE(window->MenuOf(catalogue::MenuGroup::Rename)->menuAction()->isEnabled());
  EXPECT_TRUE(window->MenuOf(catalogue::MenuGroup::Extract)->menuAction()->isEnabled());
  Shoot("editor-rename-extract.png");

  catalogue::Application& app = window->App();
  const std::string newName = folder.path().toStdString() + "/03 - ABBA - Waterloo.mp3";
  catalogue::SetCatalogueModified(app, false);
  window->Action(CommandId::RenameOne)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(newName)));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_EQ(catalogue::FileOfRow(app.files[0], app.columnMap), newName);
  EXPECT_TRUE(app.catalogueModified);

  catalogue::ChangePage(app, Page::Files);
  QApplication::processEvents();
  for (CommandId id : commands) EXPECT_FALSE(window->Action(id)->isEnabled());
}

TEST(ReplaceDialogTest, OkOnlyForASearchTextTheReplacementDoesNotHold) {
  testing::QtTestApp();
  ReplaceDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), " Replace Char or String");
  EXPECT_FALSE(dialog.OkButton()->isEnabled()) << "empty search";
  dialog.SearchEdit()->setText("a");
  dialog.ReplaceEdit()->setText("aa");
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.SearchEdit()->setText("aa");
  dialog.ReplaceEdit()->setText("a");
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.ReplaceEdit()->clear();
  EXPECT_TRUE(dialog.OkButton()->isEnabled()) << "replacing by nothing removes";
  QSignalSpy help(&dialog, &ReplaceDialog::HelpRequested);
  dialog.HelpButton()->click();
  ASSERT_EQ(help.count(), 1);
  EXPECT_EQ(help.at(0).at(0).toInt(), 700);
  dialog.show();
  QApplication::processEvents();
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  dialog.grab().save(TONVAULT_SCREENSHOT_DIR "/replace-dialog.png");
  dialog.CancelButton()->click();
  EXPECT_TRUE(dialog.SearchEdit()->text().isEmpty());
  EXPECT_TRUE(dialog.ReplaceEdit()->text().isEmpty());
}

// The entry `caption` of the Special menu's submenu `submenu`.
QAction* SpecialEntry(MainWindow& window, int submenu, const QString& caption) {
  QMenu* menu = window.MenuOf(catalogue::MenuGroup::Special)->actions().at(submenu)->menu();
  for (QAction* action : menu->actions()) {
    if (action->text() == caption) return action;
  }
  return nullptr;
}

TEST_F(EditorPageTest, SpecialMenuChangesTheFileAndTheRowFollows) {
  Open("id3lib-v23.mp3");
  QAction* upper = SpecialEntry(*window, 2, "V2   Title");
  ASSERT_NE(upper, nullptr);
  upper->trigger();
  EXPECT_EQ(audio::ReadId3v2Tag(path).title, "WATERLOO");
  catalogue::Application& app = window->App();
  EXPECT_EQ(app.columnMap.Get(app.files[0], catalogue::Column::Title), "WATERLOO");
  EXPECT_EQ(Panel(Version::V2, 0)->text(), "WATERLOO") << "the page shows the saved file";

  // The replace dialog opens empty; OK runs the replace.
  QTimer::singleShot(0, [this] {
    ReplaceDialog* dialog = window->Replacer();
    ASSERT_NE(dialog, nullptr);
    dialog->SearchEdit()->setText("O");
    dialog->ReplaceEdit()->setText("0");
    dialog->OkButton()->click();
  });
  SpecialEntry(*window, 0, "V2   Title")->trigger();
  EXPECT_EQ(audio::ReadId3v2Tag(path).title, "WATERL00");

  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->defaultButton()->click();
  });
  answer.start(20);
  window->Action(CommandId::TagsToRam)->trigger();
  answer.stop();
  EXPECT_EQ(window->TagRam().Length(), 1u);
  EXPECT_EQ(window->TagRam().Text(0, Field::Title), "WATERL00");
  Shoot("editor-special-menu.png");
}

TEST_F(EditorPageTest, JukeboxRowsOpenTheV2GroupAloneAsThePlayersTrackData) {
  catalogue::Application& app = window->App();
  app.options.device.player = 2;  // the simulated Jukebox
  window->Player()->Session().ReplaceBackends();
  device::AudioInfo info;
  info.title = "Waterloo", info.artist = "ABBA", info.album = "Gold", info.codec = "MP3";
  info.fileName = "waterloo.mp3", info.fileSize = 4'000'000, info.length = 170, info.year = 1974;
  app.files.push_back(device::MakeDeviceRow(info, 7, 1, 0, app.columnMap));
  app.files.back().selected = true;
  window->FilesPage()->View()->selectRow(0);
  catalogue::ChangePage(app, Page::Id3Editor);
  QApplication::processEvents();
  ASSERT_EQ(app.currentPage, Page::Id3Editor);
  page = static_cast<EditorPage*>(window->PageWidget(Page::Id3Editor));
  EXPECT_EQ(app.commandStateCode, 10);
  EXPECT_TRUE(window->Player()->Session().DeviceStarted());
  EXPECT_EQ(page->Group(Version::V2)->title(), " Tag on Nomad Jukebox ");
  EXPECT_FALSE(page->Group(Version::V1)->isVisible());
  EXPECT_LT(page->Group(Version::V2)->y(), 40);  // on top
  EXPECT_EQ(Panel(Version::V2, 0)->text(), "Waterloo");
  for (QPushButton* button : page->Group(Version::V2)->findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isVisible()) << button->text().toStdString();
  }
  Shoot("editor-player-tags.png");

  // Back to files on disk: the usual layout again.
  catalogue::ChangePage(app, Page::Files);
  app.files.clear();
  app.frontend.ListsChanged();
  Open("id3lib-v23.mp3");
  EXPECT_EQ(app.commandStateCode, 9);
  EXPECT_EQ(page->Group(Version::V2)->title(), " ID3 - Tag  Version  2 ");
  EXPECT_TRUE(page->Group(Version::V1)->isVisible());
}

}  // namespace
}  // namespace tonvault::ui
