#include "catalogue/StatusTexts.h"

namespace tonvault::catalogue {

std::string WindowTitle(const std::string& databaseFileName, bool catalogueModified) {
  std::string title = kProgramTitle;
  if (databaseFileName.empty()) return title;
  title += "    -    " + databaseFileName;
  if (catalogueModified) title += "*";
  return title;
}

StatusPanels StatusTextsFor(Page page, std::size_t rows, std::size_t selected) {
  const std::string count = std::to_string(rows);
  const std::string selectedText = "Selected: " + std::to_string(selected);
  switch (page) {
    case Page::Files: return {"Files: " + count, selectedText};
    case Page::Results: return {"Results: " + count, selectedText};
    case Page::Albums: return {"Albums: " + count, selectedText};
    case Page::Artists: return {"Artists: " + count, selectedText};
    case Page::Genres: return {"Genres: " + count, selectedText};
    case Page::Synchronize: return {"Sync: " + count, selectedText};
    case Page::Playlists: return {"Playlists: " + count, ""};
    default: return {"", ""};
  }
}

std::string FilesSoFarText(std::size_t rows) { return "Files:  " + std::to_string(rows); }

}  // namespace tonvault::catalogue
