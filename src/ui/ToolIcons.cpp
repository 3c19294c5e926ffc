#include "ui/ToolIcons.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace tonvault::ui {

namespace {

QIcon Standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

// A badge with a short symbol, for commands without a standard picture.
QIcon Badge(const QString& symbol, QColor colour) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(colour.darker(150));
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 5, 5);
  QFont font = painter.font();
  font.setPixelSize(symbol.size() > 2 ? 8 : 11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, symbol);
  return QIcon(pixmap);
}

const QColor kFileColour(52, 101, 164);
const QColor kEditColour(78, 154, 6);
const QColor kPlayerColour(206, 92, 0);
const QColor kTagColour(117, 80, 123);

}  // namespace

QIcon ToolIconFor(CommandId id) {
  switch (id) {
    case CommandId::OpenDatabase: return Standard(QStyle::SP_DialogOpenButton);
    case CommandId::SaveDatabase: return Standard(QStyle::SP_DialogSaveButton);
    case CommandId::SaveDatabaseAs: return Badge("as", kFileColour);
    case CommandId::Import: return Standard(QStyle::SP_DirOpenIcon);
    case CommandId::ImportWithSubfolders: return Badge("+/", kFileColour);
    case CommandId::ReadNjb: return Badge("R", kPlayerColour);
    case CommandId::CopyLinesToResults: return Badge("=>R", kEditColour);
    case CommandId::DeleteLines: return Badge("-", kEditColour);
    case CommandId::PlayFiles: return Standard(QStyle::SP_MediaPlay);
    case CommandId::CopyFilesToFolder: return Badge("C", kEditColour);
    case CommandId::CopyFilesToFolderWithSubfolder: return Badge("C/", kEditColour);
    case CommandId::MoveFilesToFolder: return Badge("M", kEditColour);
    case CommandId::MoveFilesToFolderWithSubfolder: return Badge("M/", kEditColour);
    case CommandId::DeleteFilesFromDisk: return Standard(QStyle::SP_TrashIcon);
    case CommandId::AnalyzeAllMp3: return Badge("MP3", kEditColour);
    case CommandId::DeleteOnNjb: return Badge("D", kPlayerColour);
    case CommandId::CopyToNjb: return Badge("=>J", kPlayerColour);
    case CommandId::CopyFromNjb: return Badge("J=>", kPlayerColour);
    case CommandId::AddToPlaylist: return Badge("+PL", kPlayerColour);
    case CommandId::NomadInternalMemory: return Badge("Int", kPlayerColour);
    case CommandId::NomadExternalMemory: return Badge("Ext", kPlayerColour);
    case CommandId::StopNjbNow: return Badge("Stp", kPlayerColour);
    case CommandId::SwitchOffNjb: return Badge("Off", kPlayerColour);
    case CommandId::SaveAsTxt: return Badge("TXT", kFileColour);
    case CommandId::SaveAsHtml: return Badge("HTM", kFileColour);
    case CommandId::RenameOne: return Badge("Rn1", kTagColour);
    case CommandId::RenameAll: return Badge("RnA", kTagColour);
    case CommandId::ExtractOne: return Badge("Ex1", kTagColour);
    case CommandId::ExtractAll: return Badge("ExA", kTagColour);
    case CommandId::JoinTitleArtist: return Badge("T+A", kTagColour);
    case CommandId::SplitTitle: return Badge("T/A", kTagColour);
    case CommandId::TagsToRam: return Badge("=>M", kTagColour);
    case CommandId::RamToTags: return Badge("M=>", kTagColour);
    default: return {};
  }
}

}  // namespace tonvault::ui
