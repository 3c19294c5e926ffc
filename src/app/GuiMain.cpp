// Tonvault: the window program.
#include <QApplication>
#include <QPalette>
#include <QToolTip>
#include <string>
#include <vector>

#include "catalogue/StatusTexts.h"
#include "catalogue/Version.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
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

  tonvault::ui::MainWindow window(std::move(options));
  window.show();
  return QApplication::exec();
}
