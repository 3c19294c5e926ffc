// Tonvault: the window program.
#include <QApplication>
#include <QPalette>
#include <QToolTip>
#include <string>
#include <vector>

#include "catalogue/Platform.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/StatusTexts.h"
#include "catalogue/Version.h"
#include "ui/Artwork.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"
#include "ui/TerminationSignals.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setWindowIcon(tonvault::ui::ProgramIcon());
  auto* splash = new tonvault::ui::SplashWindow;
  splash->ShowNow();

  // Hints appear on a lime-green ground, as users of the program know them.
  QPalette hints = QToolTip::palette();
  hints.setColor(QPalette::ToolTipBase, QColor(50, 205, 50));
  hints.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(hints);

  QApplication::setApplicationName(tonvault::catalogue::kProgramTitle);
  QApplication::setApplicationVersion(QString::fromStdString(tonvault::catalogue::ProgramVersionText()));

  tonvault::ui::MainWindow::StartOptions options;
  for (const QString& argument : QApplication::arguments().mid(1)) options.arguments.push_back(argument.toStdString());
  options.splash = splash;
  options.settingsPath = tonvault::catalogue::SettingsFilePath(tonvault::catalogue::ProgramFolder());

  tonvault::ui::MainWindow window(std::move(options));
  tonvault::ui::TerminationSignals endRequests([&window] { window.EndWithoutAsking(); });
  if (window.App().options.window.maximized) {
    window.showMaximized();
  } else {
    window.show();
  }
  return QApplication::exec();
}
