// Every tab, control and text of the window is reachable and readable at
// the default window size and at larger ones: a control is drawn at least
// as large as its text needs, and it lies inside the window or inside a
// scroll area that does.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "QtTestApp.h"
#include "catalogue/Import.h"
#include "catalogue/PageChange.h"
#include "ui/MainWindow.h"

namespace tonvault::ui {
namespace {

using catalogue::Page;

// Room a control needs around its text: frame and inner margins.
constexpr int kEditMargins = 10;
constexpr int kGroupTitleMargins = 16;
constexpr int kItemMargins = 8;

QString Describe(const QWidget* widget, const QString& text) {
  return QString("%1 \"%2\" (%3 x %4)")
      .arg(widget->metaObject()->className(), text)
      .arg(widget->width())
      .arg(widget->height());
}

// What of `widget` would not be readable: empty when its text fits.
QStringList Unreadable(const QWidget* widget) {
  QStringList faults;
  const QFontMetrics metrics = widget->fontMetrics();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    if (!button->text().isEmpty() && button->width() < button->sizeHint().width()) {
      faults << Describe(widget, button->text()) + " is narrower than its text";
    }
  } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->text().isEmpty()) return faults;
    if (label->wordWrap()) {
      if (label->heightForWidth(label->width()) > label->height()) {
        faults << Describe(widget, label->text()) + " is too low for its wrapped text";
      }
    } else if (label->width() < label->sizeHint().width() || label->height() < metrics.height()) {
      faults << Describe(widget, label->text()) + " is smaller than its text";
    }
  } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
    if (metrics.horizontalAdvance(edit->text()) + kEditMargins > edit->width()) {
      faults << Describe(widget, edit->text()) + " cuts its text";
    }
  } else if (qobject_cast<const QSpinBox*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr) {
    if (widget->width() < widget->sizeHint().width()) faults << Describe(widget, "") + " is narrower than its values";
  } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
    if (metrics.horizontalAdvance(group->title()) + kGroupTitleMargins > group->width()) {
      faults << Describe(widget, group->title()) + " cuts its title";
    }
  } else if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
    for (int i = 0; i < list->count(); ++i) {
      if (metrics.horizontalAdvance(list->item(i)->text()) + kItemMargins > list->viewport()->width()) {
        faults << Describe(widget, list->item(i)->text()) + " cuts this row";
      }
    }
  } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
    for (int i = 0; i < tabs->count(); ++i) {
      if (!tabs->isTabVisible(i)) continue;
      const QRect tab = tabs->tabRect(i);
      if (!tabs->rect().contains(tab) || metrics.horizontalAdvance(tabs->tabText(i)) > tab.width()) {
        faults << Describe(widget, tabs->tabText(i)) + " does not show this tab whole";
      }
    }
  }
  return faults;
}

// Whether the user can get to `widget`: it lies inside the window, or
// inside the content of a scroll area whose view lies inside the window.
bool Reachable(const QWidget* widget, const QWidget* window) {
  const QWidget* holder = widget;
  for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window; up = up->parentWidget()) {
    if (qobject_cast<const QAbstractScrollArea*>(up) != nullptr) holder = up;
  }
  const QRect place(holder->mapTo(window, QPoint(0, 0)), holder->size());
  return window->rect().contains(place);
}

QStringList Faults(QWidget* page, const QWidget* window) {
  QStringList faults;
  const QList<QWidget*> children = page->findChildren<QWidget*>();
  for (QWidget* widget : children) {
    if (!widget->isVisibleTo(window) || !widget->isVisible()) continue;
    faults << Unreadable(widget);
    // A scroll box may scroll down, but hiding part of a page sideways is
    // how a control is missed.
    if (const auto* scroll = qobject_cast<const QScrollArea*>(widget); scroll && scroll->horizontalScrollBar()->maximum() > 0) {
      faults << Describe(widget, "") + " hides part of its content sideways";
    }
    if (!Reachable(widget, window)) faults << Describe(widget, "") + " lies outside the window";
  }
  return faults;
}

class LayoutTest : public ::testing::TestWithParam<QSize> {
 protected:
  void SetUp() override {
    testing::QtTestApp();
    window = std::make_unique<MainWindow>();
    window->resize(GetParam());
    window->show();
    QApplication::processEvents();
    // Rows in the lists and figures on the Statistics page, so that their
    // texts are measured too.
    std::vector<std::string> files;
    for (const char* name : {"id3lib-v23.mp3", "mutagen-v23-utf16.mp3", "eyed3-v24-utf8.mp3", "vbr-xing-32000-mono.mp3",
                             "cbr-32k-32000-mono.mp3", "stereo-64k-22050.wma", "stereo-44100-16bit.wav"}) {
      files.push_back(std::string(TONVAULT_TEST_DATA) + "/" + name);
    }
    window->App().options.import.wma = window->App().options.import.wav = true;
    catalogue::ImportDropped(window->App(), files);
    // A selected MP3 file, so that the editor page opens on it.
    for (catalogue::TrackRecord& row : window->App().files) {
      row.selected = window->App().columnMap.Get(row, catalogue::Column::Filename) == "id3lib-v23.mp3";
    }
    QApplication::processEvents();
    QDir().mkpath(TONVAULT_SCREENSHOT_DIR "/layout");
  }
  void Shoot(const QString& name) {
    window->grab().save(QString(TONVAULT_SCREENSHOT_DIR "/layout/%1x%2-%3.png")
                            .arg(GetParam().width())
                            .arg(GetParam().height())
                            .arg(name));
  }
  std::unique_ptr<MainWindow> window;
};

TEST_P(LayoutTest, EveryTabIsShownWhole) {
  EXPECT_EQ(window->size(), GetParam()) << "no page may make the window wider or higher";
  QTabBar* tabs = window->Tabs();
  ASSERT_EQ(tabs->count(), catalogue::kTabbedPageCount);
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
  }
  EXPECT_TRUE(Unreadable(tabs).isEmpty()) << Unreadable(tabs).join("\n").toStdString();
}

TEST_P(LayoutTest, EveryControlOfEveryPageFitsItsText) {
  for (int i = 0; i < catalogue::kPageCount; ++i) {
    const auto page = static_cast<Page>(i);
    catalogue::ChangePage(window->App(), page);
    QApplication::processEvents();
    ASSERT_EQ(window->size(), GetParam()) << "page " << i << " makes the window larger";
    QWidget* widget = window->PageWidget(page);
    // Pages with sheets are checked sheet by sheet.
    QList<QTabWidget*> sheets = widget->findChildren<QTabWidget*>();
    const int sheetCount = sheets.isEmpty() ? 1 : sheets.first()->count();
    for (int sheet = 0; sheet < sheetCount; ++sheet) {
      if (!sheets.isEmpty()) sheets.first()->setCurrentIndex(sheet);
      QApplication::processEvents();
      const QString name = QString("page-%1-%2").arg(i, 2, 10, QChar('0')).arg(sheet);
      Shoot(name);
      const QStringList faults = Faults(widget, window.get());
      EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << ":\n" << faults.join("\n").toStdString();
    }
  }
  // Menus and tool bar buttons: none folded away behind an extension arrow.
  for (int i = 0; i < catalogue::kPageCount; ++i) {
    catalogue::ChangePage(window->App(), static_cast<Page>(i));
    QApplication::processEvents();
    for (const char* name : {"qt_toolbar_ext_button", "qt_menubar_ext_button"}) {
      for (const QToolButton* more : window->findChildren<QToolButton*>(name)) {
        EXPECT_FALSE(more->isVisible()) << name << " on page " << i;
      }
    }
  }
  const QStringList status = Faults(window->statusBar(), window.get());
  EXPECT_TRUE(status.isEmpty()) << status.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, LayoutTest,
                         ::testing::Values(QSize(872, 758), QSize(1100, 680), QSize(1920, 1080)),
                         [](const ::testing::TestParamInfo<QSize>& size) {
                           return QString("%1x%2").arg(size.param.width()).arg(size.param.height()).toStdString();
                         });

}  // namespace
}  // namespace tonvault::ui
