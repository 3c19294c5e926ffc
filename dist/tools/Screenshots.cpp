// Pictures of every page of the window for the manual and the README: the
// window is opened offscreen on a generated music library, every page (and
// every sheet of a page with sheets) is shown in turn and saved as
// OUTDIR/<page>[-<sheet>].png. Given the manual too, every picture of it
// marked data-shot="NAME" gets the new NAME.png embedded, so the manual
// stays one file without outside resources.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "catalogue/ColumnMap.h"
#include "catalogue/Import.h"
#include "catalogue/Page.h"
#include "catalogue/PageChange.h"
#include "support/LibrarySynth.h"
#include "ui/Artwork.h"
#include "ui/MainWindow.h"
#include "ui/pages/Mp3Page.h"
#include "ui/pages/PlaceholderPage.h"

namespace {

using tonvault::catalogue::Page;

// "ID3 - Editor" -> "id3-editor".
QString Slug(std::string_view caption) {
  QString slug = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())).toLower();
  slug.replace(QRegularExpression("[^a-z0-9]+"), "-");
  return slug;
}

// A question the import may ask (a damaged file) is answered with its
// default button, so no dialog waits for a hand that is not there.
void AnswerDialogs() {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (QAbstractButton* button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0)) button->click();
  });
  timer->start(50);
}

void Fill(tonvault::ui::MainWindow& window, const QString& folder) {
  tonvault::catalogue::Application& app = window.App();
  app.options.import.mp3 = app.options.import.mp2 = app.options.import.wma = app.options.import.wav = true;
  tonvault::catalogue::ImportDropped(app, tonvault::testing::MakeLibrary(folder.toStdString()));
  // The Quick Copy page shows the same library.
  app.uploadFolder = folder.toStdString() + "/";
  // One selected file, so that the tag editor opens on it, and a few rows
  // in Results, as a search would leave them.
  if (!app.files.empty()) app.files.front().selected = true;
  app.results.assign(app.files.begin(), app.files.begin() + std::min<std::ptrdiff_t>(6, std::ssize(app.files)));
  for (tonvault::catalogue::TrackRecord& row : app.results) row.selected = false;
  window.ListsChanged();
  QApplication::processEvents();
}

bool Save(QWidget* window, const QString& path) {
  QApplication::processEvents();
  // A palette of 256 colours keeps the pictures small: the manual carries them.
  const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  const bool saved = picture.save(path, "PNG", 0);
  if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return saved;
}

// The MP3 page is reached only by analysing a file: a variable-bitrate one
// shows the picture at its most telling.
void AnalyzeOneFile(tonvault::ui::MainWindow& window) {
  auto* page = qobject_cast<tonvault::ui::Mp3Page*>(window.PageWidget(Page::Mp3));
  std::vector<tonvault::catalogue::TrackRecord>& files = window.App().files;
  if (page == nullptr || files.empty()) return;
  std::vector<bool> selected;
  for (tonvault::catalogue::TrackRecord& row : files) selected.push_back(std::exchange(row.selected, false));
  const auto vbr = std::find_if(files.begin(), files.end(), [&window](const tonvault::catalogue::TrackRecord& row) {
    return tonvault::catalogue::FileOfRow(row, window.App().columnMap).find("vbr") != std::string::npos;
  });
  (vbr != files.end() ? *vbr : files.front()).selected = true;
  page->AnalyzeSelected(tonvault::catalogue::ListId::Files);
  for (std::size_t i = 0; i < files.size(); ++i) files[i].selected = selected[i];
}

// Every page the window can show, sheet by sheet; the names of the pictures.
QStringList ShootPages(tonvault::ui::MainWindow& window, const QString& outFolder) {
  QStringList names;
  for (int i = 0; i < tonvault::catalogue::kPageCount; ++i) {
    const auto page = static_cast<Page>(i);
    if (page == Page::Mp3) AnalyzeOneFile(window);
    tonvault::catalogue::ChangePage(window.App(), page);
    QApplication::processEvents();
    // A page refused (without a player, say) or not in this version yet.
    if (window.App().currentPage != page || qobject_cast<tonvault::ui::PlaceholderPage*>(window.PageWidget(page))) continue;
    const QList<QTabWidget*> sheets = window.PageWidget(page)->findChildren<QTabWidget*>();
    const int sheetCount = sheets.isEmpty() ? 1 : sheets.first()->count();
    for (int sheet = 0; sheet < sheetCount; ++sheet) {
      if (!sheets.isEmpty()) sheets.first()->setCurrentIndex(sheet);
      const QString name = Slug(tonvault::catalogue::PageCaption(page)) + (sheet > 0 ? QString("-%1").arg(sheet + 1) : "");
      if (Save(&window, outFolder + "/" + name + ".png")) names << name;
    }
  }
  return names;
}

// Puts the pictures into the manual as data: addresses.
bool EmbedInManual(const QString& manualPath, const QString& outFolder) {
  QFile file(manualPath);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QString html = QString::fromUtf8(file.readAll());
  file.close();
  static const QRegularExpression shot(R"re(<img data-shot="([a-z0-9-]+)" src="[^"]*")re");
  QString out;
  qsizetype last = 0;
  for (auto it = shot.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    QFile png(outFolder + "/" + match.captured(1) + ".png");
    out += html.mid(last, match.capturedStart() - last);
    if (png.open(QIODevice::ReadOnly)) {
      out += QString(R"(<img data-shot="%1" src="data:image/png;base64,%2")")
                 .arg(match.captured(1), QString::fromLatin1(png.readAll().toBase64()));
    } else {
      std::fprintf(stderr, "the manual shows %s, which no page gave\n", qPrintable(match.captured(1)));
      out += match.captured(0);
    }
    last = match.capturedEnd();
  }
  out += html.mid(last);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(out.toUtf8()) >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTDIR [MANUAL.html]\n", argv[0]);
    return 2;
  }
  QApplication::setWindowIcon(tonvault::ui::ProgramIcon());
  const QString outFolder = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir music(QDir::tempPath() + "/Music-XXXXXX");
  if (!music.isValid() || !QDir().mkpath(outFolder)) return 1;
  AnswerDialogs();
  tonvault::ui::MainWindow window;
  window.resize(960, 700);
  window.show();
  QApplication::processEvents();
  Fill(window, music.path());
  const QStringList names = ShootPages(window, outFolder);
  std::printf("%lld pictures in %s\n", static_cast<long long>(names.size()), qPrintable(outFolder));
  if (argc == 3 && !EmbedInManual(QString::fromLocal8Bit(argv[2]), outFolder)) {
    std::fprintf(stderr, "cannot update %s\n", argv[2]);
    return 1;
  }
  window.App().catalogueModified = false;
  return names.isEmpty() ? 1 : 0;
}
