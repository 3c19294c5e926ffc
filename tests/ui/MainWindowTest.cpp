#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTimer>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "QtTestApp.h"
#include "ShownWindow.h"
#include "support/CodePageScope.h"
#include "catalogue/LongOperation.h"
#include "catalogue/PageChange.h"
#include "catalogue/Import.h"
#include "ui/ListPopupMenu.h"
#include "ui/MainWindow.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/pages/TrackListPage.h"
#include "ui/pages/StatisticsPage.h"
#include "ui/pages/ViewPage.h"

namespace tonvault::ui {
namespace {

using catalogue::CommandGroup;
using catalogue::MenuGroup;
using catalogue::Page;

// Start options whose settings file, in `folder`, holds `text`.
MainWindow::StartOptions WithSettingsFile(const QTemporaryDir& folder, const char* text) {
  MainWindow::StartOptions options;
  options.settingsPath = (folder.path() + "/Tonvault.ini").toStdString();
  QFile file(QString::fromStdString(options.settingsPath));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return options;
}

class MainWindowTest : public ShownWindowTest {
 protected:
  // A selected row of a sample file, so that the editor page opens on it
  // instead of refusing with a message box.
  void SelectASampleFile() {
    catalogue::ImportDropped(window->App(), {std::string(TONVAULT_TEST_DATA) + "/id3lib-v23.mp3"});
    window->App().files.back().selected = true;
  }
};

TEST_F(MainWindowTest, StartsOnTheFilesPageWithThirteenTabs) {
  EXPECT_EQ(window->windowTitle(), "Tonvault");
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->Tabs()->count(), 13);
  EXPECT_EQ(window->Tabs()->tabText(0), "Files");
  EXPECT_EQ(window->Tabs()->tabText(9), "ID3 - Editor");
  EXPECT_EQ(window->Tabs()->tabText(12), "Settings");
  EXPECT_EQ(window->App().currentPage, Page::Files);
  EXPECT_EQ(window->App().commandStateCode, 1);
  EXPECT_EQ(window->Status()->PanelText(0), "Files: 0");
  EXPECT_EQ(window->Status()->PanelText(1), "Selected: 0");
}

TEST_F(MainWindowTest, ClickingATabRunsThePageChange) {
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Results));
  EXPECT_EQ(window->App().currentPage, Page::Results);
  EXPECT_EQ(window->Status()->PanelText(0), "Results: 0");
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Search));
  EXPECT_EQ(window->App().commandStateCode, 5);
  EXPECT_TRUE(window->MenuOf(MenuGroup::File)->menuAction()->isEnabled());
  EXPECT_FALSE(window->MenuOf(MenuGroup::Edit)->menuAction()->isEnabled());
}

TEST_F(MainWindowTest, TheMp3PageHasNoTabButCanBeShown) {
  catalogue::ChangePage(window->App(), Page::Mp3);
  EXPECT_EQ(window->App().commandStateCode, 12);
  EXPECT_TRUE(window->PageWidget(Page::Mp3)->isVisible());
}

TEST_F(MainWindowTest, BusyStateLocksTheWindowAndShowsStop) {
  QAction* stop = window->Action(CommandId::Stop);
  EXPECT_FALSE(stop->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->App().stopRequest) << "Esc while idle does nothing";
  {
    catalogue::LongOperation operation(window->App(), {});
    EXPECT_FALSE(window->Tabs()->isEnabled());
    EXPECT_TRUE(stop->isVisible());
    EXPECT_FALSE(window->Action(CommandId::Exit)->isEnabled());
    EXPECT_FALSE(window->Action(CommandId::About)->isEnabled());
    EXPECT_FALSE(window->MenuOf(MenuGroup::File)->menuAction()->isEnabled());
    stop->trigger();
    EXPECT_TRUE(window->App().stopRequest);
    window->App().stopRequest = false;
  }
  EXPECT_TRUE(window->Tabs()->isEnabled());
  EXPECT_FALSE(stop->isVisible());
  EXPECT_TRUE(window->Action(CommandId::Exit)->isEnabled());
  EXPECT_EQ(window->Status()->Progress()->PosHi(), 0);
}

TEST_F(MainWindowTest, EditorCodeSwapsTheToolBarPanelsAndRelabelsSpecial) {
  SelectASampleFile();
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Id3Editor));
  EXPECT_TRUE(window->PanelBar(ToolPanel::Id3)->isVisible());
  EXPECT_TRUE(window->PanelBar(ToolPanel::TagRam)->isVisible());
  EXPECT_FALSE(window->PanelBar(ToolPanel::Edit)->isVisible());
  EXPECT_TRUE(window->MenuOf(MenuGroup::Special)->menuAction()->isEnabled());
  catalogue::SetCommandState(window->App(), 10);
  QMenu* lower = window->MenuOf(MenuGroup::Special)->actions().at(1)->menu();
  ASSERT_NE(lower, nullptr);
  QStringList visible;
  for (QAction* a : lower->actions()) {
    if (a->isVisible() && !a->isSeparator()) visible << a->text();
  }
  EXPECT_EQ(visible, (QStringList{"Title", "Artist", "Album", "Genre"}));
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Files));
  EXPECT_FALSE(window->PanelBar(ToolPanel::Id3)->isVisible());
  EXPECT_TRUE(window->PanelBar(ToolPanel::Edit)->isVisible());
}

TEST_F(MainWindowTest, RecentEntriesAppearBetweenTheirSeparators) {
  window->App().recentDatabases.Add("/music/a.tvd");
  window->App().recentDatabases.Add("/music/b.tvd");
  emit window->FileMenu()->aboutToShow();
  QStringList captions;
  for (QAction* a : window->FileMenu()->actions()) {
    if (a->text().endsWith(".tvd")) captions << a->text();
  }
  EXPECT_EQ(captions, (QStringList{"/music/b.tvd", "/music/a.tvd"}));
}

TEST_F(MainWindowTest, PriorityStaysCheckedWhereTheSystemLeftIt) {
  window->Action(CommandId::PriorityIdle)->trigger();
  EXPECT_TRUE(window->Action(CommandId::PriorityIdle)->isChecked());
  window->Action(CommandId::PriorityNormal)->trigger();  // refused without privilege
  const bool normal = window->App().priority == catalogue::Priority::Normal;
  EXPECT_EQ(window->Action(CommandId::PriorityNormal)->isChecked(), normal);
  EXPECT_EQ(window->Action(CommandId::PriorityIdle)->isChecked(), !normal);
  if (!normal) {
    EXPECT_EQ(window->Status()->PanelText(0), "Priority not changed: the system refused it.");
  }
}

TEST_F(MainWindowTest, DroppedFilesAreImportedAndShownWithTheirIcons) {
  const QString data = TONVAULT_TEST_DATA;
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(data + "/id3lib-v23.mp3"), QUrl::fromLocalFile(data + "/mutagen-v23-utf16.mp3"),
                QUrl::fromLocalFile(data + "/vbr-xing-32000-mono.mp3"), QUrl::fromLocalFile(data + "/eyed3-v24-utf8.mp3")});
  QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  ASSERT_EQ(window->App().files.size(), 4u);
  QAbstractItemModel* model = window->FilesPage()->View()->model();
  EXPECT_EQ(model->rowCount(), 4);
  EXPECT_EQ(model->data(model->index(0, 3)).toString(), "Ärger über Öl 東京");
  EXPECT_FALSE(model->data(model->index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(window->Status()->PanelText(0), "Files: 4");
  EXPECT_EQ(window->windowTitle(), "Tonvault") << "no catalogue name yet, so no mark";
  window->FilesPage()->View()->selectRow(1);
  EXPECT_EQ(window->Status()->PanelText(1), "Selected: 1");
  EXPECT_TRUE(window->App().files[1].selected);
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/files-after-drop.png");
}

TEST_F(MainWindowTest, HeadingClicksSortAndSelectionFlagsShowInTheList) {
  auto& files = window->App().files;
  for (const char* title : {"b", "c", "a"}) {
    catalogue::TrackRecord row;
    window->App().columnMap.Set(row, catalogue::Column::Title, title);
    files.push_back(row);
  }
  window->ListsChanged();
  QHeaderView* header = window->FilesPage()->View()->horizontalHeader();
  const int titleColumn = window->App().columnMap.SlotOf(catalogue::Column::Title) + 1;
  emit header->sectionClicked(titleColumn);
  EXPECT_EQ(window->App().columnMap.Get(files[0], catalogue::Column::Title), "a");
  EXPECT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(header->sortIndicatorSection(), titleColumn);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  emit header->sectionClicked(titleColumn);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

  window->Action(CommandId::SelectAll)->trigger();
  EXPECT_EQ(window->FilesPage()->View()->selectionModel()->selectedRows().size(), 3);
  EXPECT_EQ(window->Status()->PanelText(1), "Selected: 3");
  window->Action(CommandId::InvertSelection)->trigger();
  EXPECT_TRUE(window->FilesPage()->View()->selectionModel()->selectedRows().isEmpty());
  EXPECT_EQ(catalogue::CountSelected(files), 0u);
}

// The titles of the FILES rows, a "*" after the selected ones.
std::string TitlesOf(MainWindow& window) {
  std::string out;
  for (const auto& row : window.App().files) {
    out += window.App().columnMap.Get(row, catalogue::Column::Title);
    out += row.selected ? "* " : " ";
  }
  return out;
}

TEST_F(MainWindowTest, ListPopupEnablingFollowsTheRowsAndTheSelection) {
  QTableView* view = window->FilesPage()->View();
  auto* popup = view->findChild<ListPopupMenu*>();
  ASSERT_NE(popup, nullptr);
  auto enabled = [popup](const QString& caption) {
    for (QAction* action : popup->Menu()->actions()) {
      if (action->text() == caption) return action->isEnabled();
    }
    ADD_FAILURE() << "no entry " << caption.toStdString();
    return false;
  };
  const QStringList withRows = {"Select all", "Save database", "Save database as"};
  const QStringList withSelection = {"Select none", "Invert selection", "Copy selected lines to RESULTS",
                                     "Play selected files", "Delete selected lines", "Copy selected files to folder",
                                     "Move selected files to folder", "Delete selected files from harddisk",
                                     "ID3-Tag editor", "Analyze / Fix  MP3", "Copy selected files from PC to NJB",
                                     "Copy selected files from NJB to PC", "Add selected files to playlist"};
  const QStringList never;
  popup->UpdateEnabling();
  for (const QString& caption : withRows + withSelection + never) EXPECT_FALSE(enabled(caption)) << caption.toStdString();

  for (const char* title : {"a", "b", "c"}) {
    catalogue::TrackRecord row;
    window->App().columnMap.Set(row, catalogue::Column::Title, title);
    window->App().files.push_back(row);
  }
  window->ListsChanged();
  popup->UpdateEnabling();
  for (const QString& caption : withRows) EXPECT_TRUE(enabled(caption)) << caption.toStdString();
  for (const QString& caption : withSelection + never) EXPECT_FALSE(enabled(caption)) << caption.toStdString();

  view->selectRow(1);
  EXPECT_EQ(TitlesOf(*window), "a b* c ");
  for (const QString& caption : withRows + withSelection) EXPECT_TRUE(enabled(caption)) << caption.toStdString();
  for (const QString& caption : never) EXPECT_FALSE(enabled(caption)) << caption.toStdString();
}

TEST_F(MainWindowTest, ListShortcutsAndDoubleClickWorkWhileTheListHasTheFocus) {
  for (const char* title : {"a", "b", "c"}) {
    catalogue::TrackRecord row;
    window->App().columnMap.Set(row, catalogue::Column::Title, title);
    row.icon = 8;
    window->App().columnMap.Set(row, catalogue::Column::Path, "/m/");
    window->App().files.push_back(row);
  }
  window->ListsChanged();
  QTableView* view = window->FilesPage()->View();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  view->setFocus();
  view->selectRow(1);

  QTest::keyClick(view, Qt::Key_Insert);
  ASSERT_EQ(window->App().results.size(), 1u) << "Ins copies the selected line to RESULTS";
  EXPECT_EQ(window->App().columnMap.Get(window->App().results[0], catalogue::Column::Title), "b");
  window->ShowPage(Page::Files);  // in case the copy showed Results
  view->setFocus();
  view->selectRow(0);
  QTimer answer;  // "Do you really want to delete ..." -> Yes
  QObject::connect(&answer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    for (QAbstractButton* button : box->buttons()) {
      if (box->buttonRole(button) == QMessageBox::YesRole) return button->click();
    }
  });
  answer.start(20);
  QTest::keyClick(view, Qt::Key_Delete);
  answer.stop();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  view->setFocus();
  EXPECT_EQ(TitlesOf(*window), "b c ") << "Del deletes the selected line";
  QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(TitlesOf(*window), "b* c* ") << "Ctrl+A selects all";

  view->clearSelection();
  EXPECT_EQ(TitlesOf(*window), "b c ");
  const QRect cell = view->visualRect(view->model()->index(1, 3));
  // A double click as the window system delivers it: press, release, press,
  // double click, release (the second press finds the row selected already).
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, cell.center());
  QApplication::processEvents();
  EXPECT_EQ(TitlesOf(*window), "b* c* ") << "a double click selects every row";
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 2) << "and the list shows it";
}

TEST_F(MainWindowTest, SearchPageAndAlbumViewWorkOnImportedRows) {
  const QString data = TONVAULT_TEST_DATA;
  catalogue::ImportDropped(window->App(), {(data + "/id3lib-v23.mp3").toStdString(),
                                           (data + "/mutagen-v23-utf16.mp3").toStdString(),
                                           (data + "/eyed3-v24-utf8.mp3").toStdString()});
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Albums));
  auto* albums = static_cast<ViewPage*>(window->PageWidget(Page::Albums));
  EXPECT_EQ(albums->View()->model()->rowCount(), 3);
  EXPECT_EQ(window->Status()->PanelText(0), "Albums: 3");
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/albums.png");

  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Search));
  auto* search = static_cast<SearchPage*>(window->PageWidget(Page::Search));
  search->FindEdit()->setText("waterloo");
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/search.png");
  search->FindFilesButton()->click();
  EXPECT_EQ(window->App().currentPage, Page::Results);
  ASSERT_EQ(window->App().results.size(), 1u);
  EXPECT_EQ(window->Status()->PanelText(0), "Results: 1");
  EXPECT_EQ(window->App().options.search.text, "waterloo");

  catalogue::ImportDropped(window->App(), {(data + "/id3lib-v23.mp3").toStdString()});
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Search));
  search->DupNoneHBitBtnClick();
  EXPECT_FALSE(window->App().options.duplicate.AnyCriterion());
  search->DupAllHBitBtnClick();
  EXPECT_TRUE(window->App().options.duplicate.drive);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/search-duplicates.png");
  search->DupNoneHBitBtnClick();
  window->App().options.duplicate.title = true;
  search->DuplicatesButton()->click();
  EXPECT_EQ(window->App().currentPage, Page::Results);
  EXPECT_EQ(window->App().results.size(), 2u) << "the file imported twice";
  EXPECT_FALSE(window->App().results[0].selected);
  EXPECT_TRUE(window->App().results[1].selected);
}

TEST_F(MainWindowTest, StatisticsPageShowsTheFiguresAndTheHistogram) {
  const QString data = TONVAULT_TEST_DATA;
  std::vector<std::string> files;
  for (const char* name : {"id3lib-v23.mp3", "mutagen-v23-utf16.mp3", "eyed3-v24-utf8.mp3", "vbr-xing-32000-mono.mp3",
                           "cbr-32k-32000-mono.mp3", "mpeg2-24k-22050-mono.mp3"}) {
    files.push_back((data + "/" + name).toStdString());
  }
  catalogue::ImportDropped(window->App(), files);
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Statistics));
  auto* page = static_cast<StatisticsPage*>(window->PageWidget(Page::Statistics));
  EXPECT_EQ(page->FigureText("Tracks"), "6");
  EXPECT_EQ(page->FigureText("VBR"), "1     16,7 %");
  EXPECT_EQ(page->FigureText("MPEG 2 and 2.5  Layer 3"), "1     16,7 %");
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/statistics.png");
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(40, 40, 40));
  dark.setColor(QPalette::Base, QColor(25, 25, 25));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  window->setPalette(dark);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/statistics-dark.png");
}

// "Lists font size" widens the columns with the font, so a Length cell
// never reads "00:00…"; the widths stored stay those of the layout.
TEST_F(MainWindowTest, ColumnsGrowWithTheListsFontAndStoreTheirLayoutWidths) {
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  QTableView* files = window->FilesPage()->View();
  const int length = window->App().columnMap.SlotOf(catalogue::Column::Length) + 1;
  for (int size : {12, 6, 10, 8}) {
    settings->Options()->ListFontSizeSpin()->setValue(size);
    EXPECT_EQ(files->font().pointSize(), size);
    EXPECT_GE(files->horizontalHeader()->sectionSize(length), QFontMetrics(files->font()).horizontalAdvance("00:00:00") + 8)
        << "font size " << size;
    EXPECT_GE(files->verticalHeader()->defaultSectionSize(), QFontMetrics(files->font()).height()) << size;
  }
  settings->Options()->ListFontSizeSpin()->setValue(12);
  catalogue::ImportDropped(window->App(), {TONVAULT_TEST_DATA "/id3lib-v23.mp3", TONVAULT_TEST_DATA "/vbr-xing-32000-mono.mp3"});
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/files-font-12.png");
  catalogue::ColumnLayout stored;
  window->FilesPage()->StoreLayout(stored);
  const catalogue::ColumnLayout first;
  for (std::size_t k = 0; k < first.widths.size(); ++k) EXPECT_NEAR(stored.widths[k], first.widths[k], 2) << k;
}

// Rows read by a running import show in the list at every event pump, not
// only once the import ends.
TEST(MainWindowImportTest, RowsShowInTheListWhileTheImportRuns) {
  testing::QtTestApp();
  class PumpWatcher : public MainWindow {
   public:
    void PumpEvents() override {
      MainWindow::PumpEvents();
      shown.push_back(FilesPage()->View()->model()->rowCount());
    }
    std::vector<int> shown;
  };
  QTemporaryDir folder;
  for (int i = 0; i < 25; ++i) {
    QFile::copy(TONVAULT_TEST_DATA "/cbr-32k-32000-mono.mp3", folder.filePath(QString("song%1.mp3").arg(i, 2, 10, QChar('0'))));
  }
  PumpWatcher window;
  window.show();
  QApplication::processEvents();
  catalogue::ImportDropped(window.App(), {folder.path().toStdString()});
  ASSERT_EQ(window.App().files.size(), 25u);
  EXPECT_NE(std::find(window.shown.begin(), window.shown.end(), 10), window.shown.end());
  EXPECT_NE(std::find(window.shown.begin(), window.shown.end(), 20), window.shown.end());
  EXPECT_EQ(window.FilesPage()->View()->model()->rowCount(), 25);
}

// Without a settings file the window opens at the default size, centred on
// the screen (no larger than the screen's free area).
TEST(MainWindowSettingsTest, AFirstStartOpensAtTheDefaultSizeInTheMiddle) {
  testing::QtTestApp();
  QTemporaryDir folder;
  MainWindow::StartOptions options;
  options.settingsPath = (folder.path() + "/Tonvault.ini").toStdString();
  MainWindow window(options);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(window.size(), QSize(std::min(872, area.width()), std::min(758, area.height())));
  EXPECT_LE((window.geometry().center() - area.center()).manhattanLength(), 2);
}

TEST_F(MainWindowTest, SeparatorDraggedToTheTopGoesBackToTheThirdRow) {
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Settings));
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  PrintOrderList* list = settings->FilesOrder();
  ASSERT_EQ(list->count(), 17);
  QListWidgetItem* separator = list->takeItem(16);
  list->insertItem(0, separator);
  list->TakeOrder();
  EXPECT_EQ(list->item(2)->text(), " ------ Separator ------");
  EXPECT_EQ(window->App().options.print.filesOrder[2].column, -1);
}

// Visits every page and saves a picture of each for a person to look at.
TEST_F(MainWindowTest, EveryPageRendersAndIsSavedAsAScreenshot) {
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->resize(1100, 680);
  SelectASampleFile();
  for (int i = 0; i < catalogue::kPageCount; ++i) {
    const auto page = static_cast<Page>(i);
    catalogue::ChangePage(window->App(), page);
    QApplication::processEvents();
    EXPECT_TRUE(window->PageWidget(page)->isVisible()) << i;
    const QPixmap shot = window->grab();
    ASSERT_FALSE(shot.isNull());
    const QString name = QString(TONVAULT_SCREENSHOT_DIR "/page-%1.png").arg(i, 2, 10, QChar('0'));
    EXPECT_TRUE(shot.save(name)) << name.toStdString();
  }
}

// A window given a settings file starts from it and writes it back when it
// closes, so an option set in one run is there in the next.
TEST(MainWindowSettingsTest, OptionsSurviveARestart) {
  testing::QtTestApp();
  QTemporaryDir folder;
  const std::string path = (folder.path() + "/tonvault/Tonvault.ini").toStdString();
  QDir().mkpath(folder.path() + "/tonvault");
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Search]\nCase=1\n[Window]\nWidth=900\nHeight=640\n[Path]\nLast1=/m/first.tvd\n");
  file.close();

  MainWindow::StartOptions options;
  options.settingsPath = path;
  auto first = std::make_unique<MainWindow>(options);
  EXPECT_TRUE(first->App().options.search.matchCase);
  EXPECT_EQ(first->width(), 900);
  EXPECT_EQ(first->App().recentDatabases.Entries(), std::vector<std::string>{"/m/first.tvd"});
  auto* search = static_cast<SearchPage*>(first->PageWidget(Page::Search));
  for (QCheckBox* box : search->findChildren<QCheckBox*>()) {
    if (box->text() == "Match case") {
      EXPECT_TRUE(box->isChecked());
      box->setChecked(false);
    }
  }
  first->show();
  first->resize(1000, 700);
  QHeaderView* header = static_cast<TrackListPage*>(first->PageWidget(Page::Files))->View()->horizontalHeader();
  header->moveSection(2, 1);  // Artist dragged before Album
  header->moveSection(0, 3);  // the icon column springs back to the front
  EXPECT_EQ(header->logicalIndex(0), 0);
  header->resizeSection(2, 133);
  QApplication::processEvents();
  ASSERT_TRUE(first->close());
  first.reset();

  MainWindow second(options);
  EXPECT_FALSE(second.App().options.search.matchCase);
  EXPECT_EQ(second.width(), 1000);
  EXPECT_EQ(second.App().recentDatabases.Entries(), std::vector<std::string>{"/m/first.tvd"});
  auto* files = static_cast<TrackListPage*>(second.PageWidget(Page::Files));
  EXPECT_EQ(files->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Artist");
  EXPECT_EQ(files->View()->horizontalHeader()->sectionSize(1), 133);
  EXPECT_EQ(second.App().columnMap.SlotOf(catalogue::Column::Artist), 0);
  EXPECT_EQ(second.App().columnMap.SlotOf(catalogue::Column::Album), 1);
}

TEST(MainWindowSettingsTest, DraggedColumnOrderSurvivesAShownRestart) {
  testing::QtTestApp();
  QTemporaryDir folder;
  const MainWindow::StartOptions options = WithSettingsFile(folder, "[Window]\nWidth=1000\nHeight=700\n");
  {
    MainWindow first(options);
    first.show();
    QApplication::processEvents();
    QHeaderView* header = static_cast<TrackListPage*>(first.PageWidget(Page::Files))->View()->horizontalHeader();
    header->moveSection(3, 1);  // Title dragged before Album
    header->resizeSection(3, 177);
    ASSERT_TRUE(first.close());
  }
  for (int run = 0; run < 2; ++run) {
    MainWindow next(options);
    next.show();
    QApplication::processEvents();
    auto* files = static_cast<TrackListPage*>(next.PageWidget(Page::Files));
    EXPECT_EQ(next.App().columnMap.SlotOf(catalogue::Column::Title), 0) << "run " << run;
    EXPECT_EQ(next.App().columnMap.SlotOf(catalogue::Column::Album), 1) << "run " << run;
    EXPECT_EQ(files->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Title") << "run " << run;
    EXPECT_EQ(files->View()->horizontalHeader()->sectionSize(1), 177) << "the width stays with its column";
    ASSERT_TRUE(next.close());
  }
}

TEST_F(MainWindowTest, FileTypesGroupSaysItAlsoServesQuickCopy) {
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  QStringList titles;
  for (QGroupBox* group : settings->Options()->findChildren<QGroupBox*>()) titles << group->title();
  EXPECT_TRUE(titles.contains(" File types  (also for Quick Copy) ")) << titles.join("|").toStdString();
}

TEST_F(MainWindowTest, SettingsControlsWriteTheOptionsAndLockTheVbrBoxes) {
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  OptionsPanel* options = settings->Options();
  options->ScanForVbrBox()->setChecked(false);
  EXPECT_FALSE(window->App().options.mp3.scanForVbr);
  EXPECT_FALSE(window->App().options.mp3.readVbrHeader);
  EXPECT_FALSE(options->FullScanBox()->isEnabled());
  EXPECT_FALSE(options->ReadVbrHeaderBox()->isEnabled());
  options->ScanForVbrBox()->setChecked(true);
  EXPECT_TRUE(options->FullScanBox()->isEnabled());
  EXPECT_FALSE(window->App().options.mp3.fullScan) << "switched back on, the boxes stay unticked";

  options->ListFontSizeSpin()->setValue(11);
  EXPECT_EQ(window->App().options.window.listFontSize, 11);
  auto* files = static_cast<TrackListPage*>(window->PageWidget(Page::Files));
  EXPECT_EQ(files->View()->font().pointSize(), 11);

  QLineEdit* substitute = settings->TagOptions()->SubstituteEdit();
  substitute->setText("*");
  EXPECT_EQ(substitute->text(), "_");
  EXPECT_EQ(window->App().options.rename.substitute, "_");
  substitute->setText("+");
  EXPECT_EQ(window->App().options.rename.substitute, "+");
  substitute->clear();
  EXPECT_EQ(window->App().options.rename.substitute, "_");

  QCheckBox* njbOff = nullptr;
  for (QCheckBox* box : options->findChildren<QCheckBox*>()) {
    if (box->text() == "Switch off NJB support") njbOff = box;
  }
  ASSERT_NE(njbOff, nullptr);
  njbOff->setChecked(true);
  EXPECT_TRUE(window->App().options.njbSupportOff);
  for (Page page : {Page::Synchronize, Page::Playlists, Page::QuickCopy, Page::Player}) {
    EXPECT_FALSE(window->Tabs()->isTabVisible(static_cast<int>(page)));
  }
  EXPECT_TRUE(window->Tabs()->isTabVisible(static_cast<int>(Page::Statistics)));
  EXPECT_FALSE(window->Action(CommandId::CopyToNjb)->isVisible());
  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Settings));
  QApplication::processEvents();
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/settings-njb-off.png");
  njbOff->setChecked(false);
  EXPECT_TRUE(window->Tabs()->isTabVisible(static_cast<int>(Page::Player)));
  EXPECT_TRUE(window->Action(CommandId::CopyToNjb)->isVisible());

  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/settings.png");
  options->grab().save(TONVAULT_SCREENSHOT_DIR "/settings-options.png");
}

// The "Keep original file date" boxes of the tag editor and of the repair
// each have a twin on another page; checking either checks both.
TEST_F(MainWindowTest, KeepDateTwinsMirrorEachOtherAndAutoFixFollowsItsCheck) {
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  TagOptionsPanel* tags = settings->TagOptions();
  catalogue::Options& options = window->App().options;
  QCheckBox editorTwin("Keep original file date  (ID3 V1 and V2)");
  QCheckBox repairTwin("Keep original file date");
  settings->Controls().Bind(&editorTwin, options.id3.keepOriginalFileDate);
  settings->Controls().Bind(&repairTwin, options.analyze.keepOriginalFileDate);

  editorTwin.setChecked(true);
  EXPECT_TRUE(tags->EditorKeepDateBox()->isChecked());
  EXPECT_TRUE(options.id3.keepOriginalFileDate);
  EXPECT_FALSE(tags->RepairKeepDateBox()->isChecked()) << "the two pairs are independent";
  tags->EditorKeepDateBox()->setChecked(false);
  EXPECT_FALSE(editorTwin.isChecked());
  tags->RepairKeepDateBox()->setChecked(true);
  EXPECT_TRUE(repairTwin.isChecked());
  EXPECT_TRUE(options.analyze.keepOriginalFileDate);

  QCheckBox* begin = nullptr;
  QCheckBox* beginFix = nullptr;
  for (QCheckBox* box : tags->findChildren<QCheckBox*>()) {
    if (box->text() == "Space at beginning") begin = box;
    if (box->text() == "Auto fix on check" && beginFix == nullptr) beginFix = box;
  }
  ASSERT_TRUE(begin && beginFix);
  EXPECT_TRUE(beginFix->isEnabled());
  begin->setChecked(false);
  EXPECT_FALSE(beginFix->isEnabled());
  EXPECT_FALSE(options.analyze.beginSpace);
}

// The code page of old tags is chosen on the settings sheet and is in force
// for the next import at once; its hint says the files stay as they are.
TEST_F(MainWindowTest, TheCodePageChoiceReadsTheNextImportInIt) {
  testing::CodePageScope restore(audio::CodePage::Windows1252);
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  const QList<QComboBox*> boxes = settings->TagOptions()->findChildren<QComboBox*>();
  ASSERT_EQ(boxes.size(), 1);
  QComboBox* choice = boxes.first();
  EXPECT_EQ(choice->count(), 11);
  EXPECT_EQ(choice->currentText(), "Windows-1252");
  EXPECT_TRUE(choice->toolTip().contains("not the files")) << choice->toolTip().toStdString();

  QTemporaryDir folder;
  const QString path = folder.filePath("kino.mp3");
  ASSERT_TRUE(QFile::copy(TONVAULT_TEST_DATA "/cbr-32k-32000-mono.mp3", path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::Append));
  QByteArray tag(128, '\0');
  tag.replace(0, 3, "TAG");
  tag.replace(3, 4, "\xCA\xE8\xED\xEE");
  tag[127] = '\xFF';
  file.write(tag);
  file.close();

  choice->setCurrentText("Windows-1251");
  EXPECT_EQ(window->App().options.id3.codePage, "Windows-1251");
  window->App().files.clear();
  catalogue::ImportDropped(window->App(), {path.toStdString()});
  ASSERT_EQ(window->App().files.size(), 1u);
  EXPECT_EQ(window->App().columnMap.Get(window->App().files[0], catalogue::Column::Title), "Кино");
}

TEST_F(MainWindowTest, RenameItemsAreDraggedAndTheSeparatorKeepsAnItemAboveIt) {
  auto* settings = static_cast<SettingsPage*>(window->PageWidget(Page::Settings));
  ItemOrderList* list = settings->TagOptions()->RenameOrder();
  ASSERT_EQ(list->count(), 8);
  QListWidgetItem* year = list->takeItem(5);
  list->insertItem(0, year);
  list->TakeOrder();
  EXPECT_EQ(window->App().options.rename.order[0], " Year ");
  EXPECT_EQ(window->App().options.rename.order[4], catalogue::kItemSeparator);
  QListWidgetItem* separator = list->takeItem(4);
  list->insertItem(0, separator);
  list->TakeOrder();
  EXPECT_EQ(list->item(0)->text(), " Year ");
  EXPECT_EQ(list->item(1)->text(), catalogue::kItemSeparator);
  EXPECT_EQ(window->App().options.rename.order[1], catalogue::kItemSeparator);

  window->Tabs()->setCurrentIndex(static_cast<int>(Page::Settings));
  auto* sheets = settings->findChild<QTabWidget*>();
  ASSERT_NE(sheets, nullptr);
  sheets->setCurrentIndex(1);
  QApplication::processEvents();
  QDir().mkpath(TONVAULT_SCREENSHOT_DIR);
  window->grab().save(TONVAULT_SCREENSHOT_DIR "/settings-tags.png");
}

// "&Defaults" after a Yes: the program closes and the settings it writes hold
// the default window size and column layout, not what was on screen.
TEST(MainWindowSettingsTest, DefaultsAreWhatTheClosingWrites) {
  testing::QtTestApp();
  QTemporaryDir folder;
  const MainWindow::StartOptions options =
      WithSettingsFile(folder, "[Window]\nWidth=1000\nHeight=700\nListFontSize=12\n[ColumnsOrder]\n"
                               "ColumnTitle1=\"Artist\"\nColumnTitle2=\"Album\"\n[Search]\nCase=1\n");
  MainWindow window(options);
  window.show();
  QApplication::processEvents();
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->defaultButton()->click();
  });
  answer.start(20);
  static_cast<SettingsPage*>(window.PageWidget(Page::Settings))->DefaultsClick();
  answer.stop();
  EXPECT_FALSE(window.isVisible()) << "the program closes after Defaults";

  MainWindow next(options);
  EXPECT_EQ(next.width(), 872);
  EXPECT_NEAR(next.App().options.quick.leftPanelWidth, 872 / 2, 8) << "half the page";
  EXPECT_EQ(next.height(), 758);
  EXPECT_EQ(next.App().options.window.listFontSize, 8);
  EXPECT_TRUE(next.App().columnMap.IsIdentity());
  EXPECT_TRUE(next.App().options.search.matchCase);
}

}  // namespace
}  // namespace tonvault::ui
