// Writes the program's window icon as the PNG files of the desktop's icon
// theme: OUTDIR/NxN/apps/tonvault.png for every size the icon is drawn in.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>

#include "ui/Artwork.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QIcon icon = tonvault::ui::ProgramIcon();
  for (const QSize& size : icon.availableSizes()) {
    const QString folder = QString("%1/%2x%3/apps").arg(root).arg(size.width()).arg(size.height());
    if (!QDir().mkpath(folder) || !icon.pixmap(size).save(folder + "/tonvault.png")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(folder + "/tonvault.png"));
      return 1;
    }
  }
  return 0;
}
