#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <csignal>

#include "QtTestApp.h"
#include "catalogue/ColumnMap.h"
#include "ui/AboutBox.h"
#include "ui/DragScroll.h"
#include "ui/HistogramWidget.h"
#include "ui/QtDialogs.h"
#include "ui/StatusBar.h"
#include "ui/StatusIcons.h"
#include "ui/TerminationSignals.h"
#include "ui/TrackListModel.h"

namespace tonvault::ui {
namespace {

class WidgetsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::QtTestApp(); }
};

TEST_F(WidgetsTest, ProgressBarSitsRightOfTheFirstTwoPanels) {
  EXPECT_EQ(ProgressBarGeometry(800, 24, 100, 100), QRect(204, 4, 584, 18));
  EXPECT_EQ(ProgressBarGeometry(150, 24, 100, 100), QRect(204, 4, 0, 18)) << "never a negative width";
  StatusBar bar;
  bar.resize(640, 26);
  bar.show();
  EXPECT_EQ(bar.Progress()->geometry(), QRect(204, 4, 424, 20));
  EXPECT_EQ(bar.Progress()->Maximum(), 300);
}

// Panel 0 keeps its 100 pixels for the counts, widens for a message that
// needs more (the progress bar moves right), and where even that is not
// enough shows the message elided with the whole text as its tooltip.
TEST_F(WidgetsTest, AStatusMessageIsShownWholeOrElidedWithATooltip) {
  EXPECT_EQ(MessagePanelWidth(60, 800, 80), 100);
  EXPECT_EQ(MessagePanelWidth(300, 800, 80), 300);
  EXPECT_EQ(MessagePanelWidth(700, 800, 80), 620) << "panel 1 and the progress bar keep their room";
  EXPECT_EQ(MessagePanelWidth(700, 150, 80), 100) << "never below its own width";

  const QString message = "Priority not changed: the system refused it.";
  StatusBar bar;
  bar.resize(800, 26);
  bar.show();
  bar.SetPanelText(0, "Files: 3");
  EXPECT_EQ(bar.Panel(0)->width(), 100);
  bar.SetPanelText(0, message);
  QLabel* panel = bar.Panel(0);
  EXPECT_EQ(panel->text(), message);
  EXPECT_GE(panel->width(), panel->sizeHint().width());
  EXPECT_TRUE(panel->toolTip().isEmpty());
  EXPECT_EQ(bar.Panel(1)->x(), panel->width());
  EXPECT_EQ(bar.Progress()->x(), panel->width() + 100 + 4);

  bar.resize(300, 26);
  EXPECT_EQ(bar.PanelText(0), message);
  EXPECT_NE(panel->text(), message);
  EXPECT_TRUE(panel->text().endsWith(QChar(0x2026))) << panel->text().toStdString();
  EXPECT_EQ(panel->toolTip(), message);
  EXPECT_LE(panel->sizeHint().width(), panel->width()) << "what is shown fits";
}

TEST_F(WidgetsTest, MessageTextsShowTheirLineBreaks) {
  EXPECT_EQ(DisplayText("Content of list not saved !\n\r\rSave list ?").toStdString(), "Content of list not saved !\n\nSave list ?");
  EXPECT_EQ(DisplayText("a\n\rb").toStdString(), "a\nb");
}

TEST_F(WidgetsTest, FileFiltersMatchBothLetterCases) {
  EXPECT_EQ(NameFilter("Tonvault Database   (*.TVD)|*.TVD").toStdString(), "Tonvault Database (*.TVD *.tvd)");
  EXPECT_EQ(NameFilter("Tonvault Database (*.TVD)|*.TVD").toStdString(), "Tonvault Database (*.TVD *.tvd)");
  EXPECT_EQ(NameFilter("Playlist|*.tvp").toStdString(), "Playlist (*.tvp)");
}

TEST_F(WidgetsTest, ModelShowsSlotsUnderTheirHeadingsWithIconFirst) {
  catalogue::ColumnMap map;
  map.RebuildFromHeadings({"Title", "Album", "Artist", "Genre", "Track", "Year", "Comment", "Size [kB]", "Bitrate",
                           "Freq.", "Mode", "Length", "Codec", "Filename", "Path", "Label"});
  std::vector<catalogue::TrackRecord> rows(1);
  rows[0].icon = catalogue::StatusIcon::Corrupt;
  map.Set(rows[0], catalogue::Column::Title, "Waterloo");
  map.Set(rows[0], catalogue::Column::Genre, "Pop");
  TrackListModel model(rows, map);
  EXPECT_EQ(model.columnCount(), 17);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Title");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Album");
  EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "Waterloo");
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
  const auto alignment = model.data(model.index(0, 4), Qt::TextAlignmentRole).value<Qt::Alignment>();
  EXPECT_TRUE(alignment & Qt::AlignHCenter) << "Genre is centred";
}

TEST_F(WidgetsTest, EveryStatusCodeHasAPictureAndUnknownCodesNone) {
  for (int code : {7, 8, 9, 10, 12, 20, 21, 29, 30, 37, 38}) EXPECT_FALSE(StatusIconFor(code).isNull()) << code;
  EXPECT_TRUE(StatusIconFor(-1).isNull());
  EXPECT_TRUE(StatusIconFor(99).isNull());
}

TEST_F(WidgetsTest, AboutBoxShowsTitleAndVersion) {
  AboutBox box;
  EXPECT_EQ(box.windowTitle(), " Info");
  EXPECT_EQ(box.TitlePanelText(), "Tonvault   1.00");
  EXPECT_EQ(box.PlayerLibraryButton()->text(), "About  JBDirect");
}

// Sends a mouse event with the left button held to the content of `area`,
// at `at` in the area's viewport, which stays put while the content moves.
void Mouse(QScrollArea& area, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* content = area.widget();
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const QPointF local(content->mapFrom(area.viewport(), at));
  QMouseEvent event(type, local, QPointF(area.viewport()->mapToGlobal(at)), button, Qt::LeftButton, modifiers);
  QApplication::sendEvent(content, &event);
}

TEST_F(WidgetsTest, DraggingTheBackgroundScrollsTheBoxAndControlsStillWork) {
  QScrollArea area;
  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  auto* box = new QCheckBox("a box", content);
  column->addWidget(box);
  column->addSpacing(1000);
  area.setWidget(content);
  area.resize(200, 150);
  DragScroll::Install(&area);
  area.show();
  QApplication::processEvents();
  QScrollBar* bar = area.verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());

  Mouse(area, QEvent::MouseButtonPress, {100, 120});
  Mouse(area, QEvent::MouseMove, {100, 70});
  EXPECT_EQ(bar->value(), 50) << "the content follows the mouse up";
  Mouse(area, QEvent::MouseMove, {100, 90});
  EXPECT_EQ(bar->value(), 30);
  Mouse(area, QEvent::MouseButtonRelease, {100, 90});
  Mouse(area, QEvent::MouseMove, {100, 10});
  EXPECT_EQ(bar->value(), 30) << "released: moving no longer scrolls";

  Mouse(area, QEvent::MouseButtonPress, {100, 120}, Qt::ShiftModifier);
  Mouse(area, QEvent::MouseMove, {100, 60});
  EXPECT_EQ(bar->value(), 30) << "a press with a modifier does not grab";
  Mouse(area, QEvent::MouseButtonRelease, {100, 60});

  bar->setValue(0);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(box->isChecked()) << "a click on a control is the control's";
}

TEST_F(WidgetsTest, TerminationSignalsArriveOnTheEventLoop) {
  int calls = 0;
  {
    TerminationSignals signalsSeen([&calls] { ++calls; });
    std::raise(SIGTERM);
    EXPECT_EQ(calls, 0) << "nothing may run inside the signal handler";
    QElapsedTimer waited;
    waited.start();
    while (calls == 0 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(calls, 1);
    std::raise(SIGHUP);
    waited.restart();
    while (calls == 1 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(calls, 2);
  }
}

TEST_F(WidgetsTest, SaveDialogAsksBeforeReplacingAnExistingCatalogue) {
  QTemporaryDir folder;
  QFile existing(folder.path() + "/music.tvd");
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  const catalogue::FileDialogRequest request{" Save Tonvault Database", folder.path().toStdString() + "/", "music.tvd",
                                             "TVD", "Tonvault Database (*.TVD)|*.TVD"};
  QStringList questions;
  QString title;
  int rounds = 0;
  QTimer user;  // accepts the proposed name, answers No to the first question and Yes to the second
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      questions << box->text();
      QAbstractButton* answer = box->button(questions.size() == 1 ? QMessageBox::No : QMessageBox::Yes);
      if (answer != nullptr) answer->click();
      else box->reject();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      title = dialog->windowTitle();
      if (++rounds > 20) return dialog->reject();  // never hang the suite
      // Queued: the question it asks runs its own event loop, in which this
      // timer must fire again.
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }
  });
  user.start(30);
  const auto chosen = ShowSaveDialog(nullptr, request);
  user.stop();
  EXPECT_EQ(title, " Save Tonvault Database");
  ASSERT_EQ(questions.size(), 2) << "No keeps the dialog open, so it asks again";
  EXPECT_TRUE(questions[0].contains("music.tvd")) << questions[0].toStdString();
  EXPECT_TRUE(questions[0].contains("replace")) << questions[0].toStdString();
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, folder.path().toStdString() + "/music.tvd");
}

TEST_F(WidgetsTest, HistogramShowsAllSixGridLinesAndTheFullBar) {
  catalogue::StatisticsData statistics;
  statistics.histogram[25] = 6;  // counter 26 (128 kbit/s) at the largest count: step 1, six lines high
  statistics.largestCount = 6;
  HistogramWidget histogram(statistics);
  histogram.resize(histogram.sizeHint());
  EXPECT_GE(histogram.minimumSizeHint().height(), 40 + 6 * 50) << "origin 40 from the bottom, six lines 50 apart";
  const QImage image = histogram.grab().toImage();
  const int originY = image.height() - 40;
  const int x = 5 * 26 + 36 + 1;
  const int topOfBar = originY - 6 * 50;
  ASSERT_GE(topOfBar, 8) << "room for the top line's label";
  EXPECT_EQ(image.pixelColor(x, topOfBar), HistogramWidget::BarColour(26));
  EXPECT_EQ(image.pixelColor(x, originY - 1), HistogramWidget::BarColour(26));
  EXPECT_NE(image.pixelColor(x, topOfBar - 1), HistogramWidget::BarColour(26)) << "exactly 300 pixels high";
}

}  // namespace
}  // namespace tonvault::ui
