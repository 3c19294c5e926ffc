#include "ui/pages/PlaceholderPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tonvault::ui {

using catalogue::Page;

QString PlaceholderPage::Purpose(Page page) {
  switch (page) {
    case Page::Albums: return "The catalogue grouped by album.";
    case Page::Artists: return "The catalogue grouped by artist.";
    case Page::Genres: return "The catalogue grouped by genre.";
    case Page::Search: return "Text search, duplicate search and difference search over the catalogue.";
    case Page::Synchronize: return "Comparison of the catalogue with the player's content.";
    case Page::Playlists: return "The player's playlists and playlist files.";
    case Page::Statistics: return "Counts, totals and the bitrate histogram of the catalogue.";
    case Page::Id3Editor: return "ID3v1 and ID3v2 tags of the selected files.";
    case Page::QuickCopy: return "Copying between a folder on the PC and the player.";
    case Page::Player: return "Remote control of the player's playback.";
    case Page::Settings: return "Options of every page.";
    case Page::Mp3: return "Frame-by-frame analysis and repair of one MP3 file.";
    default: return {};
  }
}

PlaceholderPage::PlaceholderPage(Page page, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QString::fromUtf8(catalogue::PageCaption(page).data()), this);
  QFont font = title->font();
  font.setPointSizeF(font.pointSizeF() * 1.6);
  font.setBold(true);
  title->setFont(font);
  auto* purpose = new QLabel(Purpose(page) + "\nThis page is not available in this version yet.", this);
  purpose->setWordWrap(true);
  for (QLabel* label : {title, purpose}) label->setAlignment(Qt::AlignCenter);
  layout->addStretch(1);
  layout->addWidget(title);
  layout->addWidget(purpose);
  layout->addStretch(2);
}

}  // namespace tonvault::ui
