// Tonvault: the window program.
#include <QApplication>
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

  QApplication::setApplicationName(tonvault::catalogue::kProgramTitle);
  QApplication::setApplicationVersion(QString::fromStdString(tonvault::catalogue::ProgramVersionText()));

  tonvault::ui::MainWindow::StartOptions options;
  for (const QString& argument : QApplication::arguments().mid(1)) options.arguments.push_back(argument.toStdString());
  options.splash = splash;

  tonvault::ui::MainWindow window(std::move(options));
  window.show();
  return QApplication::exec();
}
